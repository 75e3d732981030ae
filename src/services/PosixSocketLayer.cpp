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

SocketLayer::Address AddressBytes(const sockaddr *address)
{
    const auto *in = reinterpret_cast<const sockaddr_in *>(address);
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(&in->sin_addr.s_addr);
    return SocketLayer::Address(bytes, bytes + sizeof in->sin_addr.s_addr);
}

} // namespace

int PosixSocketLayer::Startup(std::uint16_t versionRequested, SocketsData &data)
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

std::vector<SocketLayer::Address> PosixSocketLayer::ResolveHost(const std::string &name)
{
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    // One entry per address, not one per socket type.
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    const int rc = ::getaddrinfo(name.c_str(), nullptr, &hints, &found);
    if (rc != 0) {
        m_lastError = rc;
        return {};
    }
    std::vector<Address> addresses;
    for (const addrinfo *a = found; a; a = a->ai_next) {
        if (a->ai_family == AF_INET && a->ai_addr)
            addresses.push_back(AddressBytes(a->ai_addr));
    }
    ::freeaddrinfo(found);
    return addresses;
}

std::vector<SocketLayer::Address> PosixSocketLayer::InterfaceAddresses()
{
    ifaddrs *interfaces = nullptr;
    if (::getifaddrs(&interfaces) != 0) {
        m_lastError = errno;
        return {};
    }
    std::vector<Address> addresses;
    for (const ifaddrs *i = interfaces; i; i = i->ifa_next) {
        if (!i->ifa_addr || i->ifa_addr->sa_family != AF_INET)
            continue;
        if (!(i->ifa_flags & IFF_UP) || (i->ifa_flags & IFF_LOOPBACK))
            continue;
        addresses.push_back(AddressBytes(i->ifa_addr));
    }
    ::freeifaddrs(interfaces);
    return addresses;
}
