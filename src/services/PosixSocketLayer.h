#pragma once

#include "services/SocketLayer.h"

// The socket layer of a POSIX system: gethostname, getaddrinfo and getifaddrs, which need no
// starting or ending.
class PosixSocketLayer : public SocketLayer
{
public:
    bool HostName(std::string &name, int &error) override;
    std::vector<Address> ResolveHost(const std::string &name) override;
    std::vector<Address> InterfaceAddresses() override;
};
