#include "services/win/HostAddress.h"

namespace win {

namespace {

std::string TrimSpaces(const std::string &text)
{
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos)
        return std::string();
    return text.substr(start, text.find_last_not_of(' ') - start + 1);
}

} // namespace

std::int32_t LowByteOf(std::uint16_t n)
{
    return n & 0xFF;
}

std::int32_t HighByteOf(std::uint16_t n)
{
    return (n / 256) & 0xFF;
}

bool StartSockets(WinsockCalls &sockets, const MessageSink &tell)
{
    WinsockCalls::SocketsData data;
    if (sockets.Startup(RequestedSocketsVersion, data) != 0) {
        tell("The 32-bit Windows Socket is not responding.");
        return false;
    }
    if (data.iMaxSockets < MinimumSockets) {
        tell("This application requires a minimum of " + std::to_string(MinimumSockets)
             + " supported sockets.");
        // The layer did start; it is not left started behind the message.
        sockets.Cleanup();
        return false;
    }
    const std::int32_t major = LowByteOf(data.wVersion);
    const std::int32_t minor = HighByteOf(data.wVersion);
    if (major < 1 || (major == 1 && minor < 1)) {
        tell("Sockets version " + std::to_string(major) + "." + std::to_string(minor)
             + " is not supported by 32-bit Windows Sockets.");
        sockets.Cleanup();
        return false;
    }
    return true;
}

void StopSockets(WinsockCalls &sockets, const MessageSink &tell)
{
    if (sockets.Cleanup() != 0)
        tell("Socket error occurred in Cleanup.");
}

std::string FormatAddress(const SocketLayer::Address &address)
{
    std::string text;
    for (const std::uint8_t byte : address)
        text += std::to_string(byte) + ".";
    if (!text.empty())
        text.pop_back();
    return text;
}

bool IsLoopbackAddress(const SocketLayer::Address &address)
{
    return address.size() == 4 && address[0] == 127;
}

std::string GetLocalAddress(SocketLayer &sockets, const MessageSink &tell)
{
    std::string text;
    sockets.Use(tell, [&] {
        std::string name;
        int error = 0;
        if (!sockets.HostName(name, error)) {
            tell("Windows Sockets error " + std::to_string(error)
                 + " has occurred. Unable to successfully get Host Name.");
            return;
        }
        const std::string hostName = TrimSpaces(name);

        const std::vector<SocketLayer::Address> addresses = sockets.ResolveHost(hostName);
        if (addresses.empty()) {
            tell(std::string("Windows Sockets are not responding. ")
                 + "Unable to successfully get Host Name.");
            return;
        }
        SocketLayer::Address address = addresses.front();
        // Many systems map their own name to a loopback address (127.0.1.1), which tells nobody
        // else how to reach this machine: the address of a working network interface does.
        if (IsLoopbackAddress(address)) {
            const std::vector<SocketLayer::Address> interfaceAddresses
                = sockets.InterfaceAddresses();
            if (!interfaceAddresses.empty())
                address = interfaceAddresses.front();
        }
        text = FormatAddress(address);
    });
    return text;
}

} // namespace win
