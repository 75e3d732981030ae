#pragma once

#include <QString>

class QWidget;
class SocketLayer;
class UserDialogs;

// This machine's IP address, for the toolbars' IP keys: the lookup of
// services/win/HostAddress.h, its messages shown as message boxes with the program's title.
// Empty text, after one message, when the lookup fails.
QString GetLocalAddress(SocketLayer &sockets, UserDialogs &dialogs, QWidget *parent = nullptr);
