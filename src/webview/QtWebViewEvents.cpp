// The engine's signals translated into the view's events, and what pages ask of the person.

#include "webview/QtWebView_p.h"

#include "webview/DownloadNames.h"
#include "webview/LocalFiles.h"
#include "webview/QtDownload.h"

#include <QAction>
#include <QApplication>
#include <QAuthenticator>
#include <QDir>
#include <QKeyEvent>
#include <QWebEngineCertificateError>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFileSystemAccessRequest>
#include <QWebEngineFindTextResult>
#include <QWebEngineHistory>
#include <QWebEngineProfile>
#include <QtWebEngineCore/qtwebenginecoreversion.h>
#if QTWEBENGINECORE_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#include <QWebEnginePermission>
#else
#include <QWebEngineQuotaRequest>
#endif
#include <QWebEngineRegisterProtocolHandlerRequest>
#include <QWebEngineSettings>

#include <functional>

namespace {

// Watches the person's presses on one widget and on the widget that takes its keys and clicks
// (the page's own, which comes and goes with the engine), and tells what each was.
class InputWatch : public QObject
{
public:
    InputWatch(QWidget *watched, std::function<void(WindowGesture)> pressed,
               std::function<void(int)> ctrlWheel)
        : m_watched(watched)
        , m_pressed(std::move(pressed))
        , m_ctrlWheel(std::move(ctrlWheel))
    {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *receiver, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick
            && type != QEvent::KeyPress && type != QEvent::Wheel)
            return false;
        // Compared, never asked: an event may be on its way to an object being destroyed.
        QWidget *input = m_watched;
        while (input->focusProxy())
            input = input->focusProxy();
        if (receiver != input && receiver != m_watched)
            return false;
        if (type == QEvent::Wheel) {
            // Ctrl and the wheel zoom the page, as the window says; the page sees no scroll.
            const auto *wheel = static_cast<QWheelEvent *>(event);
            if (!(wheel->modifiers() & Qt::ControlModifier))
                return false;
            m_ctrlWheel(wheel->angleDelta().y());
            return true;
        }
        if (type != QEvent::KeyPress) {
            m_pressed(WindowGesture::Click);
            return false;
        }
        switch (static_cast<QKeyEvent *>(event)->key()) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_Meta:
            break; // held for a click or a key to come
        case Qt::Key_Return:
        case Qt::Key_Enter:
            m_pressed(WindowGesture::EnterKey);
            break;
        default:
            m_pressed(WindowGesture::OtherKey);
            break;
        }
        return false;
    }

private:
    QWidget *m_watched;
    std::function<void(WindowGesture)> m_pressed;
    std::function<void(int)> m_ctrlWheel;
};

} // namespace

// Every engine signal the view listens to, translated into the view's events here and in the
// handlers below.
void QtWebView::Private::ConnectEngine()
{
    inputWatch = std::make_unique<InputWatch>(
        view,
        [this](WindowGesture g) {
            lastGesture = g;
            ++presses;
        },
        [this](int angle) {
            // A notch is 120; a touchpad sends less at a time.
            zoomWheel += angle;
            const int steps = zoomWheel / 120;
            zoomWheel -= steps * 120;
            if (steps != 0)
                emit q->ZoomWheel(steps);
        });
    QObject::connect(page, &QWebEnginePage::findTextFinished, q,
                     [this](const QWebEngineFindTextResult &result) {
                         if (findText.isEmpty() || endingFind)
                             return; // the marks were cleared
                         emit q->FindTextResult(result.activeMatch(), result.numberOfMatches());
                         if (findHighlightAll || result.numberOfMatches() == 0)
                             return;
                         // Only the match found stays marked: the search ends there and
                         // leaves it selected; the next one goes on from it.
                         endingFind = true;
                         view->findText(QString());
                         endingFind = false;
                     });
    QObject::connect(page, &QWebEnginePage::loadingChanged, q,
                     [this](const QWebEngineLoadingInfo &info) { OnLoading(info); });
    QObject::connect(page, &QWebEnginePage::urlChanged, q, [this] { OnUrlChanged(); });
    QObject::connect(page, &QWebEnginePage::titleChanged, q,
                     [this] { emit q->TitleChange(q->LocationName()); });
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
    QObject::connect(view, &QWebEngineView::pdfPrintingFinished, q, [this] { printing = false; });
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
    // Camera, microphone, location, notifications, ...: refused, nobody is asked. Engines from
    // 6.8 on ask through permission objects; the older ones through features of the page.
#if QTWEBENGINECORE_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QObject::connect(p, &QWebEnginePage::permissionRequested, context,
                     [](QWebEnginePermission permission) { permission.deny(); });
#else
    QObject::connect(p, &QWebEnginePage::featurePermissionRequested, context,
                     [p](const QUrl &origin, QWebEnginePage::Feature feature) {
                         p->setFeaturePermission(origin, feature,
                                                 QWebEnginePage::PermissionDeniedByUser);
                     });
    // Later engines no longer ask for storage quota at all.
    QObject::connect(p, &QWebEnginePage::quotaRequested, context,
                     [](QWebEngineQuotaRequest request) { request.reject(); });
#endif
    QObject::connect(p, &QWebEnginePage::registerProtocolHandlerRequested, context,
                     [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
    QObject::connect(p, &QWebEnginePage::fileSystemAccessRequested, context,
                     [](QWebEngineFileSystemAccessRequest request) { request.reject(); });
}

void QtWebView::Private::OnLoading(const QWebEngineLoadingInfo &info)
{
    if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
        requested = false;
        // A page of a site that has asked too often stays unheard; any other is heard.
        page->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows,
                                       !unheardSites.contains(SiteOf(info.url())));
        if (loading)
            return; // one pair per load, however many navigations it covers
        loading = true;
        urlChangedInLoad = false;
        emit q->DownloadBegin();
        linkShowing.clear();
        // Not the bare address: a status text beginning with "http" stays a link's, as the
        // status line has always shown it.
        emit q->StatusTextChange(QStringLiteral("Opening page ")
                                 + ShownAddress(info.url().toString()));
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
    linkShowing.clear();
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
    hoveredLink = ShownAddress(url);
    linkShowing = hoveredLink;
    emit q->StatusTextChange(hoveredLink);
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
    // The engine drops a request still undecided when this returns: ask here and now. The
    // server's name for the file is only a suggestion: a plain name in the download folder.
    const QString suggested
        = FreeDownloadPath(DownloadFolder(), PlainDownloadName(download->downloadFileName()),
                           [](const QString &path) { return QFileInfo::exists(path); });
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
    emit q->FileDownloadStarted(new QtDownload(download, q));
}
