#include "FakeProcessLauncher.h"
#include "IsolatedHome.h"
#include "TestFiles.h"
#include "associations/XdgAssociations.h"
#include "associations/XdgFiles.h"

#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

static IsolatedHome isolatedHome;

static const QString Ours = "org.ombrane.QuorBrowser.desktop";
static const QString Portable = "org.ombrane.QuorBrowser.Portable.desktop";
static const QString Viewer = "org.example.Viewer.desktop";

// What the user chose before: another viewer opens JPEG pictures and plain text.
static const QByteArray ChosenBefore = "# Chosen by hand\n"
                                       "[Added Associations]\n"
                                       "image/jpeg=org.example.Viewer.desktop;\n"
                                       "text/plain=org.example.Viewer.desktop;\n"
                                       "\n"
                                       "[Default Applications]\n"
                                       "image/jpeg=org.example.Viewer.desktop;\n"
                                       "text/plain=org.example.Viewer.desktop;\n";

class tst_XdgAssociations : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void clientsSeeTheDefault_data();
    void clientsSeeTheDefault();
    void webLinksStillOpenTheProgram_data();
    void webLinksStillOpenTheProgram();
    void oldWizardEntryGoes();
    void portableEntryGivesBackOneTypeAtATime();
    void desktopEntryIsValid_data();
    void desktopEntryIsValid();
    void desktopOpensADocument();
    void createFailures_data();
    void createFailures();
    void removeWithoutAList();
    void removeFailsWhenTheListCannotBeRead();
    void notify_data();
    void notify();
    void notifyBuildsTheIndex();
    void userFolders_data();
    void userFolders();

private:
    QString Path(const QString &name) const { return m_root->filePath(name); }
    QString DataHome() const { return Path("data"); }
    QString ConfigHome() const { return Path("config"); }
    // An executable standing in for the program: it writes its arguments, one a line in
    // brackets, to "args" beside itself.
    QString MakeProgram(const QString &folder);
    void MakeViewer();
    // The installed entry in the system's applications folder, starting program by the command
    // "quorbrowser" found on PATH, as the package installs it.
    void Install(const QString &program);
    // What the desktop's index tools do after a change (the wizard starts them on its own).
    void RefreshIndex();
    QProcessEnvironment ClientEnvironment(bool gnome = false) const;
    // The default program of a MIME type as the client tells it; empty for none. "xdg-mime
    // under GNOME" asks xdg-mime in a GNOME session, which asks gio.
    QString DefaultOf(const QString &client, const QString &mimeType);

    std::unique_ptr<QTemporaryDir> m_root;
    QByteArray m_path;
};

void tst_XdgAssociations::init()
{
    m_root = std::make_unique<QTemporaryDir>();
    QVERIFY(m_root->isValid());
    for (const char *folder : {"data", "config", "system-data", "system-config", "cache"})
        QVERIFY(QDir().mkpath(Path(folder)));
    m_path = qgetenv("PATH");
}

void tst_XdgAssociations::cleanup()
{
    qputenv("PATH", m_path);
    m_root.reset();
}

QString tst_XdgAssociations::MakeProgram(const QString &folder)
{
    QDir().mkpath(Path(folder));
    const QString program = Path(folder) + "/QuorBrowser";
    WriteAll(program,
             "#!/bin/sh\n"
             "out=\"$(dirname \"$0\")/args\"\n"
             "printf '[%s]\\n' \"$@\" > \"$out.part\" && mv \"$out.part\" \"$out\"\n");
    QFile::setPermissions(
        program, QFile::permissions(program) | QFile::ExeUser | QFile::ExeGroup | QFile::ExeOther);
    return program;
}

void tst_XdgAssociations::MakeViewer()
{
    QDir().mkpath(DataHome() + "/applications");
    WriteAll(DataHome() + "/applications/" + Viewer,
             "[Desktop Entry]\n"
             "Type=Application\n"
             "Name=Viewer\n"
             "Exec=true %f\n"
             "MimeType=image/jpeg;text/plain;\n");
}

void tst_XdgAssociations::Install(const QString &program)
{
    QDir().mkpath(Path("system-data/applications"));
    QVERIFY(QFile::copy(QUOR_INSTALLED_ENTRY,
                        Path("system-data/applications/org.ombrane.QuorBrowser.desktop")));
    QDir().mkpath(Path("bin"));
    QVERIFY(QFile::link(program, Path("bin/quorbrowser")));
    qputenv("PATH", QFile::encodeName(Path("bin")) + ':' + m_path);
    RefreshIndex();
}

void tst_XdgAssociations::RefreshIndex()
{
    if (QStandardPaths::findExecutable("update-desktop-database").isEmpty())
        return;
    for (const QString &folder : {DataHome() + "/applications", Path("system-data/applications")}) {
        if (!QFileInfo(folder).isDir())
            continue;
        QProcess tool;
        tool.setProcessEnvironment(ClientEnvironment());
        tool.start("update-desktop-database", {folder});
        QVERIFY(tool.waitForFinished(30000));
    }
}

QProcessEnvironment tst_XdgAssociations::ClientEnvironment(bool gnome) const
{
    // Nothing of the desktop this test runs in: its own folders only, and no session.
    QProcessEnvironment env;
    env.insert("PATH", Path("bin") + ':' + QString::fromLocal8Bit(m_path));
    if (gnome)
        env.insert("XDG_CURRENT_DESKTOP", "GNOME");
    env.insert("HOME", Path("."));
    env.insert("XDG_DATA_HOME", DataHome());
    env.insert("XDG_CONFIG_HOME", ConfigHome());
    env.insert("XDG_DATA_DIRS", Path("system-data"));
    env.insert("XDG_CONFIG_DIRS", Path("system-config"));
    env.insert("XDG_CACHE_HOME", Path("cache"));
    env.insert("LC_ALL", "C.UTF-8");
    env.insert("GIO_USE_VFS", "local");
    return env;
}

QString tst_XdgAssociations::DefaultOf(const QString &client, const QString &mimeType)
{
    QProcess process;
    const bool xdgMime = client.startsWith("xdg-mime");
    process.setProcessEnvironment(ClientEnvironment(client.endsWith("GNOME")));
    if (xdgMime)
        process.start("xdg-mime", {"query", "default", mimeType});
    else
        process.start("gio", {"mime", mimeType});
    if (!process.waitForFinished(30000))
        return "<" + client + " failed: " + process.readAllStandardError() + ">";
    // gio answers a type without a default with a status of its own.
    const QString first = QString::fromUtf8(process.readAllStandardOutput()).split('\n').first();
    if (xdgMime)
        return process.exitCode() == 0 ? first.trimmed() : QString();
    // "Default application for “image/jpeg”: name.desktop", or "No default applications ..."
    if (!first.startsWith("Default application for"))
        return QString();
    return first.mid(first.lastIndexOf(": ") + 2).trimmed();
}

void tst_XdgAssociations::clientsSeeTheDefault_data()
{
    QTest::addColumn<QString>("client");
    QTest::addColumn<QString>("copy"); // installed, or portable (in a folder of that name)
    QTest::addColumn<bool>("viewerBefore"); // another program was the default before
    for (const char *client : {"xdg-mime", "gio", "xdg-mime under GNOME"}) {
        for (const char *copy : {"installed", "portable", "portable Folder with blanks"}) {
            // xdg-mime takes the program up to the first blank (xdg-utils 1.1.3).
            if (QByteArray(client).startsWith("xdg-mime") && QByteArray(copy).contains(' '))
                continue;
            QTest::addRow("%s, %s, a viewer before", client, copy) << client << copy << true;
            QTest::addRow("%s, %s, nothing before", client, copy) << client << copy << false;
        }
    }
}

void tst_XdgAssociations::clientsSeeTheDefault()
{
    QFETCH(QString, client);
    QFETCH(QString, copy);
    QFETCH(bool, viewerBefore);
    const QString tool = client.section(' ', 0, 0);
    if (QStandardPaths::findExecutable(tool).isEmpty())
        QSKIP(qPrintable(tool + " is not installed (tools/install-deps installs it)"));

    const bool installed = copy == "installed";
    const QString program = MakeProgram(installed ? QString("Program") : copy.mid(9));
    if (installed)
        Install(program);
    if (viewerBefore) {
        MakeViewer();
        WriteAll(ConfigHome() + "/mimeapps.list", ChosenBefore);
    }
    RefreshIndex();
    const QString before = viewerBefore ? Viewer : QString();
    QCOMPARE(DefaultOf(client, "image/jpeg"), before);

    FakeProcessLauncher launcher;
    XdgAssociations associations(launcher, DataHome(), ConfigHome(), {Path("system-data")});
    QVERIFY(associations.CreateAssociation(program, "jpg"));
    RefreshIndex();
    const QString id = installed ? Ours : Portable;
    QCOMPARE(DefaultOf(client, "image/jpeg"), id);
    QCOMPARE(DefaultOf(client, "x-scheme-handler/http"), id); // links still open it
    if (viewerBefore)
        QCOMPARE(DefaultOf(client, "text/plain"), Viewer);
    // Installed, it writes no entry that would stand in for the installed one.
    QCOMPARE(QFile::exists(associations.DesktopEntryPath()), !installed);
    QVERIFY(!QFile::exists(DataHome() + "/applications/" + Ours));

    QVERIFY(associations.RemoveAssociation(".jpg"));
    RefreshIndex();
    QCOMPARE(DefaultOf(client, "image/jpeg"), before);
    if (viewerBefore)
        QCOMPARE(ReadAll(ConfigHome() + "/mimeapps.list"), ChosenBefore);
    QVERIFY(!QFile::exists(associations.DesktopEntryPath()));
}

void tst_XdgAssociations::webLinksStillOpenTheProgram_data()
{
    QTest::addColumn<bool>("installed");
    QTest::newRow("installed") << true;
    QTest::newRow("portable") << false;
}

void tst_XdgAssociations::webLinksStillOpenTheProgram()
{
    QFETCH(bool, installed);
    if (QStandardPaths::findExecutable("gio").isEmpty())
        QSKIP("gio is not installed (Debian package libglib2.0-bin)");
    const QString program = MakeProgram("Program");
    if (installed)
        Install(program);
    FakeProcessLauncher launcher;
    XdgAssociations associations(launcher, DataHome(), ConfigHome(), {Path("system-data")});
    QVERIFY(associations.CreateAssociation(program, "htm"));
    RefreshIndex();

    QProcess gio;
    gio.setProcessEnvironment(ClientEnvironment());
    gio.start("gio", {"open", "http://127.0.0.1:9/page"});
    QVERIFY(gio.waitForFinished(30000));
    QVERIFY2(gio.exitCode() == 0, gio.readAllStandardError().constData());
    // The stand-in writes beside the name it was started by: the command, when installed.
    const QString args = Path(installed ? "bin/args" : "Program/args");
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(args), 10000);
    QCOMPARE(ReadAll(args), QByteArray("[http://127.0.0.1:9/page]\n"));
}

void tst_XdgAssociations::portableEntryGivesBackOneTypeAtATime()
{
    // Two kinds given, one taken back: the entry keeps the other and what every entry of the
    // program opens; the second taken back, the entry goes. Nothing was there before.
    FakeProcessLauncher launcher;
    XdgAssociations associations(launcher, DataHome(), ConfigHome(), {Path("system-data")});
    const QString program = MakeProgram("Program");
    QVERIFY(associations.CreateAssociation(program, "jpg"));
    QVERIFY(associations.CreateAssociation(program, "gif"));
    const QStringList browser = DesktopEntryMimeTypes(DesktopEntry(program));
    QCOMPARE(DesktopEntryMimeTypes(ReadAll(associations.DesktopEntryPath())),
             (browser + QStringList {"image/jpeg", "image/gif"}));

    QVERIFY(associations.RemoveAssociation("jpg"));
    QCOMPARE(DesktopEntryMimeTypes(ReadAll(associations.DesktopEntryPath())),
             (browser + QStringList {"image/gif"}));
    QCOMPARE(DesktopEntryProgram(ReadAll(associations.DesktopEntryPath())), program);
    QVERIFY(ReadAll(associations.MimeAppsListPath()).contains("image/gif=" + Portable.toUtf8()));
    QVERIFY(!ReadAll(associations.MimeAppsListPath()).contains("image/jpeg"));

    // The page type is one every entry opens: taking it back leaves the entry's list alone.
    QVERIFY(associations.CreateAssociation(program, "htm"));
    QVERIFY(associations.RemoveAssociation("html"));
    QCOMPARE(DesktopEntryMimeTypes(ReadAll(associations.DesktopEntryPath())),
             (browser + QStringList {"image/gif"}));

    QVERIFY(associations.RemoveAssociation("gif"));
    QVERIFY(!QFile::exists(associations.DesktopEntryPath()));
    QVERIFY(!NamesApplication(ReadAll(associations.MimeAppsListPath()), Portable));
}

void tst_XdgAssociations::oldWizardEntryGoes()
{
    // Earlier versions wrote their entry under the installed entry's id; a person's own entry
    // of that name stays.
    QDir().mkpath(DataHome() + "/applications");
    const QString old = DataHome() + "/applications/" + Ours;
    WriteAll(old, DesktopEntry("/opt/old/QuorBrowser"));
    FakeProcessLauncher launcher;
    XdgAssociations associations(launcher, DataHome(), ConfigHome(), {Path("system-data")});
    QVERIFY(associations.RemoveAssociation("gif"));
    QVERIFY(!QFile::exists(old));
    WriteAll(old, "[Desktop Entry]\nType=Application\nName=Mine\nExec=true\n");
    QVERIFY(associations.CreateAssociation(MakeProgram("Program"), "gif"));
    QVERIFY(QFile::exists(old));
}

void tst_XdgAssociations::desktopEntryIsValid_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("plain folder") << "Program";
    QTest::newRow("folder with blanks and specials")
        << "Quor Browser $x \"q\" back\\slash 'a' ~&;#()";
}

void tst_XdgAssociations::desktopEntryIsValid()
{
    QFETCH(QString, folder);
    if (QStandardPaths::findExecutable("desktop-file-validate").isEmpty())
        QSKIP("desktop-file-validate is not installed (Debian package desktop-file-utils)");
    FakeProcessLauncher launcher;
    XdgAssociations associations(launcher, DataHome(), ConfigHome());
    QVERIFY(associations.CreateAssociation(MakeProgram(folder), "gif"));
    QProcess validate;
    validate.setProcessEnvironment(ClientEnvironment());
    validate.start("desktop-file-validate", {associations.DesktopEntryPath()});
    QVERIFY(validate.waitForFinished(30000));
    const QByteArray said = validate.readAllStandardOutput() + validate.readAllStandardError();
    QVERIFY2(validate.exitCode() == 0 && !said.contains("error"), said.constData());
}

void tst_XdgAssociations::desktopOpensADocument()
{
    if (QStandardPaths::findExecutable("gio").isEmpty())
        QSKIP("gio is not installed (Debian package libglib2.0-bin)");
    const QString folder = "Quor Browser $x \"q\" back\\slash 'a' `b` ~&;#()";
    const QString program = MakeProgram(folder);
    FakeProcessLauncher launcher;
    XdgAssociations associations(launcher, DataHome(), ConfigHome());
    QVERIFY(associations.CreateAssociation(program, "jpg"));

    const QString document = Path("a holiday picture.jpg");
    WriteAll(document, "not really a picture");
    QProcess gio;
    gio.setProcessEnvironment(ClientEnvironment());
    gio.start("gio", {"launch", associations.DesktopEntryPath(), document});
    QVERIFY(gio.waitForFinished(30000));
    QVERIFY2(gio.exitCode() == 0, gio.readAllStandardError().constData());

    const QString args = Path(folder) + "/args";
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(args), 10000);
    const QByteArray received = ReadAll(args);
    const QByteArray asPath = "[" + document.toUtf8() + "]\n";
    const QByteArray asUrl = "[" + QUrl::fromLocalFile(document).toEncoded() + "]\n";
    QVERIFY2(received == asPath || received == asUrl, received.constData());
}

void tst_XdgAssociations::createFailures_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("extension");
    QTest::newRow("a kind the program does not open") << ""
                                                      << "png";
    QTest::newRow("mimeapps.list is a folder") << "list is a folder"
                                               << "jpg";
    QTest::newRow("the configuration folder is a file") << "config is a file"
                                                        << "jpg";
}

void tst_XdgAssociations::createFailures()
{
    QFETCH(QString, setup);
    QFETCH(QString, extension);
    QString configHome = ConfigHome();
    if (setup == "list is a folder")
        QVERIFY(QDir().mkpath(configHome + "/mimeapps.list"));
    if (setup == "config is a file") {
        configHome = Path("config-file");
        WriteAll(configHome, "a file");
    }
    FakeProcessLauncher launcher;
    XdgAssociations associations(launcher, DataHome(), configHome);
    QVERIFY(!associations.CreateAssociation(MakeProgram("Program"), extension));
    if (setup.isEmpty()) {
        QVERIFY(!QFile::exists(associations.MimeAppsListPath()));
        QVERIFY(!QFile::exists(associations.DesktopEntryPath()));
    }
    if (setup == "list is a folder")
        QVERIFY(QFileInfo(associations.MimeAppsListPath()).isDir());
    if (setup == "config is a file")
        QCOMPARE(ReadAll(configHome), QByteArray("a file"));
}

void tst_XdgAssociations::removeWithoutAList()
{
    FakeProcessLauncher launcher;
    XdgAssociations associations(launcher, DataHome(), ConfigHome());
    QVERIFY(associations.RemoveAssociation(".htm"));
    QVERIFY(!QFile::exists(associations.MimeAppsListPath()));
}

void tst_XdgAssociations::removeFailsWhenTheListCannotBeRead()
{
    QVERIFY(QDir().mkpath(ConfigHome() + "/mimeapps.list"));
    FakeProcessLauncher launcher;
    XdgAssociations associations(launcher, DataHome(), ConfigHome());
    QVERIFY(!associations.RemoveAssociation(".jpg"));
}

void tst_XdgAssociations::notify_data()
{
    QTest::addColumn<bool>("toolInstalled");
    QTest::addColumn<bool>("applicationsFolder");
    QTest::addColumn<bool>("runs");
    QTest::newRow("tool installed") << true << true << true;
    QTest::newRow("tool not installed") << false << true << false;
    QTest::newRow("no applications folder yet") << true << false << false;
}

void tst_XdgAssociations::notify()
{
    QFETCH(bool, toolInstalled);
    QFETCH(bool, applicationsFolder);
    QFETCH(bool, runs);
    const QString bin = Path("bin");
    QVERIFY(QDir().mkpath(bin));
    if (toolInstalled) {
        WriteAll(bin + "/update-desktop-database", "#!/bin/sh\nexit 0\n");
        QFile::setPermissions(bin + "/update-desktop-database",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    if (applicationsFolder)
        QVERIFY(QDir().mkpath(DataHome() + "/applications"));
    qputenv("PATH", QFile::encodeName(bin));

    FakeProcessLauncher launcher;
    XdgAssociations associations(launcher, DataHome(), ConfigHome());
    associations.NotifyAssociationChange();
    if (!runs) {
        QCOMPARE(launcher.launched.size(), 0);
        return;
    }
    QCOMPARE(launcher.launched.size(), 1);
    QCOMPARE(launcher.launched[0].program, bin + "/update-desktop-database");
    QCOMPARE(launcher.launched[0].arguments, QStringList {DataHome() + "/applications"});
}

void tst_XdgAssociations::notifyBuildsTheIndex()
{
    if (QStandardPaths::findExecutable("update-desktop-database").isEmpty())
        QSKIP("update-desktop-database is not installed (Debian package desktop-file-utils)");
    DetachedProcessLauncher launcher;
    XdgAssociations associations(launcher, DataHome(), ConfigHome());
    QVERIFY(associations.CreateAssociation(MakeProgram("Program"), "gif"));
    associations.NotifyAssociationChange();
    const QString index = DataHome() + "/applications/mimeinfo.cache";
    QTRY_VERIFY_WITH_TIMEOUT(ReadAll(index).contains("image/gif=" + Portable.toUtf8()), 20000);
}

void tst_XdgAssociations::userFolders_data()
{
    QTest::addColumn<QByteArray>("dataVariable");
    QTest::addColumn<QByteArray>("configVariable");
    QTest::addColumn<QString>("dataHome");
    QTest::addColumn<QString>("configHome");
    QTest::newRow("absolute paths") << QByteArray("/srv/d") << QByteArray("/srv/c") << "/srv/d"
                                    << "/srv/c";
    QTest::newRow("empty") << QByteArray() << QByteArray() << "HOME/.local/share"
                           << "HOME/.config";
    QTest::newRow("relative paths are ignored")
        << QByteArray("d") << QByteArray("c") << "HOME/.local/share"
        << "HOME/.config";
}

void tst_XdgAssociations::userFolders()
{
    QFETCH(QByteArray, dataVariable);
    QFETCH(QByteArray, configVariable);
    QFETCH(QString, dataHome);
    QFETCH(QString, configHome);
    const QByteArray home = qgetenv("HOME");
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(Path("h")));
    qputenv("XDG_DATA_HOME", dataVariable);
    qputenv("XDG_CONFIG_HOME", configVariable);
    const QString data = XdgAssociations::DataHome();
    const QString config = XdgAssociations::ConfigHome();
    qputenv("HOME", home);
    qputenv("XDG_DATA_HOME", oldData);
    qputenv("XDG_CONFIG_HOME", oldConfig);
    QCOMPARE(data, QString(dataHome).replace("HOME", Path("h")));
    QCOMPARE(config, QString(configHome).replace("HOME", Path("h")));
}

QTEST_GUILESS_MAIN(tst_XdgAssociations)
#include "tst_XdgAssociations.moc"
