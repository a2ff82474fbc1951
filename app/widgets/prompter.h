// The one way the program shows a message box: an interface with a QMessageBox implementation
// for the program and a scripted one for tests, so that no test ever blocks on a modal box.
#pragma once

#include "notices.h"

#include <QList>
#include <QString>
#include <functional>

class QWidget;

class Prompter
{
public:
    enum Kind {
        Information,
        Warning,
        Error,
        Confirmation
    };
    enum Button {
        NoButton = 0,
        Ok = 0x01,
        Cancel = 0x02,
        Yes = 0x04,
        No = 0x08,
        Abort = 0x10,
        Retry = 0x20,
        Ignore = 0x40,
        Help = 0x80, // opens the help page of the help context; never an answer
    };
    using Buttons = int;

    virtual ~Prompter() = default;
    /** Shows text under caption (empty: the caption of the kind) with the buttons and returns the
     *  button pressed; a box closed without a button answers Cancel, else No, else Ok. */
    virtual Button ask(const QString &text, const QString &caption, Kind kind, Buttons buttons,
                       int helpContext = 0) = 0;

    /** "Information", "Warning", "Error" or "Confirm". */
    static QString captionOf(Kind kind);
};

/** The prompter in use (a MessageBoxPrompter unless one was installed). */
Prompter &prompter();
/** Installs a prompter (not owned; null restores the default) and returns the previous one. */
Prompter *setPrompter(Prompter *p);

// Shorthands through prompter(); showInformation, showWarning and showError (notices.h) reach it
// through the notice hooks this file fills.
Prompter::Button askConfirmation(const QString &text, Prompter::Buttons buttons, int helpContext = 0);

/** True when nothing exists under the name, or the user agreed to replace the file there. */
bool mayReplaceFile(const QString &fileName);

/** Routes the engine's message boxes through prompter(). */
void installEngineMessageHandler();

class MessageBoxPrompter : public Prompter
{
public:
    /** Called with the help context when the user presses Help; the box stays open. */
    std::function<void(int helpContext)> helpHandler;
    QWidget *parent = nullptr;

    Button ask(const QString &text, const QString &caption, Kind kind, Buttons buttons,
               int helpContext = 0) override;
};

/** Answers from a queue and records every box. With the queue empty it answers Ok, Yes,
 *  Retry or Cancel, the first that the box offers. */
class ScriptedPrompter : public Prompter
{
public:
    struct Box {
        QString text;
        QString caption;
        Kind kind;
        Buttons buttons;
        int helpContext;
        Button answer;
    };

    QList<Button> answers;
    QList<Box> boxes;

    /** Installs itself on construction and puts the previous prompter back on destruction. */
    ScriptedPrompter();
    ~ScriptedPrompter() override;
    ScriptedPrompter(const ScriptedPrompter &) = delete;
    ScriptedPrompter &operator=(const ScriptedPrompter &) = delete;

    Button ask(const QString &text, const QString &caption, Kind kind, Buttons buttons,
               int helpContext = 0) override;

    /** The text of the last box, empty when none was shown. */
    QString lastText() const { return boxes.isEmpty() ? QString() : boxes.last().text; }

private:
    Prompter *m_previous = nullptr;
};
