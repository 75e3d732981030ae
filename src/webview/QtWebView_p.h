#pragma once

// The inside of QtWebView, shared by the files that make it up.

#include "Version.h"
#include "webview/QtWebPages.h"
#include "webview/QtWebView.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QPrinter>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <memory>

class QWebEngineDownloadRequest;

struct QtWebView::Private : public ViewHost
{
    QtWebView *q = nullptr;
    ViewDialogs *dialogs = nullptr;
    QWebEngineProfile *profile = nullptr;
    ViewWidget *view = nullptr;
    ViewPage *page = nullptr;
    QString searchPage = QStringLiteral(QUORBROWSER_SEARCH_PAGE);
    std::unique_ptr<QPrinter> printer;
    bool printing = false;
    bool printingPdf = false; // through the engine's own PDF path, which keeps the text
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
    void OpenWindow(QWebEnginePage *opener, QWebEngineNewWindowRequest &request) override;
    void OpenLinkWindow(const QUrl &link) override;
    bool MayAskExternal() override
    {
        if (presses == askedAtPress)
            return false;
        askedAtPress = presses;
        return true;
    }
    quint64 presses = 0; // the person's presses on the view so far
    quint64 askedAtPress = 0;
    // Raises NewWindow2 for a request with what came with it; true when it is refused.
    bool NewWindowRefused(WindowGesture gesture, const QUrl &target);
    PopupWindow *NewPopup();
    // The text searched for last, and whether every match is to stay marked.
    QString findText;
    bool findHighlightAll = true;
    bool endingFind = false;
    int zoomWheel = 0; // wheel turn not yet a whole step
    // While NewWindow2 is raised: what came with the request, and what it asks for.
    WindowGesture newWindowGesture = WindowGesture::None;
    QString newWindowAddress;
    // The person's last press on the view, what a request that comes with an act of theirs
    // came with.
    std::unique_ptr<QObject> inputWatch;
    WindowGesture lastGesture = WindowGesture::None;
    // Windows refused, by the site that asked, since the person last went somewhere of their
    // own; past a few the site may open no more on its own, so a script that asks in a loop
    // costs nothing.
    QHash<QString, int> refusedBySite;
    static QString SiteOf(const QUrl &url);
    void PersonNavigates();

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
