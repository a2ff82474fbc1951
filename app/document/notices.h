// Messages the document has for the user. The document only words them; the window shows them
// (as message boxes) through the hooks it fills.
#pragma once

#include <QString>

#include <functional>

/** How the window shows the document's messages. Unset, a message goes to the log and a
 *  question is answered No. */
struct TNoticeHooks {
    enum Kind {
        Information,
        Warning,
        Error
    };
    /** One box of the kind with an Ok button (and Help when a help context is given). */
    std::function<void(Kind kind, const QString &text, int helpContext)> Show;
    /** A question with Yes and No; true for Yes. */
    std::function<bool(const QString &text)> AskYesNo;
    /** The busy cursor on (true) or off again (false) around a long piece of work; calls nest. */
    std::function<void(bool busy)> Busy;
};
/** The hooks in use (one set for the run). */
TNoticeHooks &NoticeHooks();

// Shorthands through NoticeHooks().
void showInformation(const QString &text, int helpContext = 0);
void showWarning(const QString &text, int helpContext = 0);
void showError(const QString &text, int helpContext = 0);
bool askYesNo(const QString &text);

/** Shows the window busy (NoticeHooks().Busy) for the lifetime of the object. */
class TBusy
{
public:
    TBusy() { busy(true); }
    ~TBusy() { busy(false); }
    TBusy(const TBusy &) = delete;
    TBusy &operator=(const TBusy &) = delete;

private:
    static void busy(bool on)
    {
        if (NoticeHooks().Busy)
            NoticeHooks().Busy(on);
    }
};
