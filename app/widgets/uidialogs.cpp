// Qt's file and colour dialogs, modal forms and the desktop shell, and their scripted twins.
#include "uidialogs.h"
#include "globals.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <functional>

namespace {

QColor toQColor(TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
TColor fromQColor(const QColor &c) { return c.red() | c.green() << 8 | c.blue() << 16; }

// The dialogs take a start whose folder is missing for a file name in another folder: such a
// start keeps only its file name, in the documents folder.
QString existingStart(const QString &initial)
{
    const QFileInfo info(initial);
    if (initial.isEmpty() || info.isRelative())
        return QDir(GetDocumentsFolder()).filePath(initial);
    if (info.isDir() || QFileInfo(info.absolutePath()).isDir())
        return initial;
    return QDir(GetDocumentsFolder()).filePath(info.fileName());
}

class QtUiDialogs : public TUiDialogs
{
public:
    QString OpenFileName(QWidget *parent, const QString &caption, const QString &initial,
                         const QString &filter) override
    {
        return QFileDialog::getOpenFileName(parent, caption, existingStart(initial), filter);
    }
    QString SaveFileName(QWidget *parent, const QString &caption, const QString &initial,
                         const QString &filter, QString *selectedFilter) override
    {
        // The program asks about replacing a file itself.
        return QFileDialog::getSaveFileName(parent, caption, existingStart(initial), filter, selectedFilter,
                                            QFileDialog::DontConfirmOverwrite);
    }
    bool ChooseColor(QWidget *parent, TColor *colour) override
    {
        const QColor chosen = QColorDialog::getColor(toQColor(*colour), parent);
        if (!chosen.isValid())
            return false;
        *colour = fromQColor(chosen);
        return true;
    }
    int RunModal(QDialog &dialog) override { return dialog.exec(); }
};

class DesktopShell : public TShell
{
public:
    bool Open(const QUrl &url) override { return QDesktopServices::openUrl(url); }
};

QtUiDialogs g_qtDialogs;
TUiDialogs *g_dialogs = nullptr;
DesktopShell g_desktopShell;
TShell *g_shell = nullptr;

} // namespace

TUiDialogs &uiDialogs() { return g_dialogs ? *g_dialogs : g_qtDialogs; }

TUiDialogs *setUiDialogs(TUiDialogs *dialogs)
{
    TUiDialogs *previous = g_dialogs;
    g_dialogs = dialogs;
    return previous;
}

TShell &shell() { return g_shell ? *g_shell : g_desktopShell; }

TShell *setShell(TShell *s)
{
    TShell *previous = g_shell;
    g_shell = s;
    return previous;
}

ScriptedUiDialogs::ScriptedUiDialogs() : m_previous(setUiDialogs(this)) {}
ScriptedUiDialogs::~ScriptedUiDialogs() { setUiDialogs(m_previous); }

QString ScriptedUiDialogs::OpenFileName(QWidget *, const QString &caption, const QString &initial,
                                        const QString &)
{
    Asked << QStringLiteral("open: ") + caption;
    Proposed << initial;
    return FileNames.isEmpty() ? QString() : FileNames.takeFirst();
}

QString ScriptedUiDialogs::SaveFileName(QWidget *, const QString &caption, const QString &initial,
                                        const QString &filter, QString *selectedFilter)
{
    Asked << QStringLiteral("save: ") + caption;
    Proposed << initial;
    if (selectedFilter)
        *selectedFilter =
            Filters.isEmpty() ? filter.section(QStringLiteral(";;"), 0, 0) : Filters.takeFirst();
    return FileNames.isEmpty() ? QString() : FileNames.takeFirst();
}

bool ScriptedUiDialogs::ChooseColor(QWidget *, TColor *colour)
{
    Asked << QStringLiteral("color");
    if (Colors.isEmpty())
        return false;
    *colour = Colors.takeFirst();
    return true;
}

int ScriptedUiDialogs::RunModal(QDialog &dialog)
{
    Asked << QStringLiteral("modal: ") + dialog.objectName();
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    if (OnModal)
        OnModal(dialog);
    // A form the test closed (its OK or Cancel clicked) keeps the result it got.
    if (!dialog.isVisible())
        return dialog.result();
    const int result = ModalResults.isEmpty() ? int(QDialog::Rejected) : ModalResults.takeFirst();
    dialog.done(result);
    dialog.hide();
    return result;
}

RecordingShell::RecordingShell() : m_previous(setShell(this)) {}
RecordingShell::~RecordingShell() { setShell(m_previous); }

bool RecordingShell::Open(const QUrl &url)
{
    Opened << url;
    return Result;
}
