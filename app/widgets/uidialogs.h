// File and colour dialogs, modal forms and the shell, behind interfaces like the prompter's:
// the program uses Qt's, tests install scripted ones so that nothing ever blocks.
#pragma once

#include "pagetypes.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

class QDialog;
class QWidget;

class TUiDialogs
{
public:
    virtual ~TUiDialogs() = default;
    /** A file to open; empty when cancelled. */
    virtual QString OpenFileName(QWidget *parent, const QString &caption, const QString &initial,
                                 const QString &filter) = 0;
    /** A file to save to; empty when cancelled. The caller asks about replacing a file itself.
     *  selectedFilter, when given, receives the filter the user chose. */
    virtual QString SaveFileName(QWidget *parent, const QString &caption, const QString &initial,
                                 const QString &filter, QString *selectedFilter = nullptr) = 0;
    /** A colour, starting from colour; false when cancelled. */
    virtual bool ChooseColor(QWidget *parent, TColor *colour) = 0;
    /** Runs a form modally and returns its result (QDialog::Accepted or Rejected). */
    virtual int RunModal(QDialog &dialog) = 0;
};

/** The dialogs in use (Qt's unless others were installed). */
TUiDialogs &uiDialogs();
/** Installs dialogs (not owned; null restores Qt's) and returns the previous ones. */
TUiDialogs *setUiDialogs(TUiDialogs *dialogs);

/** Opens documents and addresses with the desktop's programs. */
class TShell
{
public:
    virtual ~TShell() = default;
    /** False when nothing could open it. */
    virtual bool Open(const QUrl &url) = 0;
};
TShell &shell();
TShell *setShell(TShell *s);

/** Answers from queues and records what was asked; installs itself while it lives. With a
 *  queue empty a file dialog is cancelled, a colour dialog cancelled and a modal form rejected
 *  (the form is still shown and closed, so its show handlers run). */
class ScriptedUiDialogs : public TUiDialogs
{
public:
    QStringList FileNames;   // answers of the file dialogs, in order
    QStringList Filters;     // the filters chosen in the save dialogs, in order (else the first)
    QList<TColor> Colors;    // answers of the colour dialog
    QList<int> ModalResults; // results of modal forms
    /** Called with the shown form (tests look at it or click in it); a form it closes keeps its
     *  own result, otherwise the next of ModalResults is given. */
    std::function<void(QDialog &)> OnModal;
    QStringList Asked;    // "open: caption", "save: caption", "color", "modal: objectName"
    QStringList Proposed; // the names the file dialogs started with, in order

    ScriptedUiDialogs();
    ~ScriptedUiDialogs() override;
    ScriptedUiDialogs(const ScriptedUiDialogs &) = delete;
    ScriptedUiDialogs &operator=(const ScriptedUiDialogs &) = delete;

    QString OpenFileName(QWidget *, const QString &caption, const QString &, const QString &) override;
    QString SaveFileName(QWidget *, const QString &caption, const QString &, const QString &filter,
                         QString *selectedFilter = nullptr) override;
    bool ChooseColor(QWidget *, TColor *colour) override;
    int RunModal(QDialog &dialog) override;

private:
    TUiDialogs *m_previous = nullptr;
};

/** Records what the program opened; answers Result. Installs itself while it lives. */
class RecordingShell : public TShell
{
public:
    QList<QUrl> Opened;
    bool Result = true;
    RecordingShell();
    ~RecordingShell() override;
    RecordingShell(const RecordingShell &) = delete;
    RecordingShell &operator=(const RecordingShell &) = delete;
    bool Open(const QUrl &url) override;

private:
    TShell *m_previous = nullptr;
};
