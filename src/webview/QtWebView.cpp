// The web view on Qt WebEngine: its operations, the windows it opens and its page commands.

#include "webview/QtWebView_p.h"

#include "webview/AddressInput.h"
#include "webview/LocalFiles.h"
#include "webview/QtWebProfile.h"
#include "webview/ViewDialogs.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUrlQuery>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include <memory>

namespace {

const char kStartPage[] = "qrc:/quorbrowser/start.html";

QString SafeFileName(const QString &title)
{
    QString name = title;
    for (QChar &c : name)
        if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    name = name.simplified();
    return name.isEmpty() ? QStringLiteral("page") : name.left(100);
}

} // namespace

WindowAnswer QtWebView::Private::AskNewWindow(WindowGesture gesture, const QUrl &address,
                                              const QString &site)
{
    WindowRequest request;
    request.gesture = gesture;
    request.link = linkShowing;
    request.address = ShownAddress(address.toString());
    request.site = site;
    request.windowsOpen = q->OpenedWindowCount();
    request.personNavigations = personNavigations;
    WindowAnswer answer;
    emit q->NewWindow2(request, &answer);
    if (answer.siteUnheard && !site.isEmpty())
        unheardSites.insert(site);
    return answer;
}

PopupWindow *QtWebView::Private::NewPopup()
{
    // Every kind of new window gets the same plain window.
    auto *window = new PopupWindow(profile, this);
    ConnectAsking(window->page(), window);
    popups.append(window);
    return window;
}

void QtWebView::Private::OpenWindow(QWebEnginePage *opener, QWebEngineNewWindowRequest &request)
{
    // The engine says whether an act of the person's came with it; which act, the view knows.
    const WindowGesture gesture = !request.isUserInitiated() ? WindowGesture::None
        : lastGesture == WindowGesture::None                 ? WindowGesture::OtherKey
                                                             : lastGesture;
    const WindowAnswer answer
        = AskNewWindow(gesture, request.requestedUrl(), SiteOf(opener->url()));
    if (answer.cancel) {
        // A site not heard any more asks no more on its own, from this page or a window it
        // opened, nor after it reloads itself; a person's click still is heard.
        if (answer.siteUnheard)
            opener->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
        return;
    }
    PopupWindow *window = NewPopup();
    request.openIn(window->page());
    window->show();
}

void QtWebView::Private::OpenLinkWindow(const QUrl &link)
{
    // Asked by the person, not by the page: the page is no opener of it.
    if (AskNewWindow(WindowGesture::LinkMenu, link, QString()).cancel)
        return;
    PopupWindow *window = NewPopup();
    window->load(link);
    window->show();
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
    if (p->outputFormat() == QPrinter::PdfFormat && !p->outputFileName().isEmpty()) {
        // A PDF file is made by the engine itself: text stays text, not one picture per page.
        printingPdf = true;
        view->printToPdf(p->outputFileName(), p->pageLayout(), p->pageRanges());
        return true;
    }
    printingPdf = false;
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

QtWebView::QtWebView(ViewDialogs *dialogs, QtWebProfile::Kind profile, QWidget *parent)
    : WebView(parent)
    , d(std::make_unique<Private>())
{
    d->q = this;
    d->dialogs = dialogs;
    d->profile = QtWebProfile::Shared(profile);
    d->view = new ViewWidget(this);
    d->view->SetHost(d.get());
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
    QTimer::singleShot(0, this, [this] { d->TellCommandState(true); });
}

QtWebView::~QtWebView()
{
    // No engine signal or press reaches a view half torn down; a load cut short still ends its
    // pair.
    d->inputWatch.reset();
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
    d->view->Detach();
    if (!d->printing) {
        delete d->view;
        return;
    }
    // The engine prints from a thread of its own into the view and the printer until it says
    // it has finished (deleting them sooner brings the program down): both live on till then.
    QWebEngineView *view = d->view;
    QPrinter *printer = d->printer.release();
    view->setParent(nullptr);
    const auto finished = [view, printer] {
        view->deleteLater();
        delete printer;
    };
    if (d->printingPdf)
        QObject::connect(view, &QWebEngineView::pdfPrintingFinished, view, finished);
    else
        QObject::connect(view, &QWebEngineView::printFinished, view, finished);
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

void QtWebView::Private::PersonNavigates()
{
    ++personNavigations;
    unheardSites.clear();
    page->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
}

QString QtWebView::Private::SiteOf(const QUrl &url)
{
    // A local page is a file to the window, not the address it is shown under in here.
    const QUrl shown = LocalFileUrl(url);
    return shown.scheme() + QLatin1String("://") + shown.host();
}

int QtWebView::OpenedWindowCount() const
{
    return int(OpenedWindows().size());
}

void QtWebView::Navigate(const QString &address)
{
    d->PersonNavigates();
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
    d->PersonNavigates();
    if (d->page->history()->canGoBack())
        d->Requested();
    d->view->back();
}

void QtWebView::GoForward()
{
    d->PersonNavigates();
    if (d->page->history()->canGoForward())
        d->Requested();
    d->view->forward();
}

void QtWebView::GoHome()
{
    d->PersonNavigates();
    d->Load(QUrl(HomePage()));
}

void QtWebView::GoSearch()
{
    d->PersonNavigates();
    d->Load(SearchPageUrl(d->searchPage, QString()));
}

void QtWebView::Refresh()
{
    d->PersonNavigates(); // the person's own reload is heard afresh; a page's own is not
    if (d->HasPage())
        d->Requested();
    d->view->reload();
}

void QtWebView::Stop()
{
    d->requested = false;
    // The status line says the load stopped: no link shows there any more.
    d->linkShowing.clear();
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
    // A page without a title is named by its address.
    const QString title = d->view->title();
    return title == d->view->url().toString() ? LocationURL() : title;
}

QString QtWebView::LocationURL() const
{
    return ShownAddress(d->view->url().toString());
}

bool QtWebView::Busy() const
{
    return d->requested || d->loading || d->page->isLoading();
}

double QtWebView::ZoomFactor() const
{
    return d->view->zoomFactor();
}

void QtWebView::SetZoomFactor(double factor)
{
    d->view->setZoomFactor(factor);
}

void QtWebView::FindText(const QString &text, bool backward, bool highlightAll)
{
    d->findText = text;
    d->findHighlightAll = highlightAll;
    d->view->findText(text, backward ? QWebEnginePage::FindBackward : QWebEnginePage::FindFlags());
}

QList<QWidget *> QtWebView::OpenedWindows() const
{
    QList<QWidget *> out;
    for (const auto &w : d->popups)
        if (w)
            out << w.data();
    return out;
}
