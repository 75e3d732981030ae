#pragma once

// The engine's pages as a view of this program uses them. Seen only inside this folder.

#include "webview/CaptionThrottle.h"
#include "webview/LocalFiles.h"
#include "webview/ViewDialogs.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineNewWindowRequest>
#include <QWebEnginePage>
#include <QWebEngineView>

// What the pages of one view (its own and those of the windows it opened) ask of that view.
class ViewHost
{
public:
    virtual ~ViewHost() = default;
    virtual ViewDialogs *Dialogs() const = 0;
    // Raises NewWindow2 for a page's request and opens the window unless it is refused.
    virtual void OpenWindow(QWebEnginePage *opener, QWebEngineNewWindowRequest &request) = 0;
    // Whether a link for another program may be asked about now: once for each press of the
    // person's, never without one.
    virtual bool MayAskExternal() = 0;
    // The person chose "Open link in new window" for link in a page's menu.
    virtual void OpenLinkWindow(const QUrl &link) = 0;
};

// The page with what a desktop browser's view does by itself: new windows decided before the
// new page asks anything of its server, and script dialogs through the view's dialogs.
class ViewPage : public QWebEnginePage
{
public:
    ViewPage(QWebEngineProfile *profile, ViewHost *host, QObject *parent)
        : QWebEnginePage(profile, parent)
        , m_host(host)
    {
        connect(this, &QWebEnginePage::loadStarted, this, [this] {
            m_dialogs = 0;
            m_dialogsStopped = false;
        });
        // Asked with the engine's word on whether a person's click or key asked for it; a
        // window not opened in here is dropped by the engine before it loads anything.
        connect(this, &QWebEnginePage::newWindowRequested, this,
                [this](QWebEngineNewWindowRequest &request) {
                    if (m_host)
                        m_host->OpenWindow(this, request);
                });
    }

protected:
    // From the page's second dialog on, the person may stop it showing more: an alert loop
    // then ends at once. A new page starts afresh.
    void javaScriptAlert(const QUrl &origin, const QString &msg) override
    {
        if (!m_host || m_dialogsStopped)
            return;
        bool stop = false;
        m_host->Dialogs()->Alert(Parent(), Title(origin), msg, OfferStop(&stop));
        m_dialogsStopped = stop;
    }
    bool javaScriptConfirm(const QUrl &origin, const QString &msg) override
    {
        if (!m_host || m_dialogsStopped)
            return false;
        bool stop = false;
        const bool yes = m_host->Dialogs()->Confirm(Parent(), Title(origin), msg, OfferStop(&stop));
        m_dialogsStopped = stop;
        return yes && !stop;
    }
    bool javaScriptPrompt(const QUrl &origin, const QString &msg, const QString &defaultValue,
                          QString *result) override
    {
        if (!m_host || m_dialogsStopped)
            return false;
        QString value = defaultValue;
        bool stop = false;
        const bool ok
            = m_host->Dialogs()->Prompt(Parent(), Title(origin), msg, &value, OfferStop(&stop));
        m_dialogsStopped = stop;
        if (!ok || stop)
            return false;
        *result = value;
        return true;
    }

    // A link the engine does not show itself goes to another program only when the person
    // says so, once per click: a page's script that rides on the click asks no more than once.
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override
    {
        if (!IsExternal(url))
            return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
        return m_host && m_host->MayAskExternal()
            && m_host->Dialogs()->OpenExternally(Parent(), url.toString());
    }

public:
    // The view is going: the page asks nobody any more.
    void Detach() { m_host = nullptr; }

    // Schemes the engine shows itself; any other is another program's.
    static bool IsExternal(const QUrl &url)
    {
        static const QStringList own
            = {QStringLiteral("http"),         QStringLiteral("https"),
               QStringLiteral("file"),         QStringLiteral("about"),
               QStringLiteral("data"),         QStringLiteral("blob"),
               QStringLiteral("qrc"),          QStringLiteral("view-source"),
               QStringLiteral("ws"),           QStringLiteral("wss"),
               QStringLiteral("javascript"),   QStringLiteral("filesystem"),
               QStringLiteral("chrome"),       QStringLiteral("devtools"),
               QLatin1String(kLocalPageScheme)};
        return !url.scheme().isEmpty() && !own.contains(url.scheme().toLower());
    }

private:
    QWidget *Parent() const { return QWebEngineView::forPage(this); }
    static QString Title(const QUrl &origin)
    {
        // A local page's host is no name a person knows: it speaks as a file does.
        const QString host = LocalFileUrl(origin).host();
        return host.isEmpty() ? QStringLiteral("QuorBrowser") : host;
    }

    bool *OfferStop(bool *stop) { return ++m_dialogs >= 2 ? stop : nullptr; }

    ViewHost *m_host;
    int m_dialogs = 0; // shown since the page was entered
    bool m_dialogsStopped = false;
};

// A view of a page with the page's menu of a browser without tabs: "Open link in new window"
// is the person's own request, not the page's.
class ViewWidget : public QWebEngineView
{
public:
    explicit ViewWidget(QWidget *parent = nullptr)
        : QWebEngineView(parent)
    { }
    void SetHost(ViewHost *host) { m_host = host; }

protected:
    void contextMenuEvent(QContextMenuEvent *event) override
    {
        QMenu *menu = createStandardContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose, true);
        for (auto tab :
             {QWebEnginePage::OpenLinkInNewTab, QWebEnginePage::OpenLinkInNewBackgroundTab})
            menu->removeAction(pageAction(tab));
        QAction *engineWindow = pageAction(QWebEnginePage::OpenLinkInNewWindow);
        const QUrl link = lastContextMenuRequest() ? lastContextMenuRequest()->linkUrl() : QUrl();
        if (menu->actions().contains(engineWindow) && m_host && link.isValid()) {
            auto *own = new QAction(engineWindow->text(), menu);
            menu->insertAction(engineWindow, own);
            menu->removeAction(engineWindow);
            ViewHost *host = m_host;
            connect(own, &QAction::triggered, this, [host, link] { host->OpenLinkWindow(link); });
        }
        menu->popup(event->globalPos());
    }

public:
    void Detach() { m_host = nullptr; }

private:
    ViewHost *m_host = nullptr;
};

// A page opened for a new-window request: a plain top-level window of its own, closed by the
// page's window.close() and deleted on close.
class PopupWindow : public ViewWidget
{
public:
    PopupWindow(QWebEngineProfile *profile, ViewHost *host)
    {
        SetHost(host);
        setAttribute(Qt::WA_DeleteOnClose);
        setPage(new ViewPage(profile, host, this));
        resize(800, 600);
        connect(page(), &QWebEnginePage::titleChanged, this,
                [this](const QString &title) { m_caption.Set(ShownAddress(title)); });
        connect(page(), &QWebEnginePage::windowCloseRequested, this, &QWidget::close);
        // A page names where its window goes (the frame's corner) and how much page it shows
        // (the inside): the size is the page's, the frame comes on top.
        connect(page(), &QWebEnginePage::geometryChangeRequested, this, [this](const QRect &g) {
            move(g.topLeft());
            resize(g.size());
        });
    }

private:
    CaptionThrottle m_caption {[this](const QString &c) { setWindowTitle(c); }};
};
