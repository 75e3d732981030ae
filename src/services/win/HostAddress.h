#pragma once

#include "services/SocketLayer.h"
#include "services/win/WinsockLayer.h"

#include <cstdint>
#include <functional>
#include <string>

// This machine's IP address, for the toolbars' IP keys.
namespace win {

// The socket layer version the lookup needs: 1.1.
inline constexpr std::uint16_t RequestedSocketsVersion = 0x0101;
// The fewest sockets the layer must offer.
inline constexpr int MinimumSockets = 1;
// Room for the host name, its NUL included.
inline constexpr int HostNameBufferLength = 256;

using MessageSink = SocketLayer::MessageSink;

// The low byte of a 16-bit value.
std::int32_t LowByteOf(std::uint16_t n);
// The high byte of a 16-bit value.
std::int32_t HighByteOf(std::uint16_t n);

// Starts the socket layer and checks what it offers. False, after telling the user why, when
// the lookup cannot go on; the layer is then not left started.
bool StartSockets(WinsockCalls &sockets, const MessageSink &tell);
// Ends the use of the socket layer; tells the user when that fails.
void StopSockets(WinsockCalls &sockets, const MessageSink &tell);

// One decimal number per byte, joined by dots: 192.168.0.5.
std::string FormatAddress(const SocketLayer::Address &address);
// An address of the 127.0.0.0/8 block, which only this machine can reach.
bool IsLoopbackAddress(const SocketLayer::Address &address);

// The address of this machine as dotted decimal text, the layer ready for the lookup meanwhile: the
// first address its host name resolves to, unless that one is a loopback address and an interface
// has another. Empty text, after one message to the user, when the lookup fails.
std::string GetLocalAddress(SocketLayer &sockets, const MessageSink &tell);

} // namespace win
