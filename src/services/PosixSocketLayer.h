#pragma once

#include "services/SocketLayer.h"

// The socket layer of a POSIX system: gethostname, getaddrinfo and getifaddrs. It needs no
// starting or ending, so Startup offers exactly the version asked for and Cleanup never fails.
class PosixSocketLayer : public SocketLayer
{
public:
    int Startup(quint16 versionRequested, SocketsData &data) override;
    int Cleanup() override;
    int LastError() override;
    int HostName(char *buffer, int length) override;
    QList<QByteArray> ResolveHost(const QByteArray &name) override;
    QList<QByteArray> InterfaceAddresses() override;

private:
    int m_lastError = 0;
};
