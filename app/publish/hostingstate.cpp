#include "hostingstate.h"

#include "globals.h"
#include "httpclient.h"

#include <QCoreApplication>

qint64 ServerTime = 0;
QString LastPuzzleLink;
bool EmailPublishing = false;
bool BrowserLaunched = false;

THostingIdentity HostingIdentity()
{
    THostingIdentity id;
    id.Server = HostingBaseUrl();
    id.Group = HostingGroup();
    id.Account = SanitizeName(GetWindowsUserName());
    id.InstallNumber = InstallNumber;
    id.InstallDate = InstallDate;
    id.ExeTimeStamp = FileAgeStamp(QCoreApplication::applicationFilePath());
    id.PostingEmail = HostingPostingEmail();
    return id;
}

bool HostingConfigured()
{
    return HostingGroup() != QLatin1String("0") && HostingProtocol::IsWebAddress(HostingBaseUrl());
}
