// The program as `cmake --install` leaves it (the install_tree test installs the build folder
// into QUOR_INSTALL_ROOT under QUOR_INSTALL_PREFIX): its files, its icon, its desktop entry
// beside the association wizard's, and the installed program run the way a person runs it.

#include "EngineNoticeSeed.h"
#include "HttpServer.h"
#include "ProgramProcess.h"
#include "TestFiles.h"
#include "Version.h"
#include "app/ProgramIcon.h"
#include "associations/XdgFiles.h"
#include "info/ProductPicture.h"
#include "settings/Settings.h"

#include <QDirIterator>
#include <QPainter>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>
#ifdef QUOR_HAVE_SVG
#include <QSvgRenderer>
#endif

#include <sys/types.h>
#include <unistd.h>

namespace {

// The account the installed program runs as when the test runs as root: root may write into
// any folder whatever its permission bits say, a normal user may not.
constexpr uid_t NormalUser = 65534; // nobody
constexpr gid_t NormalGroup = 65534; // nogroup

QString Prefix()
{
    return qEnvironmentVariable("QUOR_INSTALL_PREFIX");
}

// A path below the prefix, in the installed tree.
QString Installed(const QString &relative)
{
    return qEnvironmentVariable("QUOR_INSTALL_ROOT") + Prefix() + QLatin1Char('/') + relative;
}

QString DesktopEntryPath()
{
    return Installed(QStringLiteral("share/applications/") + QLatin1String(DesktopEntryId));
}

QString IconPicturePath(int size)
{
    return Installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png")
                         .arg(size)
                         .arg(QLatin1String(DesktopIconName)));
}

// The keys of a desktop entry's [Desktop Entry] group, with their values as written.
QMap<QString, QString> DesktopEntryKeys(const QByteArray &bytes)
{
    QMap<QString, QString> keys;
    bool inGroup = false;
    for (const QByteArray &raw : bytes.split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const int equals = line.indexOf(QLatin1Char('='));
        if (inGroup && equals > 0)
            keys.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return keys;
}

QStringList ListValue(const QString &value)
{
    return value.split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

// Pixels as PNG files and _NET_WM_ICON hold them: 32-bit ARGB, not premultiplied.
QImage Argb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

QString LinkText(const QString &path)
{
    char target[4096];
    const ssize_t n = ::readlink(QFile::encodeName(path).constData(), target, sizeof target);
    return n < 0 ? QString() : QFile::decodeName(QByteArray(target, int(n)));
}

// Runs a short command to its end; true when it succeeded. Its output goes into *output, else
// to the test's log.
bool Run(const QString &program, const QStringList &arguments, QByteArray *output = nullptr,
         const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(output ? QProcess::ForwardedErrorChannel : QProcess::ForwardedChannels);
    p.start(program, arguments);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished(5000);
        return false;
    }
    if (output)
        *output = p.readAllStandardOutput();
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// setpriv's arguments that run a command as the normal user.
QStringList AsNormalUser()
{
    return {QStringLiteral("--reuid=%1").arg(NormalUser),
            QStringLiteral("--regid=%1").arg(NormalGroup), QStringLiteral("--clear-groups"),
            QStringLiteral("--")};
}

// The command lines of the engine's processes under pid (its renderers, zygotes, utilities).
QStringList EngineCommandLines(qint64 pid)
{
    QMultiHash<qint64, qint64> children;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 child = entry.toLongLong(&number);
        if (!number)
            continue;
        // "pid (name) state ppid ...": the name may hold blanks and brackets.
        const QByteArray stat = ReadAll(QStringLiteral("/proc/%1/stat").arg(child));
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1)
            children.insert(fields.at(1).toLongLong(), child);
    }
    QStringList lines;
    QList<qint64> todo {pid};
    while (!todo.isEmpty()) {
        for (qint64 child : children.values(todo.takeFirst())) {
            todo << child;
            QByteArray line = ReadAll(QStringLiteral("/proc/%1/cmdline").arg(child));
            line.replace('\0', ' ');
            if (line.contains("QtWebEngineProcess"))
                lines << QString::fromLocal8Bit(line);
        }
    }
    return lines;
}

// An installed QuorBrowser started by its command name (bin/quorbrowser of an installed
// tree), as the desktop entry starts it.
struct InstalledBrowser : ProgramProcess
{
    InstalledBrowser(const QString &command, const QProcessEnvironment &env, bool asNormalUser)
    {
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        if (asNormalUser) {
            // setpriv replaces itself with the program: the process id stays the program's.
            process.setProgram(QStringLiteral("setpriv"));
            leadingArguments = AsNormalUser() << command;
        } else {
            process.setProgram(command);
        }
    }
};

} // namespace

class tst_Installed : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void filesInstalled();
    void commandStartsTheExecutable();
    void iconPicturesAreTheWindowsIcon();
    void scalableIconIsTheLogo();
    void desktopEntryAgreesWithTheWizard();
    void metainfoNamesTheEntryAndThisVersion();
    void installedProgramKeepsItsFilesInTheDataFolder();
    void windowShowsTheEntrysClassAndIcon();

private:
    HttpServer server;
};

void tst_Installed::initTestCase()
{
    QVERIFY2(QFileInfo(Installed(QStringLiteral("bin/QuorBrowser"))).isExecutable(),
             "nothing installed: the install_tree test installs the build folder first");
    QVERIFY(server.isListening());
    server.html("/installed/first", HttpServer::Page("First start"));
    server.html("/installed/home", HttpServer::Page("Home page"));
    server.html("/installed/window", HttpServer::Page("Window"));
}

void tst_Installed::filesInstalled()
{
    QStringList expected;
    const QByteArray list = ReadAll(qEnvironmentVariable("QUOR_INSTALLED_FILES"));
    for (const QByteArray &line : list.split('\n')) {
        if (!line.trimmed().isEmpty() && !line.startsWith('#'))
            expected << QString::fromUtf8(line.trimmed());
    }
    QVERIFY(!expected.isEmpty());

    // Everything below the root, as seen from the prefix: nothing may land outside it.
    const QDir prefix(Installed(QString()));
    QStringList found;
    QDirIterator it(qEnvironmentVariable("QUOR_INSTALL_ROOT"),
                    QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo file(it.next());
        QString entry = prefix.relativeFilePath(file.filePath());
        if (file.isSymLink())
            entry += QStringLiteral(" -> ") + LinkText(file.filePath());
        found << entry;
        // Installed for everyone to read, writable by its owner only.
        const QFile::Permissions perms = file.permissions();
        QVERIFY2(perms & QFile::ReadOther, qPrintable(entry));
        QVERIFY2(file.isSymLink() || !(perms & (QFile::WriteGroup | QFile::WriteOther)),
                 qPrintable(entry));
    }
    expected.sort();
    found.sort();
    QCOMPARE(found, expected);
}

void tst_Installed::commandStartsTheExecutable()
{
    // The command named in the README, the manual page and the desktop entry is the program.
    const QFileInfo command(Installed(QStringLiteral("bin/quorbrowser")));
    QVERIFY(command.isSymLink());
    QVERIFY(command.isExecutable());
    QCOMPARE(command.canonicalFilePath(),
             QFileInfo(Installed(QStringLiteral("bin/QuorBrowser"))).canonicalFilePath());
    const auto entry = DesktopEntryKeys(ReadAll(DesktopEntryPath()));
    QCOMPARE(entry.value("Exec"), QStringLiteral("quorbrowser %u"));
    QCOMPARE(entry.value("TryExec"), QStringLiteral("quorbrowser"));
}

void tst_Installed::iconPicturesAreTheWindowsIcon()
{
    // The window's icon (main.cpp) holds exactly these sizes, and each installed picture is
    // that size's very pixels: the window, the menu and the task bar show one picture.
    const QIcon windowIcon = ProgramIcon();
    QList<QSize> sizes;
    for (const int size : ProgramIconSizes)
        sizes << QSize(size, size);
    QList<QSize> available = windowIcon.availableSizes();
    QCOMPARE(available, sizes);
    for (const int size : ProgramIconSizes) {
        QImage picture;
        QVERIFY2(picture.load(IconPicturePath(size), "PNG"), qPrintable(IconPicturePath(size)));
        QCOMPARE(picture.size(), QSize(size, size));
        QVERIFY(picture.hasAlphaChannel());
        QCOMPARE(Argb(picture), Argb(DrawLogo(size).toImage()));
        QCOMPARE(Argb(picture), Argb(windowIcon.pixmap(size).toImage()));
    }
}

void tst_Installed::scalableIconIsTheLogo()
{
    const QString path = Installed(QStringLiteral("share/icons/hicolor/scalable/apps/")
                                   + QLatin1String(DesktopIconName) + QStringLiteral(".svg"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QVERIFY(xml.readNextStartElement());
    QCOMPARE(xml.name(), QStringLiteral("svg"));
    QCOMPARE(xml.namespaceUri(), QStringLiteral("http://www.w3.org/2000/svg"));
    QCOMPARE(xml.attributes().value("viewBox"), QStringLiteral("0 0 256 256"));
    xml.skipCurrentElement();
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));

#ifdef QUOR_HAVE_SVG
    // Drawn at 256 pixels it is DrawLogo's picture, but for the anti-aliased rims.
    QSvgRenderer svg(path);
    QVERIFY(svg.isValid());
    QCOMPARE(svg.defaultSize(), QSize(256, 256));
    QImage drawn(256, 256, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    QPainter painter(&drawn);
    svg.render(&painter);
    painter.end();
    const QImage logo = DrawLogo(256).toImage().convertToFormat(drawn.format());
    int differing = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const QRgb a = drawn.pixel(x, y), b = logo.pixel(x, y);
            const int d = qMax(qMax(qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b))),
                               qMax(qAbs(qBlue(a) - qBlue(b)), qAbs(qAlpha(a) - qAlpha(b))));
            if (d > 48)
                ++differing;
        }
    }
    QVERIFY2(differing < 256 * 256 / 200,
             qPrintable(QStringLiteral("%1 pixels differ from DrawLogo").arg(differing)));
#else
    QSKIP("Qt SVG is not installed (tools/install-deps installs it): the picture is not compared");
#endif
}

void tst_Installed::desktopEntryAgreesWithTheWizard()
{
    // The entry the wizard writes for a copy that is not installed says what the installed one
    // says, with the copy's own program, and opens at least every kind the installed one opens.
    const auto installed = DesktopEntryKeys(ReadAll(DesktopEntryPath()));
    const QString program = Installed(QStringLiteral("bin/QuorBrowser"));
    const auto wizard = DesktopEntryKeys(DesktopEntry(program));
    QVERIFY(!wizard.isEmpty());
    QCOMPARE(QStringList(wizard.keys()), QStringList(installed.keys()));
    for (auto it = wizard.cbegin(); it != wizard.cend(); ++it) {
        const QString key = it.key();
        if (key == QLatin1String("Exec")) {
            QCOMPARE(it.value(), program + QStringLiteral(" %u"));
            QCOMPARE(installed.value(key), QStringLiteral("quorbrowser %u"));
        } else if (key == QLatin1String("TryExec")) {
            QCOMPARE(it.value(), program);
            QCOMPARE(installed.value(key), QStringLiteral("quorbrowser"));
        } else if (key == QLatin1String("MimeType")) {
            const QStringList types = ListValue(it.value());
            for (const QString &type : ListValue(installed.value(key)))
                QVERIFY2(types.contains(type), qPrintable(type));
        } else {
            QVERIFY2(installed.value(key) == it.value(),
                     qPrintable(key + QStringLiteral(": ") + installed.value(key)
                                + QStringLiteral(" / the wizard's ") + it.value()));
        }
    }

    QCOMPARE(installed.value("Name"), QStringLiteral("QuorBrowser"));
    QCOMPARE(installed.value("GenericName"), QStringLiteral("Web Browser"));
    QCOMPARE(installed.value("Icon"), QLatin1String(DesktopIconName));
    QCOMPARE(ListValue(installed.value("Categories")), (QStringList {"Network", "WebBrowser"}));
    const QStringList types = ListValue(installed.value("MimeType"));
    for (const char *type : {"text/html", "x-scheme-handler/http", "x-scheme-handler/https"})
        QVERIFY2(types.contains(QLatin1String(type)), type);
    // Pictures are the wizard's to give it, and to take back: installed, it claims none.
    for (const char *type : {"image/jpeg", "image/gif"})
        QVERIFY2(!types.contains(QLatin1String(type)), type);
    // The class of the window, from the application name main.cpp sets; the window test below
    // reads it off the real window.
    QCOMPARE(installed.value("StartupWMClass"), QStringLiteral("QuorBrowser"));
}

void tst_Installed::metainfoNamesTheEntryAndThisVersion()
{
    QFile file(Installed(QStringLiteral("share/metainfo/") + QLatin1String(DesktopIconName)
                         + QStringLiteral(".metainfo.xml")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString id, launchable, binary, releaseVersion, releaseDate;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("id"))
            id = xml.readElementText();
        else if (xml.name() == QLatin1String("launchable"))
            launchable = xml.readElementText();
        else if (xml.name() == QLatin1String("binary"))
            binary = xml.readElementText();
        else if (xml.name() == QLatin1String("release") && releaseVersion.isEmpty()) {
            releaseVersion = xml.attributes().value("version").toString();
            releaseDate = xml.attributes().value("date").toString();
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(id, QLatin1String(DesktopIconName));
    QCOMPARE(launchable, QLatin1String(DesktopEntryId));
    QCOMPARE(binary, QStringLiteral("quorbrowser"));
    QCOMPARE(releaseVersion,
             QStringLiteral("%1.%2.%3")
                 .arg(QUORBROWSER_VERSION_MAJOR)
                 .arg(QUORBROWSER_VERSION_MINOR)
                 .arg(QUORBROWSER_VERSION_PATCH));
    QVERIFY2(QDate::fromString(releaseDate, Qt::ISODate).isValid(), qPrintable(releaseDate));
}

void tst_Installed::installedProgramKeepsItsFilesInTheDataFolder()
{
    // A copy of the installation whose bin folder the program's user cannot write: as root,
    // the program runs as nobody (root writes anywhere, whatever the permission bits say);
    // else the bin folder loses its write permission.
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    const QFile::Permissions open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
        | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    QVERIFY(QFile::setPermissions(tmp.path(), open));
    const QString root = tmp.filePath(QStringLiteral("root"));
    QVERIFY(Run(QStringLiteral("cp"),
                {QStringLiteral("-a"), qEnvironmentVariable("QUOR_INSTALL_ROOT"), root}));
    const QString bin = root + Prefix() + QStringLiteral("/bin");
    const QString home = tmp.filePath(QStringLiteral("home"));
    QVERIFY(QDir().mkpath(home + QStringLiteral("/runtime")));
    QVERIFY(QFile::setPermissions(home + QStringLiteral("/runtime"),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    // The data folder the installed program will take as its application folder, told about
    // its engine already.
    const QString data = home + QStringLiteral("/.local/share/QuorBrowser");
    QVERIFY(SeedEngineNotice(data, bin + QStringLiteral("/QuorBrowser")));

    const bool asNormalUser = ::geteuid() == 0;
    if (asNormalUser) {
        QVERIFY(Run(QStringLiteral("chown"),
                    {QStringLiteral("-R"), QStringLiteral("%1:%2").arg(NormalUser).arg(NormalGroup),
                     home}));
    } else {
        QVERIFY(QFile::setPermissions(bin, open & ~QFile::WriteOwner));
    }
    const auto restore = qScopeGuard([&] { QFile::setPermissions(bin, open); });
    const QStringList writable = {QStringLiteral("test"), QStringLiteral("-w"), bin};
    QVERIFY2(asNormalUser ? !Run(QStringLiteral("setpriv"), AsNormalUser() + writable)
                          : !Run(writable.first(), writable.mid(1)),
             "the program's user can write into the installed bin folder");
    const QString command = bin + QStringLiteral("/quorbrowser");
    const QDir::Filters everything
        = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    const QStringList binBefore = QDir(bin).entryList(everything, QDir::Name);

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QUORBROWSER_HOME"));
    env.remove(QStringLiteral("QUORBROWSER_START_MINIMIZED"));
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home + QStringLiteral("/runtime"));
    const QString cfg = data + QStringLiteral("/QuorBrowser.cfg");
    // As any person's, the program runs with the engine's page sandbox on, where the kernel lets
    // a normal user make the namespaces the sandbox is built of (some containers do not).
    bool sandboxed = false;
    if (asNormalUser) {
        sandboxed
            = Run(QStringLiteral("setpriv"),
                  AsNormalUser() << QStringLiteral("unshare") << QStringLiteral("--user")
                                 << QStringLiteral("--map-root-user") << QStringLiteral("true"));
        if (sandboxed)
            env.remove(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"));
        else
            qInfo("no user namespace for a normal user here: the page sandbox stays off");
    }

    // The first start, with an address: the settings go to the data folder on closing.
    {
        InstalledBrowser first(command, env, asNormalUser);
        QVERIFY(first.start({server.url("/installed/first").toString()}));
        QTRY_VERIFY_WITH_TIMEOUT(server.wasRequested("/installed/first"), 30000);
        if (sandboxed) {
            const QStringList engine = EngineCommandLines(first.process.processId());
            QVERIFY(!engine.isEmpty());
            for (const QString &line : engine)
                QVERIFY2(!line.contains(QLatin1String("--no-sandbox")), qPrintable(line));
        }
        QVERIFY(first.terminate());
    }
    QStringList lines = QString::fromLatin1(ReadAll(cfg)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 10); // nine lines, each ended
    QCOMPARE(lines.first(), QLatin1String(SettingsStamp));
    QCOMPARE(QFileInfo(cfg).ownerId(), asNormalUser ? NormalUser : ::geteuid());
    QVERIFY(QFileInfo(data + QStringLiteral("/Profile")).isDir());
    QCOMPARE(QDir(bin).entryList(everything, QDir::Name), binBefore);

    // Between the two starts: a home page, and Start Up set to it, in the files the first
    // start left, as Preferences would have set them.
    lines[3] = QStringLiteral("Home");
    WriteAll(cfg, lines.join(QStringLiteral("\r\n")).toLatin1());
    WriteAll(data + QStringLiteral("/HomePage"),
             "\"" + server.url("/installed/home").toEncoded() + "\"\r\n");
    if (asNormalUser) {
        for (const QString &f : {cfg, data + QStringLiteral("/HomePage")})
            QCOMPARE(::chown(QFile::encodeName(f).constData(), NormalUser, NormalGroup), 0);
    }

    // The second start, without an address, finds them: it opens the home page.
    {
        InstalledBrowser second(command, env, asNormalUser);
        QVERIFY(second.start({}));
        QTRY_VERIFY_WITH_TIMEOUT(server.wasRequested("/installed/home"), 30000);
        QVERIFY(second.terminate());
    }
    lines = QString::fromLatin1(ReadAll(cfg)).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines.at(3), QStringLiteral("Home"));
    QCOMPARE(QDir(bin).entryList(everything, QDir::Name), binBefore);
}

void tst_Installed::windowShowsTheEntrysClassAndIcon()
{
    // A private X server; it tells its display number on its output once it is ready.
    QProcess xvfb;
    xvfb.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    xvfb.start(QStringLiteral("Xvfb"),
               {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-noreset"});
    QVERIFY2(xvfb.waitForStarted(10000), "Xvfb (tools/install-deps installs it)");
    const auto stopX = qScopeGuard([&] {
        xvfb.terminate();
        if (!xvfb.waitForFinished(5000)) {
            xvfb.kill();
            xvfb.waitForFinished(5000);
        }
    });
    QTRY_VERIFY_WITH_TIMEOUT(xvfb.canReadLine() || xvfb.state() == QProcess::NotRunning, 20000);
    bool isNumber = false;
    const int number = xvfb.readLine().trimmed().toInt(&isNumber);
    QVERIFY(isNumber);
    const QString display = QStringLiteral(":%1").arg(number);

    QTemporaryDir tmp;
    QVERIFY(SeedEngineNotice(tmp.filePath(QStringLiteral("app")),
                             Installed(QStringLiteral("bin/QuorBrowser"))));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUORBROWSER_HOME"), tmp.filePath(QStringLiteral("app")));
    env.insert(QStringLiteral("XDG_DATA_HOME"), tmp.filePath(QStringLiteral("data")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), tmp.filePath(QStringLiteral("cache")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), tmp.filePath(QStringLiteral("config")));
    env.remove(QStringLiteral("QUORBROWSER_START_MINIMIZED"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("XAUTHORITY"));
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));

    InstalledBrowser browser(Installed(QStringLiteral("bin/quorbrowser")), env, false);
    QVERIFY(browser.start({server.url("/installed/window").toString()}));
    QTRY_VERIFY_WITH_TIMEOUT(server.wasRequested("/installed/window"), 30000);

    // The program's one window on the screen.
    QByteArray windows;
    QTRY_VERIFY_WITH_TIMEOUT(
        Run(QStringLiteral("xdotool"),
            {"search", "--onlyvisible", "--pid", QString::number(browser.process.processId())},
            &windows, env)
            && !windows.trimmed().isEmpty(),
        20000);
    const QList<QByteArray> ids = windows.trimmed().split('\n');
    QCOMPARE(ids.size(), 1);
    const QString window = QString::fromLatin1(ids.first().trimmed());

    // Its class is what the installed entry tells the desktop to look for.
    QByteArray wmClass;
    QVERIFY(Run(QStringLiteral("xprop"), {"-id", window, "WM_CLASS"}, &wmClass, env));
    const QRegularExpressionMatch classes
        = QRegularExpression(QStringLiteral("= \"([^\"]*)\", \"([^\"]*)\""))
              .match(QString::fromLatin1(wmClass));
    QVERIFY2(classes.hasMatch(), wmClass.constData());
    const auto entry = DesktopEntryKeys(ReadAll(DesktopEntryPath()));
    QCOMPARE(classes.captured(2), entry.value("StartupWMClass"));

    // Its icon holds every size of the installed pictures, pixel for pixel.
    // All of it, in numbers: xprop reads only the first 250 000 bytes unless told more.
    QByteArray iconText;
    QVERIFY(Run(QStringLiteral("xprop"),
                {"-len", "4000000", "-id", window, "-notype", "-f", "_NET_WM_ICON", "32c", "=$0+",
                 "_NET_WM_ICON"},
                &iconText, env));
    const int equals = iconText.indexOf('=');
    QVERIFY2(equals > 0, iconText.left(200).constData());
    QList<quint32> values;
    for (const QByteArray &word : iconText.mid(equals + 1).split(',')) {
        bool ok = false;
        values << word.trimmed().toUInt(&ok);
        QVERIFY2(ok, word.constData());
    }
    QList<int> sizes;
    for (int at = 0; at < values.size();) {
        QVERIFY(at + 2 <= values.size());
        const int width = int(values.at(at)), height = int(values.at(at + 1));
        at += 2;
        QVERIFY(width > 0 && width == height && at + width * height <= values.size());
        QImage shown(width, height, QImage::Format_ARGB32);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                shown.setPixel(x, y, values.at(at++));
        }
        sizes << width;
        QImage installed;
        QVERIFY2(installed.load(IconPicturePath(width), "PNG"), qPrintable(IconPicturePath(width)));
        QVERIFY2(Argb(installed) == shown, qPrintable(QStringLiteral("size %1").arg(width)));
    }
    std::sort(sizes.begin(), sizes.end());
    QCOMPARE(sizes, QList<int>(std::begin(ProgramIconSizes), std::end(ProgramIconSizes)));

    QVERIFY(browser.terminate());
}

QTEST_MAIN(tst_Installed)
#include "tst_Installed.moc"
