#pragma once

#include "services/win/WinsockLayer.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

#include <cstring>

// Windows Sockets that answer as told and record the calls made to them.
class FakeWinsock : public win::WinsockCalls
{
public:
    int Startup(std::uint16_t versionRequested, SocketsData &data) override
    {
        calls << QStringLiteral("Startup");
        requestedVersion = versionRequested;
        if (startupResult == 0)
            data = offered;
        return startupResult;
    }
    int Cleanup() override
    {
        calls << QStringLiteral("Cleanup");
        return cleanupResult;
    }
    int LastError() override { return lastError; }
    int HostName(char *buffer, int length) override
    {
        calls << QStringLiteral("HostName");
        if (hostNameResult != 0)
            return hostNameResult;
        // Like the platform, a name that does not fit is cut without its NUL.
        std::memset(buffer, 0, size_t(length));
        std::memcpy(buffer, hostName.constData(), size_t(qMin(length, int(hostName.size()))));
        return 0;
    }
    std::vector<SocketLayer::Address> ResolveHost(const std::string &name) override
    {
        calls << QStringLiteral("ResolveHost");
        resolvedName = QByteArray::fromStdString(name);
        return Records(addresses);
    }
    std::vector<SocketLayer::Address> InterfaceAddresses() override
    {
        calls << QStringLiteral("InterfaceAddresses");
        return Records(interfaces);
    }

    // Answers.
    int startupResult = 0;
    SocketsData offered = {0x0101, 100};
    int cleanupResult = 0;
    int lastError = 0;
    int hostNameResult = 0;
    QByteArray hostName = "host";
    QList<QByteArray> addresses = {QByteArray("\xC0\xA8\x00\x05", 4)};
    QList<QByteArray> interfaces;

    // Record.
    QStringList calls;
    quint16 requestedVersion = 0;
    QByteArray resolvedName;

private:
    static std::vector<SocketLayer::Address> Records(const QList<QByteArray> &list)
    {
        std::vector<SocketLayer::Address> records;
        for (const QByteArray &bytes : list)
            records.emplace_back(bytes.begin(), bytes.end());
        return records;
    }
};
