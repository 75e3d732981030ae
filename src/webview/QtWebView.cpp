#include "webview/QtWebView.h"

#include "Version.h"
#include "webview/AddressInput.h"
#include "webview/ViewDialogs.h"

#include <QAction>
#include <QAuthenticator>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QPointer>
#include <QPrinter>
#include <QStandardPaths>
#include <QTimer>
#include <QUrlQuery>
#include <QVBoxLayout>
#include <QWebEngineCertificateError>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineQuotaRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <memory>

namespace {

const char kStartPage[] = "qrc:/quorbrowser/start.html";

// What the pages of one view (its own and those of the windows it opened) ask of that view.
class ViewHost
{
public:
    virtual ~ViewHost() = default;
    virtual ViewDialogs *Dialogs() const = 0;
    // Raises NewWindow2; nullptr when the window is refused.
    virtual QWebEnginePage *OpenWindow(QWebEnginePage::WebWindowType type) = 0;
};

// The page with what a desktop browser's view does by itself: new windows decided before the
// engine has a request for them, and script dialogs through the view's dialogs.
class ViewPage : public QWebEnginePage
{
public:
    ViewPage(QWebEngineProfile *profile, ViewHost *host, QObject *parent)
        : QWebEnginePage(profile, parent)
        , m_host(host)
    { }

protected:
    // Called before the engine builds any request for the new window's page: a refused window
    // never reaches the server.
    QWebEnginePage *createWindow(WebWindowType type) override
    {
        return m_host ? m_host->OpenWindow(type) : nullptr;
    }

    void javaScriptAlert(const QUrl &origin, const QString &msg) override
    {
        if (m_host)
            m_host->Dialogs()->Alert(Parent(), Title(origin), msg);
    }
    bool javaScriptConfirm(const QUrl &origin, const QString &msg) override
    {
        return m_host && m_host->Dialogs()->Confirm(Parent(), Title(origin), msg);
    }
    bool javaScriptPrompt(const QUrl &origin, const QString &msg, const QString &defaultValue,
                          QString *result) override
    {
        QString value = defaultValue;
        if (!m_host || !m_host->Dialogs()->Prompt(Parent(), Title(origin), msg, &value))
            return false;
        *result = value;
        return true;
    }

public:
    // The view is going: the page asks nobody any more.
    void Detach() { m_host = nullptr; }

private:
    QWidget *Parent() const { return QWebEngineView::forPage(this); }
    static QString Title(const QUrl &origin)
    {
        return origin.host().isEmpty() ? QStringLiteral("QuorBrowser") : origin.host();
    }

    ViewHost *m_host;
};

// A page opened for a new-window request: a plain top-level window of its own, closed by the
// page's window.close() and deleted on close.
class PopupWindow : public QWebEngineView
{
public:
    PopupWindow(QWebEngineProfile *profile, ViewHost *host)
    {
        setAttribute(Qt::WA_DeleteOnClose);
        setPage(new ViewPage(profile, host, this));
        resize(800, 600);
        connect(page(), &QWebEnginePage::titleChanged, this, &QWidget::setWindowTitle);
        connect(page(), &QWebEnginePage::windowCloseRequested, this, &QWidget::close);
        // A page names where its window goes (the frame's corner) and how much page it shows
        // (the inside): the size is the page's, the frame comes on top.
        connect(page(), &QWebEnginePage::geometryChangeRequested, this, [this](const QRect &g) {
            move(g.topLeft());
            resize(g.size());
        });
    }
};

QString SafeFileName(const QString &title)
{
    QString name = title;
    for (QChar &c : name)
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    name = name.simplified();
    return name.isEmpty() ? QStringLiteral("page") : name.left(100);
}

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

QWebEngineProfile *SharedProfile(QtWebView::Profile kind)
{
    if (kind == QtWebView::Profile::OffTheRecord)
        return QWebEngineProfile::defaultProfile(); // off the record in this engine
    static QPointer<QWebEngineProfile> perUser;
    if (!perUser) {
        // Chromium needs an absolute folder: with a relative one local storage hangs the page.
        const FolderClaim folder = ClaimPerUserFolder(QtWebView::PerUserFolder());
        if (folder.path.isEmpty()) {
            perUser = QWebEngineProfile::defaultProfile();
        } else {
            const QString name = folder.owner
                ? QStringLiteral("QuorBrowser")
                : QStringLiteral("QuorBrowser-%1").arg(QCoreApplication::applicationPid());
            perUser = new QWebEngineProfile(name, qApp);
            perUser->setPersistentStoragePath(folder.path);
            perUser->setCachePath(folder.path + QStringLiteral("/Cache"));
        }
    }
    return perUser;
}

} // namespace

struct QtWebView::Private : public ViewHost
{
    QtWebView *q = nullptr;
    ViewDialogs *dialogs = nullptr;
    QWebEngineProfile *profile = nullptr;
    QWebEngineView *view = nullptr;
    ViewPage *page = nullptr;
    QString searchPage = QStringLiteral(QUORBROWSER_SEARCH_PAGE);
    std::unique_ptr<QPrinter> printer;
    bool printing = false;
    QList<QPointer<PopupWindow>> popups;

    // The load the view has told of with DownloadBegin and not yet with DownloadComplete.
    bool loading = false;
    bool urlChangedInLoad = false;
    // A load asked for and not yet begun: the engine reports its start a few milliseconds
    // later, and the view is busy from the moment it is asked. A request that never starts a
    // load (a same-page jump, a script address) is given up after a while.
    bool requested = false;
    QTimer requestedWatch;
    QString hoveredLink;
    int toldBack = -1; // last CommandStateChange told, -1 before the first
    int toldForward = -1;

    ViewDialogs *Dialogs() const override { return dialogs; }
    QWebEnginePage *OpenWindow(QWebEnginePage::WebWindowType type) override;

    void ConnectEngine();
    void ConnectAsking(QWebEnginePage *p, QObject *context);
    void OnLoading(const QWebEngineLoadingInfo &info);
    void OnUrlChanged();
    void OnLinkHovered(const QString &url);
    void TellCommandState(bool always);
    void OnDownloadRequested(QWebEngineDownloadRequest *download);
    bool IsOurPage(const QWebEnginePage *p) const;
    void Load(const QUrl &url)
    {
        Requested();
        view->load(url);
    }
    void Requested()
    {
        requested = true;
        requestedWatch.start();
    }
    bool HasPage() const { return !view->url().isEmpty(); }
    QPrinter *Printer();
    bool Save();
    bool Print();
    bool Edit(QWebEnginePage::WebAction action);
};

QWebEnginePage *QtWebView::Private::OpenWindow(QWebEnginePage::WebWindowType type)
{
    Q_UNUSED(type); // every kind of new window gets the same plain window
    bool cancel = false;
    emit q->NewWindow2(&cancel);
    if (cancel)
        return nullptr;
    auto *window = new PopupWindow(profile, this);
    ConnectAsking(window->page(), window);
    popups.append(window);
    window->show();
    return window->page();
}

bool QtWebView::Private::IsOurPage(const QWebEnginePage *p) const
{
    if (!p)
        return false;
    if (p == page)
        return true;
    for (const auto &w : popups)
        if (w && w->page() == p)
            return true;
    return false;
}

// Every engine signal the view listens to, translated into the view's events here and in the
// handlers below.
void QtWebView::Private::ConnectEngine()
{
    QObject::connect(page, &QWebEnginePage::loadingChanged, q,
                     [this](const QWebEngineLoadingInfo &info) { OnLoading(info); });
    QObject::connect(page, &QWebEnginePage::urlChanged, q, [this] { OnUrlChanged(); });
    QObject::connect(page, &QWebEnginePage::linkHovered, q,
                     [this](const QString &url) { OnLinkHovered(url); });
    // The actions exist only once asked for; their enabled state is the history's.
    for (auto action : {QWebEnginePage::Back, QWebEnginePage::Forward})
        QObject::connect(page->action(action), &QAction::enabledChanged, q,
                         [this] { TellCommandState(false); });

    ConnectAsking(page, q);

    QObject::connect(
        profile, &QWebEngineProfile::downloadRequested, q,
        [this](QWebEngineDownloadRequest *download) { OnDownloadRequested(download); });
    QObject::connect(view, &QWebEngineView::printFinished, q, [this] { printing = false; });
}

// What a page asks of the person at the screen, or is refused without asking: the same for the
// view's own page and the pages of the windows it opened. The connections end with context.
void QtWebView::Private::ConnectAsking(QWebEnginePage *p, QObject *context)
{
    const auto parentOf = [p] { return static_cast<QWidget *>(QWebEngineView::forPage(p)); };
    const auto logIn = [this, parentOf](const QString &site, QAuthenticator *auth) {
        QString user, password;
        if (dialogs->Authenticate(parentOf(), site, auth->realm(), &user, &password)) {
            auth->setUser(user);
            auth->setPassword(password);
        } else {
            *auth = QAuthenticator(); // a null authenticator cancels
        }
    };
    QObject::connect(p, &QWebEnginePage::authenticationRequired, context,
                     [logIn](const QUrl &url, QAuthenticator *auth) { logIn(url.host(), auth); });
    QObject::connect(p, &QWebEnginePage::proxyAuthenticationRequired, context,
                     [logIn](const QUrl &, QAuthenticator *auth, const QString &proxyHost) {
                         logIn(proxyHost, auth);
                     });
    // Refused unless the person goes on to the page; some problems leave no choice.
    QObject::connect(
        p, &QWebEnginePage::certificateError, context,
        [this, parentOf](const QWebEngineCertificateError &error) {
            QWebEngineCertificateError e = error;
            if (e.isOverridable()
                && dialogs->AcceptCertificate(parentOf(), e.url().toString(), e.description()))
                e.acceptCertificate();
            else
                e.rejectCertificate();
        });
    // Camera, microphone, location, notifications, ...: refused, nobody is asked.
    QObject::connect(p, &QWebEnginePage::featurePermissionRequested, context,
                     [p](const QUrl &origin, QWebEnginePage::Feature feature) {
                         p->setFeaturePermission(origin, feature,
                                                 QWebEnginePage::PermissionDeniedByUser);
                     });
    QObject::connect(p, &QWebEnginePage::quotaRequested, context,
                     [](QWebEngineQuotaRequest request) { request.reject(); });
    QObject::connect(p, &QWebEnginePage::registerProtocolHandlerRequested, context,
                     [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
    QObject::connect(p, &QWebEnginePage::fileSystemAccessRequested, context,
                     [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
}

void QtWebView::Private::OnLoading(const QWebEngineLoadingInfo &info)
{
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        requested = false;
        if (loading)
            return; // one pair per load, however many navigations it covers
        loading = true;
        urlChangedInLoad = false;
        emit q->DownloadBegin();
        // Not the bare address: the window reads a status text that begins with "http" as the
        // link under the pointer.
        emit q->StatusTextChange(QStringLiteral("Opening page ") + info.url().toString());
        return;
    }

    // The load has ended; whatever the engine reports, the pair is closed.
    bool committed = false;
    switch (info.status()) {
    case QWebEngineLoadingInfo::LoadSucceededStatus:
        committed = true;
        break;
    case QWebEngineLoadingInfo::LoadFailedStatus:
        // An error page, or the server's own page for an HTTP error, is a page entered.
        committed = info.isErrorPage()
            || info.errorDomain() == QWebEngineLoadingInfo::HttpStatusCodeDomain;
        break;
    default: // stopped, or a value this view does not know
        committed = false;
        break;
    }
    if (!loading)
        return;
    loading = false;
    requested = false; // a navigation asked for during the load ended with it
    // Reloads and loads of the same address again enter a page without a new address.
    if (committed && !urlChangedInLoad)
        emit q->NavigateComplete2();
    TellCommandState(false);
    emit q->DownloadComplete();
    emit q->StatusTextChange(QStringLiteral("Done"));
}

void QtWebView::Private::OnUrlChanged()
{
    if (loading)
        urlChangedInLoad = true;
    else
        requested = false; // a jump within the page: no load follows
    emit q->NavigateComplete2();
}

void QtWebView::Private::OnLinkHovered(const QString &url)
{
    // The engine also reports "no link" at every page change; only a pointer leaving a link
    // clears the status text.
    if (url.isEmpty() && hoveredLink.isEmpty())
        return;
    hoveredLink = url;
    emit q->StatusTextChange(url);
}

void QtWebView::Private::TellCommandState(bool always)
{
    const int back = page->history()->canGoBack() ? 1 : 0;
    const int forward = page->history()->canGoForward() ? 1 : 0;
    if (always || back != toldBack) {
        toldBack = back;
        emit q->CommandStateChange(CSC_NAVIGATEBACK, back);
    }
    if (always || forward != toldForward) {
        toldForward = forward;
        emit q->CommandStateChange(CSC_NAVIGATEFORWARD, forward);
    }
}

void QtWebView::Private::OnDownloadRequested(QWebEngineDownloadRequest *download)
{
    // Pages saved by ExecWB arrive already under way; downloads of other views are theirs.
    if (download->state() != QWebEngineDownloadRequest::DownloadRequested
        || !IsOurPage(download->page()))
        return;
    // The engine drops a request still undecided when this returns: ask here and now.
    const QString suggested
        = QDir(download->downloadDirectory()).filePath(download->downloadFileName());
    QWidget *parent = QWebEngineView::forPage(download->page());
    const QString path = dialogs->SaveFileName(parent ? parent : q, suggested);
    if (path.isEmpty()) {
        download->cancel();
        return;
    }
    const QFileInfo file(path);
    download->setDownloadDirectory(file.absolutePath());
    download->setDownloadFileName(file.fileName());
    download->accept();
}

QPrinter *QtWebView::Private::Printer()
{
    if (!printer)
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return printer.get();
}

bool QtWebView::Private::Save()
{
    if (!HasPage())
        return false;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    const QString suggested
        = QDir(folder).filePath(SafeFileName(view->title()) + QStringLiteral(".mhtml"));
    const QString path = dialogs->SaveFileName(q, suggested);
    if (path.isEmpty())
        return true; // the person chose not to save
    // The whole page: one MIME archive, or an HTML file with its parts in a folder beside it.
    const QString ext = QFileInfo(path).suffix().toLower();
    const auto format = (ext == QLatin1String("html") || ext == QLatin1String("htm"))
        ? QWebEngineDownloadRequest::CompleteHtmlSaveFormat
        : QWebEngineDownloadRequest::MimeHtmlSaveFormat;
    page->save(path, format);
    return true;
}

bool QtWebView::Private::Print()
{
    if (!HasPage() || printing)
        return false; // the engine drops a second print while one runs
    QPrinter *p = Printer();
    p->setDocName(view->title());
    if (p->outputFormat() == QPrinter::PdfFormat) {
        const QString folder = p->outputFileName().isEmpty()
            ? QDir::homePath()
            : QFileInfo(p->outputFileName()).absolutePath();
        p->setOutputFileName(
            QDir(folder).filePath(SafeFileName(view->title()) + QStringLiteral(".pdf")));
    }
    if (!dialogs->PrintDialog(q, p))
        return true;
    printing = true;
    view->print(p); // the printer is a member: it outlives the print
    return true;
}

bool QtWebView::Private::Edit(QWebEnginePage::WebAction action)
{
    if (!HasPage())
        return false;
    // The editing actions act on the focused frame of the active window.
    q->window()->activateWindow();
    view->setFocus();
    page->triggerAction(action);
    return true;
}

QtWebView::QtWebView(ViewDialogs *dialogs, Profile profile, QWidget *parent)
    : WebView(parent)
    , d(std::make_unique<Private>())
{
    d->q = this;
    d->dialogs = dialogs;
    d->profile = SharedProfile(profile);
    // A page saved to disk still shows its pictures and follows its links to the web, as in
    // any desktop browser.
    d->profile->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    d->view = new QWebEngineView(this);
    d->page = new ViewPage(d->profile, d.get(), d->view);
    d->view->setPage(d->page);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(d->view);
    setFocusProxy(d->view);
    d->requestedWatch.setSingleShot(true);
    d->requestedWatch.setInterval(3000);
    QObject::connect(&d->requestedWatch, &QTimer::timeout, this, [this] { d->requested = false; });
    d->ConnectEngine();
    // Nobody can be connected yet: the first state goes out once the event loop runs.
    QMetaObject::invokeMethod(
        this, [this] { d->TellCommandState(true); }, Qt::QueuedConnection);
}

QtWebView::~QtWebView()
{
    // No engine signal reaches a view half torn down; a load cut short still ends its pair.
    QObject::disconnect(d->page, nullptr, this, nullptr);
    QObject::disconnect(d->profile, nullptr, this, nullptr);
    if (d->loading) {
        d->loading = false;
        emit DownloadComplete();
    }
    // The windows it opened ask this view for dialogs and windows: they go first.
    for (const auto &w : std::as_const(d->popups))
        delete w.data();
    d->page->Detach();
    if (!d->printing) {
        delete d->view;
        return;
    }
    // The engine prints from a thread of its own into the view and the printer until it says
    // it has finished (deleting them sooner brings the program down): both live on till then.
    QWebEngineView *view = d->view;
    QPrinter *printer = d->printer.release();
    view->setParent(nullptr);
    QObject::connect(view, &QWebEngineView::printFinished, view, [view, printer] {
        view->deleteLater();
        delete printer;
    });
}

void QtWebView::PrepareApplication()
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

QString QtWebView::PerUserFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/QuorBrowser");
}

QString QtWebView::ProfileFolder() const
{
    return d->profile->isOffTheRecord() ? QString() : d->profile->persistentStoragePath();
}

void QtWebView::SetSearchPage(const QString &pageTemplate)
{
    d->searchPage = pageTemplate;
}

QString QtWebView::SearchPage() const
{
    return d->searchPage;
}

QString QtWebView::HomePage() const
{
    // The start page reads the search page for its search box from its own address.
    QUrl url(QString::fromLatin1(kStartPage));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("search"),
                       QString::fromLatin1(QUrl::toPercentEncoding(d->searchPage)));
    url.setQuery(query);
    return url.toString();
}

void QtWebView::Navigate(const QString &address)
{
    const AddressAction action = ResolveAddressInput(address, QDir::currentPath(), d->searchPage);
    switch (action.kind) {
    case AddressAction::Load:
    case AddressAction::Search:
        d->Load(action.url);
        break;
    case AddressAction::Mail:
        QDesktopServices::openUrl(action.url);
        break;
    case AddressAction::Nothing:
        break;
    }
}

void QtWebView::GoBack()
{
    if (d->page->history()->canGoBack())
        d->Requested();
    d->view->back();
}

void QtWebView::GoForward()
{
    if (d->page->history()->canGoForward())
        d->Requested();
    d->view->forward();
}

void QtWebView::GoHome()
{
    d->Load(QUrl(HomePage()));
}

void QtWebView::GoSearch()
{
    d->Load(SearchPageUrl(d->searchPage, QString()));
}

void QtWebView::Refresh()
{
    if (d->HasPage())
        d->Requested();
    d->view->reload();
}

void QtWebView::Stop()
{
    d->requested = false;
    d->view->stop();
}

bool QtWebView::ExecWB(int command, int option)
{
    Q_UNUSED(option); // every command asks the person anyway
    switch (command) {
    case OLECMDID_SAVEAS:
        return d->Save();
    case OLECMDID_PRINT:
        return d->Print();
    case OLECMDID_PAGESETUP:
        d->dialogs->PageSetupDialog(this, d->Printer()); // kept for the next print
        return true;
    case OLECMDID_CUT:
        return d->Edit(QWebEnginePage::Cut);
    case OLECMDID_COPY:
        return d->Edit(QWebEnginePage::Copy);
    case OLECMDID_PASTE:
        return d->Edit(QWebEnginePage::Paste);
    case OLECMDID_SELECTALL:
        return d->Edit(QWebEnginePage::SelectAll);
    default:
        return false;
    }
}

QString QtWebView::LocationName() const
{
    return d->view->title();
}

QString QtWebView::LocationURL() const
{
    return d->view->url().toString();
}

bool QtWebView::Busy() const
{
    return d->requested || d->loading || d->page->isLoading();
}

QList<QWidget *> QtWebView::OpenedWindows() const
{
    QList<QWidget *> out;
    for (const auto &w : d->popups)
        if (w)
            out << w.data();
    return out;
}
