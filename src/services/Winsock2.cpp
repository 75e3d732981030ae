#include "services/Winsock2.h"

#include "services/SocketLayer.h"
#include "services/UserDialogs.h"

#include <QStringList>

namespace {

const QString Title = QStringLiteral("QuorBrowser");

QByteArray TrimSpaces(QByteArray text)
{
    int start = 0;
    int end = text.size();
    while (start < end && text.at(start) == ' ')
        ++start;
    while (end > start && text.at(end - 1) == ' ')
        --end;
    return text.mid(start, end - start);
}

} // namespace

qint32 LowByteOf(quint16 n)
{
    return n & 0xFF;
}

qint32 HighByteOf(quint16 n)
{
    return (n / 256) & 0xFF;
}

bool StartSockets(SocketLayer &sockets, UserDialogs &dialogs, QWidget *parent)
{
    SocketLayer::SocketsData data;
    if (sockets.Startup(RequestedSocketsVersion, data) != 0) {
        dialogs.MessageBox(parent, QStringLiteral("The 32-bit Windows Socket is not responding."),
                           Title);
        return false;
    }
    if (data.iMaxSockets < MinimumSockets) {
        dialogs.MessageBox(parent,
                           QStringLiteral("This application requires a minimum of ")
                               + QString::number(MinimumSockets)
                               + QStringLiteral(" supported sockets."),
                           Title);
        // The layer did start; it is not left started behind the message.
        sockets.Cleanup();
        return false;
    }
    const qint32 major = LowByteOf(data.wVersion);
    const qint32 minor = HighByteOf(data.wVersion);
    if (major < 1 || (major == 1 && minor < 1)) {
        dialogs.MessageBox(parent,
                           QStringLiteral("Sockets version ") + QString::number(major)
                               + QLatin1Char('.') + QString::number(minor)
                               + QStringLiteral(" is not supported by 32-bit Windows Sockets."),
                           Title);
        sockets.Cleanup();
        return false;
    }
    return true;
}

void StopSockets(SocketLayer &sockets, UserDialogs &dialogs, QWidget *parent)
{
    if (sockets.Cleanup() != 0)
        dialogs.MessageBox(parent, QStringLiteral("Socket error occurred in Cleanup."), Title);
}

QString FormatAddress(const QByteArray &address)
{
    QStringList numbers;
    for (const char byte : address)
        numbers << QString::number(quint8(byte));
    return numbers.join(QLatin1Char('.'));
}

bool IsLoopbackAddress(const QByteArray &address)
{
    return address.size() == 4 && quint8(address.at(0)) == 127;
}

QString GetLocalAddress(SocketLayer &sockets, UserDialogs &dialogs, QWidget *parent)
{
    if (!StartSockets(sockets, dialogs, parent))
        return QString();

    char buffer[HostNameBufferLength] = {};
    if (sockets.HostName(buffer, HostNameBufferLength) != 0) {
        dialogs.MessageBox(parent,
                           QStringLiteral("Windows Sockets error ")
                               + QString::number(sockets.LastError())
                               + QStringLiteral(" has occurred. Unable to successfully get Host "
                                                "Name."),
                           Title);
        StopSockets(sockets, dialogs, parent);
        return QString();
    }
    // A name that filled the buffer may come without its NUL.
    buffer[HostNameBufferLength - 1] = '\0';
    const QByteArray hostName = TrimSpaces(QByteArray(buffer));

    const QList<QByteArray> addresses = sockets.ResolveHost(hostName);
    if (addresses.isEmpty()) {
        dialogs.MessageBox(parent,
                           QStringLiteral("Windows Sockets are not responding. ")
                               + QStringLiteral("Unable to successfully get Host Name."),
                           Title);
        StopSockets(sockets, dialogs, parent);
        return QString();
    }
    QByteArray address = addresses.first();
    // Many systems map their own name to a loopback address (127.0.1.1), which tells nobody
    // else how to reach this machine: the address of a working network interface does.
    if (IsLoopbackAddress(address)) {
        const QList<QByteArray> interfaceAddresses = sockets.InterfaceAddresses();
        if (!interfaceAddresses.isEmpty())
            address = interfaceAddresses.first();
    }
    const QString text = FormatAddress(address);
    StopSockets(sockets, dialogs, parent);
    return text;
}
