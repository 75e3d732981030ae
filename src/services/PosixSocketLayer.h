#pragma once

#include "services/win/SocketLayer.h"

// The socket layer of a POSIX system: gethostname, getaddrinfo and getifaddrs. It needs no
// starting or ending, so Startup offers exactly the version asked for and Cleanup never fails.
class PosixSocketLayer : public SocketLayer
{
public:
    int Startup(std::uint16_t versionRequested, SocketsData &data) override;
    int Cleanup() override;
    int LastError() override;
    int HostName(char *buffer, int length) override;
    std::vector<Address> ResolveHost(const std::string &name) override;
    std::vector<Address> InterfaceAddresses() override;

private:
    int m_lastError = 0;
};
