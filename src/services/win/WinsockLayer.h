#pragma once

#include "services/SocketLayer.h"

namespace win {

// The calls of Windows Sockets 1.1 that finding this machine's address makes, one member a call.
class WinsockCalls
{
public:
    // What the layer offers once started.
    struct SocketsData
    {
        std::uint16_t wVersion = 0; // low byte the major version, high byte the minor
        int iMaxSockets = 0;
    };

    virtual ~WinsockCalls() = default;
    // 0 when the layer started; data then says what it offers.
    virtual int Startup(std::uint16_t versionRequested, SocketsData &data) = 0;
    // 0 when the layer ended cleanly.
    virtual int Cleanup() = 0;
    // The error code of the call that failed last.
    virtual int LastError() = 0;
    // 0 and the host name, NUL-terminated, in buffer; -1 on failure.
    virtual int HostName(char *buffer, int length) = 0;
    virtual std::vector<SocketLayer::Address> ResolveHost(const std::string &name) = 0;
    virtual std::vector<SocketLayer::Address> InterfaceAddresses() = 0;
};

// The socket layer on Windows Sockets: started before each lookup and ended after it, by the
// rules of HostAddress.h (StartSockets, StopSockets).
class WinsockLayer : public SocketLayer
{
public:
    explicit WinsockLayer(WinsockCalls &calls);
    void Use(const MessageSink &tell, const std::function<void()> &lookup) override;
    bool HostName(std::string &name, int &error) override;
    std::vector<Address> ResolveHost(const std::string &name) override;
    std::vector<Address> InterfaceAddresses() override;

private:
    WinsockCalls &m_calls;
};

} // namespace win
