#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// The platform's socket layer, as far as finding this machine's address needs it.
class SocketLayer
{
public:
    // An address record: its bytes in network order.
    using Address = std::vector<std::uint8_t>;
    // Shows the person at the screen a message with an OK button, and returns once it is closed.
    using MessageSink = std::function<void(const std::string &text)>;

    virtual ~SocketLayer() = default;
    // Runs lookup with the layer ready for it. A layer that must be started first (Windows
    // Sockets) starts and ends around it, tells the person when either fails, and then does not
    // run lookup; one that needs no starting just runs it.
    virtual void Use(const MessageSink &tell, const std::function<void()> &lookup)
    {
        static_cast<void>(tell);
        lookup();
    }
    // This machine's host name; false, with the layer's error code, when it has none.
    virtual bool HostName(std::string &name, int &error) = 0;
    // The IPv4 addresses of the named host in the resolver's order; empty when the name does
    // not resolve.
    virtual std::vector<Address> ResolveHost(const std::string &name) = 0;
    // The IPv4 addresses of the interfaces that are up and not loopback, in the system's order.
    virtual std::vector<Address> InterfaceAddresses() = 0;
};
