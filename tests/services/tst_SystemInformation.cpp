#include "FakeProcessLauncher.h"
#include "FakeUserDialogs.h"
#include "IsolatedHome.h"
#include "MemoryRegistry.h"
#include "TestFiles.h"
#include "services/SystemInformation.h"
#include "services/win/SysInfoLookup.h"

#include <QtTest>

static IsolatedHome isolatedHome;

static const QString Unavailable = "System Information Is Unavailable At This Time";
static const QString MsInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
static const QString LocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

class tst_SystemInformation : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void toolOnPath_data();
    void toolOnPath();
    void getKeyValue_data();
    void getKeyValue();
    void toolInRegistry_data();
    void toolInRegistry();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QByteArray m_path;
};

void tst_SystemInformation::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_path = qgetenv("PATH");
}

void tst_SystemInformation::cleanup()
{
    qputenv("PATH", m_path);
}

void tst_SystemInformation::toolOnPath_data()
{
    QTest::addColumn<QStringList>("executables");
    QTest::addColumn<QStringList>("notExecutable");
    QTest::addColumn<bool>("launchSucceeds");
    QTest::addColumn<QStringList>("tried");
    QTest::addColumn<QString>("message");

    QTest::newRow("several: the first of the list")
        << QStringList {"gnome-system-monitor", "kinfocenter", "hardinfo"} << QStringList() << true
        << QStringList {"hardinfo"} << "";
    QTest::newRow("only the second") << QStringList {"kinfocenter"} << QStringList() << true
                                     << QStringList {"kinfocenter"} << "";
    QTest::newRow("only the last") << QStringList {"gnome-system-monitor"} << QStringList() << true
                                   << QStringList {"gnome-system-monitor"} << "";
    QTest::newRow("a file that cannot run is passed over")
        << QStringList {"kinfocenter"} << QStringList {"hardinfo"} << true
        << QStringList {"kinfocenter"} << "";
    QTest::newRow("none") << QStringList() << QStringList {"hardinfo"} << true << QStringList()
                          << Unavailable;
    QTest::newRow("none will start")
        << QStringList {"hardinfo", "gnome-system-monitor"} << QStringList() << false
        << QStringList {"hardinfo", "gnome-system-monitor"} << Unavailable;
}

void tst_SystemInformation::toolOnPath()
{
    QFETCH(QStringList, executables);
    QFETCH(QStringList, notExecutable);
    QFETCH(bool, launchSucceeds);
    QFETCH(QStringList, tried);
    QFETCH(QString, message);

    const QString bin = m_dir->filePath("bin");
    QVERIFY(QDir().mkpath(bin));
    for (const QString &name : executables + notExecutable) {
        WriteAll(bin + "/" + name, "#!/bin/sh\nexit 0\n");
        if (executables.contains(name))
            QFile::setPermissions(bin + "/" + name,
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    qputenv("PATH", QFile::encodeName(bin));

    FakeProcessLauncher launcher;
    launcher.succeeds = launchSucceeds;
    FakeUserDialogs dialogs;
    PathSystemInformation(launcher, dialogs).StartSysInfo(nullptr);

    QStringList launched;
    for (const auto &l : launcher.launched) {
        launched << QFileInfo(l.program).fileName();
        QCOMPARE(QFileInfo(l.program).absolutePath(), bin);
        QCOMPARE(l.arguments, QStringList());
        QCOMPARE(l.style, ProcessLauncher::WindowStyle::Normal);
    }
    QCOMPARE(launched, tried);
    QCOMPARE(dialogs.messages, message.isEmpty() ? QStringList() : QStringList {message});
    QCOMPARE(dialogs.titles, message.isEmpty() ? QStringList() : QStringList {"QuorBrowser"});
}

void tst_SystemInformation::getKeyValue_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("type");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<QString>("value");

    QTest::newRow("text") << MsInfoKey << 1 << QByteArray("C:\\tools\\msinfo32.exe\0", 22) << true
                          << "C:\\tools\\msinfo32.exe";
    QTest::newRow("cut at the first NUL")
        << MsInfoKey << 1 << QByteArray("C:\\a.exe\0junk\0", 14) << true << "C:\\a.exe";
    QTest::newRow("1023 characters fit")
        << MsInfoKey << 1 << QByteArray(1023, 'x') + '\0' << true << QString(1023, 'x');
    QTest::newRow("1024 characters do not")
        << MsInfoKey << 1 << QByteArray(1024, 'x') + '\0' << false << "";
    QTest::newRow("not a text") << MsInfoKey << 2 << QByteArray("%SystemRoot%\\x.exe\0", 19) << true
                                << "";
    QTest::newRow("no such key") << "SOFTWARE\\Elsewhere" << 1 << QByteArray("x\0", 2) << false
                                 << "";
}

void tst_SystemInformation::getKeyValue()
{
    QFETCH(QString, key);
    QFETCH(int, type);
    QFETCH(QByteArray, stored);
    QFETCH(bool, expected);
    QFETCH(QString, value);

    MemoryRegistry registry;
    registry.PutValue(RegistryRoot::LocalMachine, key, "PATH", quint32(type), stored);
    std::string read = "left over";
    QCOMPARE(win::GetKeyValue(registry, RegistryRoot::LocalMachine, MsInfoKey.toStdString(), "PATH",
                              read),
             expected);
    QCOMPARE(QString::fromStdString(read), value);
    QCOMPARE(registry.OpenHandles(), 0);
    QCOMPARE(registry.lastAccess, quint32(0x20019)); // read access only
    QVERIFY(!win::GetKeyValue(registry, RegistryRoot::LocalMachine, MsInfoKey.toStdString(),
                              "Other", read));
    QCOMPARE(read, std::string());
}

void tst_SystemInformation::toolInRegistry_data()
{
    QTest::addColumn<QString>("pathValue"); // empty: none
    QTest::addColumn<int>("pathType");
    QTest::addColumn<bool>("locationValue");
    QTest::addColumn<bool>("fileThere");
    QTest::addColumn<bool>("launchSucceeds");
    QTest::addColumn<QString>("started"); // "FOLDER" stands for the registered folder
    QTest::addColumn<QString>("message");

    QTest::newRow("full path registered")
        << "C:\\Tools\\MSINFO32.EXE" << 1 << true << true << true << "C:\\Tools\\MSINFO32.EXE"
        << "";
    QTest::newRow("only the folder, file there")
        << "" << 1 << true << true << true << "FOLDER\\MSINFO32.EXE"
        << "";
    QTest::newRow("only the folder, file missing")
        << "" << 1 << true << false << true << "" << Unavailable;
    QTest::newRow("full path too long: the folder instead")
        << QString(1024, 'p') << 1 << true << true << true << "FOLDER\\MSINFO32.EXE"
        << "";
    QTest::newRow("full path not a text: nothing else is tried")
        << "C:\\Tools\\MSINFO32.EXE" << 2 << true << true << true << "" << Unavailable;
    QTest::newRow("nothing registered") << "" << 1 << false << false << true << "" << Unavailable;
    QTest::newRow("the tool will not start") << "C:\\Tools\\MSINFO32.EXE" << 1 << true << true
                                             << false << "C:\\Tools\\MSINFO32.EXE" << Unavailable;
}

void tst_SystemInformation::toolInRegistry()
{
    QFETCH(QString, pathValue);
    QFETCH(int, pathType);
    QFETCH(bool, locationValue);
    QFETCH(bool, fileThere);
    QFETCH(bool, launchSucceeds);
    QFETCH(QString, started);
    QFETCH(QString, message);

    // The folder's name and the file's joined with a backslash, as the registry's tool is
    // found; here that is one file name in the temporary folder.
    const QString folder = m_dir->filePath("Shared Tools");
    MemoryRegistry registry;
    if (!pathValue.isEmpty())
        registry.PutValue(RegistryRoot::LocalMachine, MsInfoKey, "PATH", quint32(pathType),
                          pathValue.toUtf8() + '\0');
    if (locationValue)
        registry.PutText(RegistryRoot::LocalMachine, LocationKey, "MSINFO", folder);
    if (fileThere)
        WriteAll(folder + "\\MSINFO32.EXE", "tool");

    FakeProcessLauncher launcher;
    launcher.succeeds = launchSucceeds;
    FakeUserDialogs dialogs;
    RegistrySystemInformation(registry, launcher, dialogs).StartSysInfo(nullptr);

    if (started.isEmpty()) {
        QCOMPARE(launcher.launched.size(), 0);
    } else {
        QCOMPARE(launcher.launched.size(), 1);
        QCOMPARE(launcher.launched[0].program, QString(started).replace("FOLDER", folder));
        QCOMPARE(launcher.launched[0].style, ProcessLauncher::WindowStyle::Normal);
    }
    QCOMPARE(dialogs.messages, message.isEmpty() ? QStringList() : QStringList {message});
    QCOMPARE(dialogs.titles, message.isEmpty() ? QStringList() : QStringList {"QuorBrowser"});
    QCOMPARE(registry.OpenHandles(), 0);
}

QTEST_GUILESS_MAIN(tst_SystemInformation)
#include "tst_SystemInformation.moc"
