#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The platform's socket layer, as far as finding this machine's address needs it: the calls of
// Windows Sockets 1.1.
class SocketLayer
{
public:
    // What the layer offers once started.
    struct SocketsData
    {
        std::uint16_t wVersion = 0; // low byte the major version, high byte the minor
        int iMaxSockets = 0;
    };
    // An address record: its bytes in network order.
    using Address = std::vector<std::uint8_t>;

    virtual ~SocketLayer() = default;
    // 0 when the layer started; data then says what it offers.
    virtual int Startup(std::uint16_t versionRequested, SocketsData &data) = 0;
    // 0 when the layer ended cleanly.
    virtual int Cleanup() = 0;
    // The error code of the call that failed last.
    virtual int LastError() = 0;
    // 0 and the host name, NUL-terminated, in buffer; -1 on failure.
    virtual int HostName(char *buffer, int length) = 0;
    // The IPv4 addresses of the named host in the resolver's order; empty when the name does
    // not resolve.
    virtual std::vector<Address> ResolveHost(const std::string &name) = 0;
    // The IPv4 addresses of the interfaces that are up and not loopback, in the system's order.
    virtual std::vector<Address> InterfaceAddresses() = 0;
};
