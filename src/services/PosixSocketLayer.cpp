#include "services/PosixSocketLayer.h"

#include <cerrno>
#include <climits>

#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QByteArray AddressBytes(const sockaddr *address)
{
    const auto *in = reinterpret_cast<const sockaddr_in *>(address);
    return QByteArray(reinterpret_cast<const char *>(&in->sin_addr.s_addr),
                      sizeof in->sin_addr.s_addr);
}

} // namespace

int PosixSocketLayer::Startup(quint16 versionRequested, SocketsData &data)
{
    data.wVersion = versionRequested;
    // As many sockets as the process may open files, which is what limits it here.
    const long openMax = sysconf(_SC_OPEN_MAX);
    data.iMaxSockets = openMax > 0 && openMax < SHRT_MAX ? int(openMax) : SHRT_MAX;
    return 0;
}

int PosixSocketLayer::Cleanup()
{
    return 0;
}

int PosixSocketLayer::LastError()
{
    return m_lastError;
}

int PosixSocketLayer::HostName(char *buffer, int length)
{
    if (::gethostname(buffer, size_t(length)) != 0) {
        m_lastError = errno;
        return -1;
    }
    return 0;
}

QList<QByteArray> PosixSocketLayer::ResolveHost(const QByteArray &name)
{
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    // One entry per address, not one per socket type.
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    const int rc = ::getaddrinfo(name.constData(), nullptr, &hints, &found);
    if (rc != 0) {
        m_lastError = rc;
        return {};
    }
    QList<QByteArray> addresses;
    for (const addrinfo *a = found; a; a = a->ai_next) {
        if (a->ai_family == AF_INET && a->ai_addr)
            addresses << AddressBytes(a->ai_addr);
    }
    ::freeaddrinfo(found);
    return addresses;
}

QList<QByteArray> PosixSocketLayer::InterfaceAddresses()
{
    ifaddrs *interfaces = nullptr;
    if (::getifaddrs(&interfaces) != 0) {
        m_lastError = errno;
        return {};
    }
    QList<QByteArray> addresses;
    for (const ifaddrs *i = interfaces; i; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET)
            continue;
        if (!(i->ifa_flags & IFF_UP) || (i->ifa_flags & IFF_LOOPBACK))
            continue;
        addresses << AddressBytes(i->ifa_addr);
    }
    ::freeifaddrs(interfaces);
    return addresses;
}
