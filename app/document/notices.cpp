// The document's messages, handed to the window's hooks.
#include "notices.h"

#include <QDebug>

namespace {

void show(TNoticeHooks::Kind kind, const QString &text, int helpContext)
{
    const TNoticeHooks &hooks = NoticeHooks();
    if (hooks.Show)
        hooks.Show(kind, text, helpContext);
    else
        qWarning().noquote() << text;
}

} // namespace

TNoticeHooks &NoticeHooks()
{
    static TNoticeHooks hooks;
    return hooks;
}

void showInformation(const QString &text, int helpContext)
{
    show(TNoticeHooks::Information, text, helpContext);
}
void showWarning(const QString &text, int helpContext) { show(TNoticeHooks::Warning, text, helpContext); }
void showError(const QString &text, int helpContext) { show(TNoticeHooks::Error, text, helpContext); }

bool askYesNo(const QString &text)
{
    const TNoticeHooks &hooks = NoticeHooks();
    if (hooks.AskYesNo)
        return hooks.AskYesNo(text);
    qWarning().noquote() << text;
    return false;
}
