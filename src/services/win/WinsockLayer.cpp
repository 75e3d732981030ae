#include "services/win/WinsockLayer.h"

#include "services/win/HostAddress.h"

namespace win {

WinsockLayer::WinsockLayer(WinsockCalls &calls)
    : m_calls(calls)
{ }

void WinsockLayer::Use(const MessageSink &tell, const std::function<void()> &lookup)
{
    if (!StartSockets(m_calls, tell))
        return;
    lookup();
    StopSockets(m_calls, tell);
}

bool WinsockLayer::HostName(std::string &name, int &error)
{
    char buffer[HostNameBufferLength] = {};
    if (m_calls.HostName(buffer, HostNameBufferLength) != 0) {
        error = m_calls.LastError();
        return false;
    }
    // A name that filled the buffer may come without its NUL.
    buffer[HostNameBufferLength - 1] = '\0';
    name = buffer;
    return true;
}

std::vector<SocketLayer::Address> WinsockLayer::ResolveHost(const std::string &name)
{
    return m_calls.ResolveHost(name);
}

std::vector<SocketLayer::Address> WinsockLayer::InterfaceAddresses()
{
    return m_calls.InterfaceAddresses();
}

} // namespace win
