#pragma once

#include "services/win/WinsockLayer.h"

namespace win {

// Windows Sockets: each call is one call of the Winsock API.
class SystemWinsock : public WinsockCalls
{
public:
    int Startup(std::uint16_t versionRequested, SocketsData &data) override;
    int Cleanup() override;
    int LastError() override;
    int HostName(char *buffer, int length) override;
    std::vector<SocketLayer::Address> ResolveHost(const std::string &name) override;
    // None: Windows resolves its own host name to the addresses of its interfaces, and to a
    // loopback address only when no interface is up.
    std::vector<SocketLayer::Address> InterfaceAddresses() override;
};

} // namespace win
