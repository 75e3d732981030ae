#include "services/win/SystemWinsock.h"

// gethostbyname is the name lookup of Windows Sockets 1.1, which is what the lookup asks for.
#ifndef _WINSOCK_DEPRECATED_NO_WARNINGS
#define _WINSOCK_DEPRECATED_NO_WARNINGS
#endif
#include <winsock2.h>

namespace win {

int SystemWinsock::Startup(std::uint16_t versionRequested, SocketsData &data)
{
    WSADATA wsaData = {};
    const int result = WSAStartup(versionRequested, &wsaData);
    if (result == 0) {
        data.wVersion = wsaData.wVersion;
        data.iMaxSockets = wsaData.iMaxSockets;
    }
    return result;
}

int SystemWinsock::Cleanup()
{
    return WSACleanup();
}

int SystemWinsock::LastError()
{
    return WSAGetLastError();
}

int SystemWinsock::HostName(char *buffer, int length)
{
    return gethostname(buffer, length);
}

std::vector<SocketLayer::Address> SystemWinsock::ResolveHost(const std::string &name)
{
    const hostent *host = gethostbyname(name.c_str());
    std::vector<SocketLayer::Address> addresses;
    if (!host)
        return addresses;
    for (char **entry = host->h_addr_list; *entry; ++entry) {
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(*entry);
        addresses.emplace_back(bytes, bytes + host->h_length);
    }
    return addresses;
}

std::vector<SocketLayer::Address> SystemWinsock::InterfaceAddresses()
{
    return {};
}

} // namespace win
