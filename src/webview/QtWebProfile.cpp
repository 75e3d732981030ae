#include "webview/QtWebProfile.h"

#include "webview/LocalFiles.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMimeDatabase>
#include <QPointer>
#include <QStandardPaths>
#include <QThread>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>
#include <QWebEngineUrlSchemeHandler>
#include <QtWebEngineCore/qtwebenginecoreversion.h>
#include <cstdlib>
#include <memory>

namespace {

// Chromium keeps a profile's stores (cookies, site data, cache) open as if it were their only
// user: two processes on one folder silently lose each other's cookie changes, and the second
// one's site data never reaches the disk. So one instance at a time owns the per-user profile,
// under a lock held for the life of the process. An instance started while another owns it
// runs on a folder of its own, seeded with the cookies the profile has on disk (the log-ins go
// with it) and thrown away once that instance has ended: what it changes stays with it.
struct FolderClaim
{
    QString path;
    bool owner = false;
};

// The lock on the folder this instance runs on, held for the life of the process.
std::unique_ptr<QLockFile> g_held;

// A long-lived lock is not stale; a lock whose process has gone is, whatever its age.
std::unique_ptr<QLockFile> LockFor(const QString &folder)
{
    auto lock = std::make_unique<QLockFile>(folder + QStringLiteral(".lock"));
    lock->setStaleLockTime(0);
    return lock;
}

// The engine makes a folder of its own for every named profile, before it is told where the
// profile lives: for an instance's profile, "QtWebEngine/QuorBrowser-<process id>".
const QLatin1String kInstanceProfilePrefix("QuorBrowser-");

QString EngineFolderOf(const QString &base, const QString &processId)
{
    return base + QStringLiteral("/QtWebEngine/") + kInstanceProfilePrefix + processId;
}

FolderClaim ClaimPerUserFolder(const QString &base)
{
    // Folders of instances that have ended go first, theirs and the engine's; those of a
    // running instance stay, its lock held.
    const QString instances = base + QStringLiteral("/Instances");
    QStringList ended;
    for (const QFileInfo &f : QDir(instances).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot))
        ended << f.fileName();
    for (const QFileInfo &f : QDir(base + QStringLiteral("/QtWebEngine"))
                                  .entryInfoList({kInstanceProfilePrefix + QLatin1Char('*')},
                                                 QDir::Dirs | QDir::NoDotAndDotDot))
        ended << f.fileName().mid(kInstanceProfilePrefix.size());
    ended.removeDuplicates();
    for (const QString &processId : std::as_const(ended)) {
        const QString folder = instances + QLatin1Char('/') + processId;
        auto old = LockFor(folder);
        if (old->tryLock(0)) {
            QDir(folder).removeRecursively();
            QDir(EngineFolderOf(base, processId)).removeRecursively();
            old->unlock();
        }
    }

    const QString main = base + QStringLiteral("/Profile");
    QDir().mkpath(main);
    auto lock = LockFor(main);
    if (lock->tryLock(0)) {
        g_held = std::move(lock);
        return {main, true};
    }

    const QString own = instances + QStringLiteral("/%1").arg(QCoreApplication::applicationPid());
    QDir(own).removeRecursively();
    QDir().mkpath(own);
    lock = LockFor(own);
    if (!lock->tryLock(0))
        return {};
    g_held = std::move(lock);
    // The journal goes with the database, so a write the owner had under way is rolled back.
    for (const QString &name : {QStringLiteral("Cookies"), QStringLiteral("Cookies-journal")})
        QFile::copy(main + QLatin1Char('/') + name, own + QLatin1Char('/') + name);
    return {own, false};
}

// Local files shown as pages: each under an address of its own (LocalFiles.h), so that no
// script of one reads another. Only such addresses come here, asked by the browser or by a local
// page; anything else is the interceptor's to refuse before it arrives.
class LocalPageHandler : public QWebEngineUrlSchemeHandler
{
public:
    void requestStarted(QWebEngineUrlRequestJob *job) override
    {
        const QUrl url = job->requestUrl();
        const QUrl initiator = job->initiator();
        const bool fromLocal = initiator.isEmpty() || initiator.scheme().isEmpty() // opaque
            || LocalFileUrl(initiator).isLocalFile();
        if (url.host() != LocalPageUrl(url).host() || !fromLocal) {
            job->fail(QWebEngineUrlRequestJob::RequestDenied);
            return;
        }
        const QUrl fileUrl = LocalFileUrl(url);
        const QFileInfo info(fileUrl.toLocalFile());
        if (!info.isFile() || !info.isReadable()) {
            // A folder's listing and a missing file's notice are the engine's own pages.
            job->redirect(fileUrl);
            return;
        }
        auto *file = new QFile(info.filePath(), job);
        if (!file->open(QIODevice::ReadOnly)) {
            job->fail(QWebEngineUrlRequestJob::RequestFailed);
            return;
        }
        static const QMimeDatabase types;
        job->reply(types.mimeTypeForFile(info).name().toLatin1(), file);
    }
};

// Which requests may touch the machine's files, and how (LocalFiles.h): the one place that
// decides, for every page and window of the profile. Scripts read no local file; pages of the
// web reach none.
class LocalFileGuard : public QWebEngineUrlRequestInterceptor
{
public:
    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        const QUrl file = LocalFileUrl(info.requestUrl());
        if (!file.isLocalFile())
            return;
        // Only a document's own kind of place matters: no other request costs a look at the disk.
        const LocalRequestKind kind = KindOf(info.resourceType());
        const LocalPathKind at
            = kind == LocalRequestKind::Document ? PathKindOf(file) : LocalPathKind::File;
        const LocalRequestDecision decision = DecideLocalRequest(
            kind, info.requestUrl(), info.initiator(), info.firstPartyUrl(), at);
        switch (decision.action) {
        case LocalRequestDecision::Pass:
            break;
        case LocalRequestDecision::Block:
            info.block(true);
            break;
        case LocalRequestDecision::Redirect:
            info.redirect(decision.to);
            break;
        }
    }

private:
    static LocalRequestKind KindOf(QWebEngineUrlRequestInfo::ResourceType type)
    {
        switch (type) {
        case QWebEngineUrlRequestInfo::ResourceTypeMainFrame:
        case QWebEngineUrlRequestInfo::ResourceTypeSubFrame:
        case QWebEngineUrlRequestInfo::ResourceTypeObject:
        case QWebEngineUrlRequestInfo::ResourceTypeNavigationPreloadMainFrame:
        case QWebEngineUrlRequestInfo::ResourceTypeNavigationPreloadSubFrame:
            return LocalRequestKind::Document;
        case QWebEngineUrlRequestInfo::ResourceTypeXhr:
            return LocalRequestKind::ScriptRead;
        default: // pictures, style sheets, scripts, fonts, media, workers, and types to come
            return LocalRequestKind::Subresource;
        }
    }
    static LocalPathKind PathKindOf(const QUrl &file)
    {
        const QFileInfo info(file.toLocalFile());
        if (info.isDir())
            return LocalPathKind::Folder;
        return info.isFile() && info.isReadable() ? LocalPathKind::File : LocalPathKind::Missing;
    }
};

QWebEngineProfile *Guarded(QWebEngineProfile *profile)
{
    static LocalFileGuard guard;
    static LocalPageHandler pages;
    // File pages (folder listings, missing files, web archives) get no universal access: with
    // it their scripts would read every file. Local pages reach file: pictures, style sheets
    // and scripts only while local content may load local files, so that stays on; reading
    // them is what the origins refuse.
    profile->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    profile->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    profile->setUrlRequestInterceptor(&guard);
#if QTWEBENGINECORE_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    // Engines from 6.8 on would keep the answers to a site's requests (camera, location, ...)
    // in the profile; every request is to reach the view instead.
    profile->setPersistentPermissionsPolicy(
        QWebEngineProfile::PersistentPermissionsPolicy::AskEveryTime);
#endif
    if (!profile->urlSchemeHandler(kLocalPageScheme))
        profile->installUrlSchemeHandler(kLocalPageScheme, &pages);
    return profile;
}

} // namespace

void QtWebProfile::RegisterLocalPageScheme()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    QWebEngineUrlScheme scheme(kLocalPageScheme);
    // A host per file makes an origin per file. Its pages may load file: addresses to show;
    // nothing else is granted: not secure, not local (a local origin could read every file).
    scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    scheme.setFlags(QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}

namespace {

QPointer<QWebEngineProfile> g_perUser;
// The folders of an instance that does not own the profile: thrown away as it ends.
QStringList g_instanceFolders;

} // namespace

QString QtWebProfile::PerUserFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/QuorBrowser");
}

QWebEngineProfile *QtWebProfile::Shared(Kind kind)
{
    RegisterLocalPageScheme();
    if (kind == Kind::OffTheRecord)
        return Guarded(QWebEngineProfile::defaultProfile()); // off the record in this engine
    QPointer<QWebEngineProfile> &perUser = g_perUser;
    if (!perUser) {
        // Chromium needs an absolute folder: with a relative one local storage hangs the page.
        const FolderClaim folder = ClaimPerUserFolder(PerUserFolder());
        if (folder.path.isEmpty()) {
            perUser = Guarded(QWebEngineProfile::defaultProfile());
        } else {
            const QString name = folder.owner
                ? QStringLiteral("QuorBrowser")
                : QStringLiteral("QuorBrowser-%1").arg(QCoreApplication::applicationPid());
            perUser = new QWebEngineProfile(name, qApp);
            if (!folder.owner)
                g_instanceFolders = QStringList {folder.path, perUser->persistentStoragePath()};
            perUser->setPersistentStoragePath(folder.path);
            perUser->setCachePath(folder.path + QStringLiteral("/Cache"));
            Guarded(perUser);
        }
    }
    return perUser;
}

void QtWebProfile::Release()
{
    // The profile made here (the only one kept on disk; the engine's default one is off the
    // record) goes while the engine still runs: its cookie store then closes and writes what it
    // holds. Left to go with the application, after the engine has stopped, the cookies of the
    // last moments before quitting were at times never written.
    if (g_perUser && !g_perUser->isOffTheRecord()) {
        delete g_perUser.data();
        // Closing its stores ends in a few tasks the engine posts back to this thread within
        // milliseconds; the cookies set just before quitting are written only once they have
        // run. So the events are run until none has come for a moment (two seconds at most).
        auto *dispatcher = QAbstractEventDispatcher::instance();
        QElapsedTimer quiet, whole;
        quiet.start();
        whole.start();
        while (dispatcher && quiet.elapsed() < 50 && whole.elapsed() < 2000) {
            if (dispatcher->processEvents(QEventLoop::AllEvents))
                quiet.restart();
            else
                QThread::msleep(1);
        }
    }
    if (g_instanceFolders.isEmpty())
        return;
    // The engine still writes a few of the profile's files as it shuts down with the
    // application: the folders go once the process is on its way out.
    std::atexit([] {
        for (const QString &folder : std::as_const(g_instanceFolders))
            QDir(folder).removeRecursively();
        g_instanceFolders.clear();
        g_held.reset();
    });
}
