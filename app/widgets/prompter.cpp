// Message boxes: the QMessageBox prompter, the scripted test prompter and the engine's handler.
#include "prompter.h"

#include "cp1252.h"
#include "trv600.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

namespace {

Prompter *g_installed = nullptr;

Prompter::Button closedAnswer(Prompter::Buttons buttons)
{
    if (buttons & Prompter::Cancel)
        return Prompter::Cancel;
    if (buttons & Prompter::No)
        return Prompter::No;
    return Prompter::Ok;
}

Prompter::Button defaultAnswer(Prompter::Buttons buttons)
{
    for (Prompter::Button b : {Prompter::Ok, Prompter::Yes, Prompter::Retry, Prompter::Cancel, Prompter::No,
                               Prompter::Abort, Prompter::Ignore})
        if (buttons & b)
            return b;
    return Prompter::Ok;
}

int engineBox(const char *text, const char *caption, int buttons)
{
    const QString cap = Cp1252::toUnicode(caption);
    const Prompter::Kind kind = cap == QLatin1String("Error")     ? Prompter::Error
                                : cap == QLatin1String("Warning") ? Prompter::Warning
                                                                  : Prompter::Information;
    if (buttons == TRV_MB_ABORTRETRYIGNORE) {
        switch (prompter().ask(Cp1252::toUnicode(text), cap, kind,
                               Prompter::Abort | Prompter::Retry | Prompter::Ignore)) {
        case Prompter::Abort: return TRV_IDABORT;
        case Prompter::Ignore: return TRV_IDIGNORE;
        default: return TRV_IDRETRY;
        }
    }
    prompter().ask(Cp1252::toUnicode(text), cap, kind, Prompter::Ok);
    return TRV_IDOK;
}

} // namespace

QString Prompter::captionOf(Kind kind)
{
    switch (kind) {
    case Warning: return QStringLiteral("Warning");
    case Error: return QStringLiteral("Error");
    case Confirmation: return QStringLiteral("Confirm");
    case Information: break;
    }
    return QStringLiteral("Information");
}

Prompter &prompter()
{
    static MessageBoxPrompter fallback;
    return g_installed ? *g_installed : fallback;
}

Prompter *setPrompter(Prompter *p)
{
    Prompter *old = g_installed;
    g_installed = p;
    return old;
}

// The document's messages are message boxes through prompter(), from the start of the run.
[[maybe_unused]] const bool g_noticesShown = [] {
    TNoticeHooks &hooks = NoticeHooks();
    hooks.Show = [](TNoticeHooks::Kind kind, const QString &text, int helpContext) {
        const Prompter::Kind box = kind == TNoticeHooks::Error     ? Prompter::Error
                                   : kind == TNoticeHooks::Warning ? Prompter::Warning
                                                                   : Prompter::Information;
        prompter().ask(text, QString(), box, Prompter::Ok | (helpContext ? Prompter::Help : 0), helpContext);
    };
    hooks.AskYesNo = [](const QString &text) {
        return askConfirmation(text, Prompter::Yes | Prompter::No) == Prompter::Yes;
    };
    hooks.Busy = [](bool busy) {
        // The hourglass shows only when a GUI application runs, as THourglass does.
        if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
            return;
        if (busy)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        else
            QGuiApplication::restoreOverrideCursor();
    };
    return true;
}();

Prompter::Button askConfirmation(const QString &text, Prompter::Buttons buttons, int helpContext)
{
    return prompter().ask(text, QString(), Prompter::Confirmation,
                          buttons | (helpContext ? Prompter::Help : 0), helpContext);
}

bool mayReplaceFile(const QString &fileName)
{
    return !QFileInfo::exists(fileName) ||
           askConfirmation(QDir::toNativeSeparators(fileName) +
                               QStringLiteral(" already exists.\nDo you want to replace it?"),
                           Prompter::Yes | Prompter::No) == Prompter::Yes;
}

void installEngineMessageHandler() { TRVSetMessageBoxHandler(&engineBox); }

Prompter::Button MessageBoxPrompter::ask(const QString &text, const QString &caption, Kind kind,
                                         Buttons buttons, int helpContext)
{
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return defaultAnswer(buttons); // no widgets without an application: never block

    static const struct {
        Button button;
        QMessageBox::StandardButton standard;
    } kMap[] = {{Ok, QMessageBox::Ok},         {Yes, QMessageBox::Yes},     {No, QMessageBox::No},
                {Cancel, QMessageBox::Cancel}, {Abort, QMessageBox::Abort}, {Retry, QMessageBox::Retry},
                {Ignore, QMessageBox::Ignore}};

    for (;;) {
        QMessageBox box(parent ? parent : QApplication::activeWindow());
        box.setTextFormat(Qt::PlainText); // file names and server replies may hold "<"
        box.setText(text);
        box.setWindowTitle(caption.isEmpty() ? captionOf(kind) : caption);
        box.setIcon(kind == Warning        ? QMessageBox::Warning
                    : kind == Error        ? QMessageBox::Critical
                    : kind == Confirmation ? QMessageBox::Question
                                           : QMessageBox::Information);
        for (const auto &m : kMap)
            if (buttons & m.button)
                box.addButton(m.standard);
        QAbstractButton *help = nullptr;
        if (buttons & Help)
            help = box.addButton(QMessageBox::Help);
        QApplication::setOverrideCursor(Qt::ArrowCursor);
        box.exec();
        QApplication::restoreOverrideCursor();
        QAbstractButton *clicked = box.clickedButton();
        if (help && clicked == help) {
            if (helpHandler)
                helpHandler(helpContext);
            continue; // the box comes back, as a help button does not answer it
        }
        for (const auto &m : kMap)
            if (clicked && box.standardButton(clicked) == m.standard)
                return m.button;
        return closedAnswer(buttons);
    }
}

ScriptedPrompter::ScriptedPrompter() : m_previous(setPrompter(this)) {}

ScriptedPrompter::~ScriptedPrompter() { setPrompter(m_previous); }

Prompter::Button ScriptedPrompter::ask(const QString &text, const QString &caption, Kind kind,
                                       Buttons buttons, int helpContext)
{
    Button answer = answers.isEmpty() ? defaultAnswer(buttons) : answers.takeFirst();
    boxes.append(
        Box{text, caption.isEmpty() ? captionOf(kind) : caption, kind, buttons, helpContext, answer});
    return answer;
}
