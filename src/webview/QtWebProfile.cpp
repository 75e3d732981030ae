#include "webview/QtWebProfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QPointer>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
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

FolderClaim ClaimPerUserFolder(const QString &base)
{
    static std::unique_ptr<QLockFile> held;
    // A long-lived lock is not stale; a lock whose process has gone is, whatever its age.
    auto lockFor = [](const QString &folder) {
        auto lock = std::make_unique<QLockFile>(folder + QStringLiteral(".lock"));
        lock->setStaleLockTime(0);
        return lock;
    };

    // Folders of instances that have ended go first.
    const QString instances = base + QStringLiteral("/Instances");
    for (const QFileInfo &f : QDir(instances).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        auto old = lockFor(f.absoluteFilePath());
        if (old->tryLock(0)) {
            QDir(f.absoluteFilePath()).removeRecursively();
            old->unlock();
        }
    }

    const QString main = base + QStringLiteral("/Profile");
    QDir().mkpath(main);
    auto lock = lockFor(main);
    if (lock->tryLock(0)) {
        held = std::move(lock);
        return {main, true};
    }

    const QString own = instances + QStringLiteral("/%1").arg(QCoreApplication::applicationPid());
    QDir(own).removeRecursively();
    QDir().mkpath(own);
    lock = lockFor(own);
    if (!lock->tryLock(0))
        return {};
    held = std::move(lock);
    // The journal goes with the database, so a write the owner had under way is rolled back.
    for (const QString &name : {QStringLiteral("Cookies"), QStringLiteral("Cookies-journal")})
        QFile::copy(main + QLatin1Char('/') + name, own + QLatin1Char('/') + name);
    return {own, false};
}

// Pages saved to disk keep their pictures, style sheets and scripts, and their pictures and
// links from the web, as in any desktop browser. The engine lets a local page reach the web only
// together with every other local file; what a script of such a page may not do is read other
// files of this machine (and send them away), so script reads of local files are refused.
class LocalFileGuard : public QWebEngineUrlRequestInterceptor
{
public:
    void interceptRequest(QWebEngineUrlRequestInfo &info) override
    {
        if (info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeXhr
            && info.requestUrl().isLocalFile())
            info.block(true);
    }
};

QWebEngineProfile *Guarded(QWebEngineProfile *profile)
{
    static LocalFileGuard guard;
    profile->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    profile->setUrlRequestInterceptor(&guard);
    return profile;
}

} // namespace

QWebEngineProfile *SharedProfile(QtWebView::Profile kind)
{
    if (kind == QtWebView::Profile::OffTheRecord)
        return Guarded(QWebEngineProfile::defaultProfile()); // off the record in this engine
    static QPointer<QWebEngineProfile> perUser;
    if (!perUser) {
        // Chromium needs an absolute folder: with a relative one local storage hangs the page.
        const FolderClaim folder = ClaimPerUserFolder(QtWebView::PerUserFolder());
        if (folder.path.isEmpty()) {
            perUser = Guarded(QWebEngineProfile::defaultProfile());
        } else {
            const QString name = folder.owner
                ? QStringLiteral("QuorBrowser")
                : QStringLiteral("QuorBrowser-%1").arg(QCoreApplication::applicationPid());
            perUser = new QWebEngineProfile(name, qApp);
            perUser->setPersistentStoragePath(folder.path);
            perUser->setCachePath(folder.path + QStringLiteral("/Cache"));
            Guarded(perUser);
        }
    }
    return perUser;
}
