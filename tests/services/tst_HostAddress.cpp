#include "FakeUserDialogs.h"
#include "FakeWinsock.h"
#include "IsolatedHome.h"
#include "services/PosixSocketLayer.h"
#include "services/Winsock2.h"
#include "services/win/HostAddress.h"

#include <QFile>
#include <QHostAddress>
#include <QNetworkInterface>
#include <QtTest>

#include <unistd.h>

static IsolatedHome isolatedHome;

using Addresses = QList<QByteArray>;

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int v : values)
        bytes.append(char(v));
    return bytes;
}

} // namespace

class tst_HostAddress : public QObject
{
    Q_OBJECT

private slots:
    void bytesOfVersion_data();
    void bytesOfVersion();
    void failures_data();
    void failures();
    void acceptedVersions_data();
    void acceptedVersions();
    void addresses_data();
    void addresses();
    void cleanupFailureStillGivesTheAddress();
    void realLayer();
};

void tst_HostAddress::bytesOfVersion_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("low");
    QTest::addColumn<int>("high");
    QTest::newRow("1.1") << 0x0101 << 1 << 1;
    QTest::newRow("2.0") << 0x0002 << 2 << 0;
    QTest::newRow("1.2") << 0x0201 << 1 << 2;
    QTest::newRow("mixed") << 0x1234 << 0x34 << 0x12;
    QTest::newRow("low byte all ones") << 0x00FF << 255 << 0;
    QTest::newRow("high byte all ones") << 0xFF00 << 0 << 255;
    QTest::newRow("all ones") << 0xFFFF << 255 << 255;
}

void tst_HostAddress::bytesOfVersion()
{
    QFETCH(int, value);
    QFETCH(int, low);
    QFETCH(int, high);
    QCOMPARE(win::LowByteOf(quint16(value)), low);
    QCOMPARE(win::HighByteOf(quint16(value)), high);
}

void tst_HostAddress::failures_data()
{
    QTest::addColumn<int>("startupResult");
    QTest::addColumn<int>("version");
    QTest::addColumn<int>("maxSockets");
    QTest::addColumn<int>("hostNameResult");
    QTest::addColumn<int>("lastError");
    QTest::addColumn<Addresses>("resolved");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("calls");

    const Addresses one = {Bytes({10, 0, 0, 1})};
    QTest::newRow("layer does not start")
        << 10091 << 0x0101 << 100 << 0 << 0 << one << "The 32-bit Windows Socket is not responding."
        << QStringList {"Startup"};
    QTest::newRow("no sockets offered")
        << 0 << 0x0101 << 0 << 0 << 0 << one
        << "This application requires a minimum of 1 supported sockets."
        << QStringList {"Startup", "Cleanup"};
    QTest::newRow("version 1.0") << 0 << 0x0001 << 100 << 0 << 0 << one
                                 << "Sockets version 1.0 is not supported by 32-bit Windows "
                                    "Sockets."
                                 << QStringList {"Startup", "Cleanup"};
    QTest::newRow("version 0.2") << 0 << 0x0200 << 100 << 0 << 0 << one
                                 << "Sockets version 0.2 is not supported by 32-bit Windows "
                                    "Sockets."
                                 << QStringList {"Startup", "Cleanup"};
    QTest::newRow("no host name")
        << 0 << 0x0101 << 100 << -1 << 10093 << one
        << "Windows Sockets error 10093 has occurred. Unable to successfully get Host Name."
        << QStringList {"Startup", "HostName", "Cleanup"};
    QTest::newRow("name does not resolve")
        << 0 << 0x0101 << 100 << 0 << 0 << Addresses()
        << "Windows Sockets are not responding. Unable to successfully get Host Name."
        << QStringList {"Startup", "HostName", "ResolveHost", "Cleanup"};
}

void tst_HostAddress::failures()
{
    QFETCH(int, startupResult);
    QFETCH(int, version);
    QFETCH(int, maxSockets);
    QFETCH(int, hostNameResult);
    QFETCH(int, lastError);
    QFETCH(Addresses, resolved);
    QFETCH(QString, message);
    QFETCH(QStringList, calls);

    FakeWinsock sockets;
    win::WinsockLayer layer(sockets);
    sockets.startupResult = startupResult;
    sockets.offered = {quint16(version), maxSockets};
    sockets.hostNameResult = hostNameResult;
    sockets.lastError = lastError;
    sockets.addresses = resolved;
    FakeUserDialogs dialogs;

    const QString address = GetLocalAddress(layer, dialogs);

    QVERIFY(address.isEmpty());
    QCOMPARE(dialogs.messages, QStringList {message});
    QCOMPARE(dialogs.titles, QStringList {"QuorBrowser"});
    QCOMPARE(sockets.calls, calls);
    QCOMPARE(sockets.requestedVersion, quint16(0x0101));
}

void tst_HostAddress::acceptedVersions_data()
{
    QTest::addColumn<int>("version");
    QTest::newRow("1.1") << 0x0101;
    QTest::newRow("1.2") << 0x0201;
    QTest::newRow("2.0") << 0x0002;
    QTest::newRow("2.2") << 0x0202;
}

void tst_HostAddress::acceptedVersions()
{
    QFETCH(int, version);
    FakeWinsock sockets;
    win::WinsockLayer layer(sockets);
    sockets.offered = {quint16(version), 1};
    FakeUserDialogs dialogs;
    QCOMPARE(GetLocalAddress(layer, dialogs), QString("192.168.0.5"));
    QCOMPARE(dialogs.messages, QStringList());
}

void tst_HostAddress::addresses_data()
{
    QTest::addColumn<QByteArray>("hostName");
    QTest::addColumn<Addresses>("resolved");
    QTest::addColumn<Addresses>("interfaces");
    QTest::addColumn<QByteArray>("lookedUp");
    QTest::addColumn<QString>("expected");

    QTest::newRow("first of several")
        << QByteArray("box") << Addresses {Bytes({192, 168, 0, 5}), Bytes({10, 0, 0, 1})}
        << Addresses {Bytes({172, 16, 0, 9})} << QByteArray("box") << "192.168.0.5";
    QTest::newRow("loopback first: the first interface's instead")
        << QByteArray("box") << Addresses {Bytes({127, 0, 1, 1}), Bytes({10, 0, 0, 1})}
        << Addresses {Bytes({192, 0, 2, 7}), Bytes({198, 51, 100, 3})} << QByteArray("box")
        << "192.0.2.7";
    QTest::newRow("loopback and no other interface")
        << QByteArray("box") << Addresses {Bytes({127, 0, 1, 1})} << Addresses()
        << QByteArray("box") << "127.0.1.1";
    QTest::newRow("loopback later in the list is not looked at")
        << QByteArray("box") << Addresses {Bytes({192, 168, 0, 5}), Bytes({127, 0, 0, 1})}
        << Addresses {Bytes({10, 9, 8, 7})} << QByteArray("box") << "192.168.0.5";
    QTest::newRow("bytes above 127") << QByteArray("box") << Addresses {Bytes({255, 254, 128, 200})}
                                     << Addresses() << QByteArray("box") << "255.254.128.200";
    QTest::newRow("record of 16 bytes")
        << QByteArray("box")
        << Addresses {Bytes({32, 1, 13, 184, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 1})} << Addresses()
        << QByteArray("box") << "32.1.13.184.0.0.0.0.0.0.0.0.0.0.255.1";
    QTest::newRow("record of 2 bytes") << QByteArray("box") << Addresses {Bytes({7, 8})}
                                       << Addresses() << QByteArray("box") << "7.8";
    QTest::newRow("name with surrounding spaces")
        << QByteArray("  box two  ") << Addresses {Bytes({10, 0, 0, 1})} << Addresses()
        << QByteArray("box two") << "10.0.0.1";
    QTest::newRow("name filling the whole buffer")
        << QByteArray(300, 'a') << Addresses {Bytes({10, 0, 0, 1})} << Addresses()
        << QByteArray(255, 'a') << "10.0.0.1";
}

void tst_HostAddress::addresses()
{
    QFETCH(QByteArray, hostName);
    QFETCH(Addresses, resolved);
    QFETCH(Addresses, interfaces);
    QFETCH(QByteArray, lookedUp);
    QFETCH(QString, expected);

    FakeWinsock sockets;
    win::WinsockLayer layer(sockets);
    sockets.hostName = hostName;
    sockets.addresses = resolved;
    sockets.interfaces = interfaces;
    FakeUserDialogs dialogs;

    QCOMPARE(GetLocalAddress(layer, dialogs), expected);
    QCOMPARE(sockets.resolvedName, lookedUp);
    QCOMPARE(dialogs.messages, QStringList());
    // Started and stopped once: nothing stays open between lookups.
    QCOMPARE(sockets.calls.count("Startup"), 1);
    QCOMPARE(sockets.calls.count("Cleanup"), 1);
    QCOMPARE(sockets.calls.last(), QString("Cleanup"));
}

void tst_HostAddress::cleanupFailureStillGivesTheAddress()
{
    FakeWinsock sockets;
    win::WinsockLayer layer(sockets);
    sockets.cleanupResult = -1;
    FakeUserDialogs dialogs;
    QCOMPARE(GetLocalAddress(layer, dialogs), QString("192.168.0.5"));
    QCOMPARE(dialogs.messages, QStringList {"Socket error occurred in Cleanup."});
    QCOMPARE(dialogs.titles, QStringList {"QuorBrowser"});
}

void tst_HostAddress::realLayer()
{
    char name[win::HostNameBufferLength] = {};
    QVERIFY(::gethostname(name, sizeof name - 1) == 0);
    // The name is looked up for real; only where the hosts file answers, so the test never
    // asks a name server.
    QFile hosts("/etc/hosts");
    QVERIFY(hosts.open(QIODevice::ReadOnly));
    bool listed = false;
    for (const QByteArray &line : hosts.readAll().split('\n'))
        listed = listed || line.split('#').first().simplified().split(' ').mid(1).contains(name);
    if (!listed)
        QSKIP("This machine's host name is not in /etc/hosts; looking it up would ask the network");

    PosixSocketLayer sockets;
    FakeUserDialogs dialogs;
    const QString address = GetLocalAddress(sockets, dialogs);
    QCOMPARE(dialogs.messages, QStringList());

    const QHostAddress parsed(address);
    QCOMPARE(parsed.protocol(), QAbstractSocket::IPv4Protocol);
    QCOMPARE(parsed.toString(), address);
    QList<QHostAddress> outward;
    for (const QNetworkInterface &i : QNetworkInterface::allInterfaces()) {
        if (!(i.flags() & QNetworkInterface::IsUp) || (i.flags() & QNetworkInterface::IsLoopBack))
            continue;
        for (const QNetworkAddressEntry &entry : i.addressEntries()) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                outward << entry.ip();
        }
    }
    if (parsed.isLoopback())
        QVERIFY2(outward.isEmpty(), "a loopback address although an interface has another");
    else
        QVERIFY2(QNetworkInterface::allAddresses().contains(parsed),
                 qPrintable(address + " is none of this machine's addresses"));
}

QTEST_GUILESS_MAIN(tst_HostAddress)
#include "tst_HostAddress.moc"
