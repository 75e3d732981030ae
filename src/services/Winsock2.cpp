#include "services/Winsock2.h"

#include "services/UserDialogs.h"
#include "services/win/HostAddress.h"

QString GetLocalAddress(SocketLayer &sockets, UserDialogs &dialogs, QWidget *parent)
{
    const std::string address = win::GetLocalAddress(sockets, [&](const std::string &text) {
        dialogs.MessageBox(parent, QString::fromStdString(text), QStringLiteral("QuorBrowser"));
    });
    return QString::fromStdString(address);
}
