// The speed buttons' hints, the hosting advertisement label and posting a message to the site.
#include "globalsui.h"

#include "globals.h"
#include "httpclient.h"
#include "prompter.h"

#include <QGuiApplication>
#include <QLabel>
#include <QWidget>

void SetToolbarHints(QWidget *mainWindow)
{
    if (!mainWindow)
        return;
    static const struct {
        const char *button;
        const char *hint;
    } kHints[] = {
        {"StockPatternSpBtn", "Select a stock pattern|Display a selection of stock puzzle "
                              "patterns. Useful for symmetrical type puzzles only."},
        {"ConstructSpBtn", "Construct puzzle Now|Construct Now:  Red = Probably not ready;  "
                           "Yellow = Might work;  Green = Ready."},
        {"ExchangeAcrossDownSpBtn", "Exchange across and down.|Exchange across words with down "
                                    "words. Clues are rearranged accordingly."},
        {"EraseLettersAllSpBtn", "Erase letters. Keep pattern.|Erase all auto-filled letters "
                                 "from grid but keep the pattern of squares. Press twice to "
                                 "erase fixed letters too."},
        {"HelpSpBtn", "Help"},
        {"PatternEditSpBtn", "Edit pattern of black/white square on grid|Edit the grid. "
                             "Left-click to make squares black or white. Right-click to remove "
                             "or restore squares."},
        {"VPCursorLetterSpBtn", "Type fixed letters across or down|Type fixed letters on grid "
                                "(before or after construction). Press twice to change typing "
                                "direction."},
        {"EraseLettersSpBtn", "Erase letters from grid|Erase letters from grid after "
                              "construction. Then press \"Make Puzzle\" to replace them."},
        {"RejectWordSpBtn", "Erase word from grid|Erase word from grid. Click, move to "
                            "neighboring square, release. "},
        {"ZoomInSpBtn", "Zoom tool for zooming in or out| Click on zoom tool, then click "
                        "anywhere to zoom in to that point. (Right-click to zoom out.)"},
    };
    for (const auto &h : kHints) {
        QWidget *button = mainWindow->findChild<QWidget *>(QLatin1String(h.button));
        if (!button)
            continue;
        const QString hint = QString::fromLatin1(h.hint);
        const qsizetype bar = hint.indexOf('|');
        button->setToolTip(bar < 0 ? hint : hint.left(bar));
        button->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
    }
}

bool PostMessageToServer(const QStringList &fields, const QString &url, QWidget *modalTo,
                         const std::function<void(qint64 sent, qint64 received)> &progress)
{
    const bool cursor = qobject_cast<QGuiApplication *>(QCoreApplication::instance()) != nullptr;
    if (cursor)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    HttpClient &client = MainHttpClient();
    QByteArray reply;
    const bool posted = client.post(url, fields, &reply, modalTo, HttpClient::ScriptLimit, progress);
    if (cursor)
        QGuiApplication::restoreOverrideCursor();
    // The scripts answer a refused message with "Error=" and a 200 status.
    const QString scriptError = posted ? ReplyErrorText(reply) : QString();
    if (posted && scriptError.isEmpty()) {
        showInformation(QStringLiteral("Message sent successfully."));
        return true;
    }
    const QString text = posted ? scriptError : client.failureText();
    showInformation("The following error occurred when sending your message: " + ParagraphBreak + "\"" +
                    ShortenServerText(text) + "\"" + ParagraphBreak + ConnectionHelpText);
    return false;
}

void SetHostingAdText(QLabel *label)
{
    if (label)
        label->setText(HostingAdText());
}
