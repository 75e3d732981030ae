#include "IsolatedHome.h"
#include "MemoryRegistry.h"
#include "associations/RegistryAssociations.h"

#include <QtTest>

namespace {

// The shell is told of nothing in these tests.
void NothingToTell() { }

} // namespace

static IsolatedHome isolatedHome;

class tst_RegistryAssociations : public QObject
{
    Q_OBJECT

private slots:
    void exeNameFromPath_data();
    void exeNameFromPath();
    void keyLayout_data();
    void keyLayout();
    void associatingTwiceWritesTheSame();
    void stopsAtTheFirstFailure_data();
    void stopsAtTheFirstFailure();
    void removeAssociation_data();
    void removeAssociation();
    void notifiesOnlyWhenAsked();
};

void tst_RegistryAssociations::exeNameFromPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::newRow("program in a folder") << "C:\\Program Files\\QuorBrowser\\QuorBrowser.exe"
                                         << "QuorBrowser.exe";
    QTest::newRow("no folder") << "QuorBrowser.exe"
                               << "QuorBrowser.exe";
    QTest::newRow("surrounding spaces") << "C:\\Apps\\  Quor.exe  "
                                        << "Quor.exe";
    QTest::newRow("one trailing NUL") << QString("C:\\Apps\\Quor.exe") + QChar(0) << "Quor.exe";
    QTest::newRow("only one NUL is dropped")
        << QString("C:\\Apps\\Quor.exe") + QChar(0) + QChar(0) << QString("Quor.exe") + QChar(0);
    QTest::newRow("NUL after spaces") << QString("C:\\Apps\\Quor.exe ") + QChar(0) << "Quor.exe ";
    const QString spacesAfterNul = QString("C:\\Apps\\Quor.exe") + QChar(0) + "  ";
    QTest::newRow("spaces after NUL") << spacesAfterNul << "Quor.exe";
    QTest::newRow("folder only") << "C:\\Apps\\"
                                 << "";
    QTest::newRow("blanks inside are kept") << "D:\\x\\Quor Browser.exe"
                                            << "Quor Browser.exe";
}

void tst_RegistryAssociations::exeNameFromPath()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    QCOMPARE(RegistryAssociations::ExeNameFromPath(path), expected);
}

void tst_RegistryAssociations::keyLayout_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("jpg")
        << "C:\\QuorBrowser\\QuorBrowser.exe"
        << "jpg"
        << QStringList {
               ".jpg = QuorBrowser.exe",
               "QuorBrowser.exe",
               "QuorBrowser.exe\\DefaultIcon = C:\\QuorBrowser\\QuorBrowser.exe",
               "QuorBrowser.exe\\shell",
               "QuorBrowser.exe\\shell\\open",
               "QuorBrowser.exe\\shell\\open\\command = \"C:\\QuorBrowser\\QuorBrowser.exe\" "
               "%1"};
    QTest::newRow("folder with blanks, extension with its dot")
        << "C:\\Program Files\\Quor Browser\\QuorBrowser.exe"
        << ".html"
        << QStringList {".html = QuorBrowser.exe",
                        "QuorBrowser.exe",
                        "QuorBrowser.exe\\DefaultIcon = C:\\Program Files\\Quor "
                        "Browser\\QuorBrowser.exe",
                        "QuorBrowser.exe\\shell",
                        "QuorBrowser.exe\\shell\\open",
                        "QuorBrowser.exe\\shell\\open\\command = \"C:\\Program Files\\Quor "
                        "Browser\\QuorBrowser.exe\" %1"};
    QTest::newRow("path with forward slashes")
        << "C:/Apps/QuorBrowser.exe"
        << "gif"
        << QStringList {".gif = QuorBrowser.exe",
                        "QuorBrowser.exe",
                        "QuorBrowser.exe\\DefaultIcon = C:\\Apps\\QuorBrowser.exe",
                        "QuorBrowser.exe\\shell",
                        "QuorBrowser.exe\\shell\\open",
                        "QuorBrowser.exe\\shell\\open\\command = \"C:\\Apps\\QuorBrowser.exe\" %1"};
}

void tst_RegistryAssociations::keyLayout()
{
    QFETCH(QString, path);
    QFETCH(QString, extension);
    QFETCH(QStringList, expected);

    MemoryRegistry registry;
    RegistryAssociations associations(registry, NothingToTell);
    QVERIFY(associations.CreateAssociation(path, extension));
    QCOMPARE(registry.Dump(RegistryRoot::ClassesRoot), expected);
    QCOMPARE(registry.Dump(RegistryRoot::LocalMachine), QStringList());
    QCOMPARE(registry.OpenHandles(), 0);
}

void tst_RegistryAssociations::associatingTwiceWritesTheSame()
{
    MemoryRegistry registry;
    RegistryAssociations associations(registry, NothingToTell);
    const QString path = "C:\\QuorBrowser\\QuorBrowser.exe";
    QVERIFY(associations.CreateAssociation(path, "jpg"));
    const QStringList once = registry.Dump(RegistryRoot::ClassesRoot);
    QVERIFY(associations.CreateAssociation(path, "jpg"));
    QCOMPARE(registry.Dump(RegistryRoot::ClassesRoot), once);
}

void tst_RegistryAssociations::stopsAtTheFirstFailure_data()
{
    QTest::addColumn<int>("failingCall");
    QTest::addColumn<QStringList>("left");

    const QString command = "QuorBrowser.exe\\shell\\open\\command = \"C:\\Q\\QuorBrowser.exe\" %1";
    QTest::newRow("extension key not created") << 1 << QStringList();
    QTest::newRow("extension value not set") << 2 << QStringList {".jpg"};
    QTest::newRow("class key not created") << 3 << QStringList {".jpg = QuorBrowser.exe"};
    QTest::newRow("command not set")
        << 4 << QStringList {".jpg = QuorBrowser.exe", "QuorBrowser.exe"};
    QTest::newRow("class key not opened again")
        << 5
        << QStringList {".jpg = QuorBrowser.exe", "QuorBrowser.exe", "QuorBrowser.exe\\shell",
                        "QuorBrowser.exe\\shell\\open", command};
    QTest::newRow("icon not set") << 6
                                  << QStringList {".jpg = QuorBrowser.exe", "QuorBrowser.exe",
                                                  "QuorBrowser.exe\\shell",
                                                  "QuorBrowser.exe\\shell\\open", command};
}

void tst_RegistryAssociations::stopsAtTheFirstFailure()
{
    QFETCH(int, failingCall);
    QFETCH(QStringList, left);

    MemoryRegistry registry;
    registry.failWriteCall = failingCall;
    QVERIFY(!RegistryAssociations(registry, NothingToTell)
                 .CreateAssociation("C:\\Q\\QuorBrowser.exe", "jpg"));
    QCOMPARE(registry.writeCalls, failingCall);
    QCOMPARE(registry.Dump(RegistryRoot::ClassesRoot), left);
    QCOMPARE(registry.OpenHandles(), 0);
}

void tst_RegistryAssociations::removeAssociation_data()
{
    QTest::addColumn<QStringList>("associated");
    QTest::addColumn<QString>("extraKey");
    QTest::addColumn<long>("deleteResult");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<bool>("expected");
    QTest::addColumn<QStringList>("gone");
    QTest::addColumn<QStringList>("kept");

    const QString command = "QuorBrowser.exe\\shell\\open\\command";
    QTest::newRow("associated before")
        << QStringList {"jpg", "gif"} << QString() << RegistryResult::Success << ".jpg" << true
        << QStringList {".jpg"} << QStringList {".gif", "QuorBrowser.exe", command};
    QTest::newRow("extension key with subkeys")
        << QStringList {"jpg"} << ".jpg\\OpenWithProgids" << RegistryResult::Success << ".jpg"
        << true << QStringList {".jpg", ".jpg\\OpenWithProgids"}
        << QStringList {"QuorBrowser.exe", command};
    QTest::newRow("in other capitals")
        << QStringList {"jpg"} << QString() << RegistryResult::Success << ".JPG" << true
        << QStringList {".jpg"} << QStringList {"QuorBrowser.exe"};
    QTest::newRow("never associated")
        << QStringList {"gif"} << QString() << RegistryResult::Success << ".htm" << true
        << QStringList {".htm"} << QStringList {".gif", "QuorBrowser.exe"};
    QTest::newRow("registry refuses")
        << QStringList {"jpg"} << QString() << RegistryResult::AccessDenied << ".jpg" << false
        << QStringList() << QStringList {".jpg", "QuorBrowser.exe"};
    QTest::newRow("no extension: nothing deleted")
        << QStringList {"jpg"} << QString() << RegistryResult::Success << "" << false
        << QStringList() << QStringList {".jpg", "QuorBrowser.exe", command};
}

void tst_RegistryAssociations::removeAssociation()
{
    QFETCH(QStringList, associated);
    QFETCH(QString, extraKey);
    QFETCH(long, deleteResult);
    QFETCH(QString, extension);
    QFETCH(bool, expected);
    QFETCH(QStringList, gone);
    QFETCH(QStringList, kept);

    MemoryRegistry registry;
    RegistryAssociations associations(registry, NothingToTell);
    for (const QString &e : associated)
        QVERIFY(associations.CreateAssociation("C:\\Q\\QuorBrowser.exe", e));
    if (!extraKey.isEmpty())
        registry.PutText(RegistryRoot::ClassesRoot, extraKey, "QuorBrowser.exe", "");
    registry.deleteResult = deleteResult;

    QCOMPARE(associations.RemoveAssociation(extension), expected);
    for (const QString &key : gone)
        QVERIFY2(!registry.HasKey(RegistryRoot::ClassesRoot, key), qPrintable(key));
    for (const QString &key : kept)
        QVERIFY2(registry.HasKey(RegistryRoot::ClassesRoot, key), qPrintable(key));
}

void tst_RegistryAssociations::notifiesOnlyWhenAsked()
{
    MemoryRegistry registry;
    int notified = 0;
    RegistryAssociations associations(registry, [&notified] { ++notified; });
    QVERIFY(associations.CreateAssociation("C:\\Q\\QuorBrowser.exe", "jpg"));
    QVERIFY(associations.RemoveAssociation(".jpg"));
    QCOMPARE(notified, 0);
    associations.NotifyAssociationChange();
    QCOMPARE(notified, 1);
}

QTEST_GUILESS_MAIN(tst_RegistryAssociations)
#include "tst_RegistryAssociations.moc"
