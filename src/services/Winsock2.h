#pragma once

#include <QString>

class QWidget;
class SocketLayer;
class UserDialogs;

// This machine's IP address, for the toolbars' IP keys.

// The socket layer version the lookup needs: 1.1.
inline constexpr quint16 RequestedSocketsVersion = 0x0101;
// The fewest sockets the layer must offer.
inline constexpr int MinimumSockets = 1;
// Room for the host name, its NUL included.
inline constexpr int HostNameBufferLength = 256;

// The low byte of a 16-bit value.
qint32 LowByteOf(quint16 n);
// The high byte of a 16-bit value.
qint32 HighByteOf(quint16 n);

// Starts the socket layer and checks what it offers. False, after telling the user why, when
// the lookup cannot go on.
bool StartSockets(SocketLayer &sockets, UserDialogs &dialogs, QWidget *parent = nullptr);
// Ends the use of the socket layer; tells the user when that fails.
void StopSockets(SocketLayer &sockets, UserDialogs &dialogs, QWidget *parent = nullptr);

// One decimal number per byte, joined by dots: 192.168.0.5.
QString FormatAddress(const QByteArray &address);
// An address of the 127.0.0.0/8 block, which only this machine can reach.
bool IsLoopbackAddress(const QByteArray &address);

// The address of this machine as dotted decimal text: the first address its host name resolves
// to, unless that one is a loopback address and an interface has another. Empty text, after
// one message to the user, when the lookup fails.
QString GetLocalAddress(SocketLayer &sockets, UserDialogs &dialogs, QWidget *parent = nullptr);
