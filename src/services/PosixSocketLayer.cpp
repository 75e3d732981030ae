#include "services/PosixSocketLayer.h"

#include <cerrno>

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

bool PosixSocketLayer::HostName(std::string &name, int &error)
{
    char buffer[256] = {};
    if (::gethostname(buffer, sizeof buffer) != 0) {
        error = errno;
        return false;
    }
    // A name that filled the buffer may come without its NUL.
    buffer[sizeof buffer - 1] = '\0';
    name = buffer;
    return true;
}

std::vector<SocketLayer::Address> PosixSocketLayer::ResolveHost(const std::string &name)
{
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    // One entry per address, not one per socket type.
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    const int rc = ::getaddrinfo(name.c_str(), nullptr, &hints, &found);
    if (rc != 0)
        return {};
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
    if (::getifaddrs(&interfaces) != 0)
        return {};
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
