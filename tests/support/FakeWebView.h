#pragma once

#include "webview/AddressInput.h"
#include "webview/WebView.h"

#include <QDir>
#include <QStringList>

// A web view that records what the window asks of it and raises the events a test tells it to.
// Navigate to an address makes it the location at once (title: the address), without events,
// unless the test turns that off, or has the fake play its loads (playLoads).
class FakeWebView : public WebView
{
    Q_OBJECT
public:
    explicit FakeWebView(QWidget *parent = nullptr)
        : WebView(parent)
    {
        // The link a person would click is the one the status line shows.
        connect(this, &WebView::StatusTextChange, this, [this](const QString &t) { m_status = t; });
    }
    ~FakeWebView() override
    {
        // A load cut short still ends its pair, as the view's does.
        if (m_loadStep == LoadStep::Begun || m_loadStep == LoadStep::Entered)
            emit DownloadComplete();
    }

    void Navigate(const QString &address) override
    {
        calls << QStringLiteral("Navigate:") + address;
        ++m_personNavigations;
        if (!followNavigate)
            return;
        // The address the view would show: "127.0.0.1:8080/x" is http://..., empty text and
        // mail links leave the page as it is.
        const AddressAction action = ResolveAddressInput(
            address, QDir::currentPath(), QStringLiteral("http://search.invalid/?q=%s"));
        if (action.kind != AddressAction::Load && action.kind != AddressAction::Search)
            return;
        if (playLoads)
            PlayLoad(action.url.toString());
        else
            SetLocation(action.url.toString(), action.url.toString());
    }
    void GoBack() override { PersonAsks(QStringLiteral("GoBack")); }
    void GoForward() override { PersonAsks(QStringLiteral("GoForward")); }
    void GoHome() override { PersonAsks(QStringLiteral("GoHome")); }
    void GoSearch() override { PersonAsks(QStringLiteral("GoSearch")); }
    void Refresh() override
    {
        PersonAsks(QStringLiteral("Refresh"));
        if (playLoads && !m_url.isEmpty())
            PlayLoad(m_url);
    }
    void Stop() override
    {
        calls << QStringLiteral("Stop");
        const bool begun = m_loadStep == LoadStep::Begun || m_loadStep == LoadStep::Entered;
        ++m_load; // what the load had still to do is dropped
        m_loadStep = LoadStep::None;
        busy = false;
        m_status.clear(); // the status line says the load stopped: no link shows any more
        if (begun)
            EndLoad();
    }
    bool ExecWB(int command, int option) override
    {
        calls << QStringLiteral("ExecWB:%1,%2").arg(command).arg(option);
        switch (command) {
        case OLECMDID_PAGESETUP:
            return true;
        case OLECMDID_SAVEAS:
        case OLECMDID_PRINT:
        case OLECMDID_CUT:
        case OLECMDID_COPY:
        case OLECMDID_PASTE:
        case OLECMDID_SELECTALL:
            return !m_url.isEmpty(); // they need a page
        default:
            return false;
        }
    }
    QString LocationName() const override { return m_name; }
    QString LocationURL() const override { return m_url; }
    bool Busy() const override { return busy; }
    int OpenedWindowCount() const override { return openedWindows; }
    double ZoomFactor() const override { return zoom; }
    void SetZoomFactor(double factor) override { zoom = factor; }
    void FindText(const QString &text, bool backward, bool highlightAll) override
    {
        calls << QStringLiteral("FindText:%1,%2,%3")
                     .arg(text, backward ? "back" : "forward", highlightAll ? "all" : "one");
    }

    void SetLocation(const QString &url, const QString &name)
    {
        m_url = url;
        m_name = name;
    }
    // The page retitles itself, as a script does, with the event the view raises.
    void SetTitle(const QString &name)
    {
        m_name = name;
        emit TitleChange(name);
    }

    // Raises NewWindow2 as the view does, for the address given, with what came with the
    // request, and tells whether the window was cancelled. A window not cancelled is one more
    // window open.
    bool RaiseNewWindow2(WindowGesture gesture, const QString &address)
    {
        WindowRequest request;
        request.gesture = gesture;
        // The status line's text as the link: a text that is no link shows as none would.
        request.link = m_status;
        request.address = address;
        // The page shown asks, unless the person asked through the link's menu.
        const QUrl page(m_url);
        if (gesture != WindowGesture::LinkMenu && !m_url.isEmpty())
            request.site = page.scheme() + QLatin1String("://") + page.host();
        request.windowsOpen = openedWindows;
        request.personNavigations = m_personNavigations;
        WindowAnswer answer;
        emit NewWindow2(request, &answer);
        if (!answer.cancel)
            ++openedWindows;
        return answer.cancel;
    }
    // For a click on the link the status line shows, or a script's request for it.
    bool RaiseNewWindow2(bool fromUser = true)
    {
        return RaiseNewWindow2(fromUser ? WindowGesture::Click : WindowGesture::None, m_status);
    }

    // The calls made so far that start with prefix ("Navigate:", "Go").
    QStringList CallsStartingWith(const QString &prefix) const
    {
        QStringList out;
        for (const QString &c : calls)
            if (c.startsWith(prefix))
                out << c;
        return out;
    }

    QStringList calls;
    bool busy = false;
    double zoom = 1.0;
    int openedWindows = 0;
    bool followNavigate = true;
    // Navigate to an address and Refresh play a load as the view reports one, each step a turn
    // of the event loop after the last: DownloadBegin with "Opening page <address>", then
    // NavigateComplete2 in the new location, then DownloadComplete with "Done"; busy from the
    // call to the end. An address asked for during a load joins it (one pair for both); Stop
    // ends a load at once, without entering the page.
    bool playLoads = false;

private:
    enum class LoadStep { None, Asked, Begun, Entered };

    void PersonAsks(const QString &call)
    {
        calls << call;
        ++m_personNavigations;
    }
    void PlayLoad(const QString &url)
    {
        busy = true;
        m_loadTarget = url;
        if (m_loadStep != LoadStep::None)
            return;
        m_loadStep = LoadStep::Asked;
        NextLoadStepLater();
    }
    void NextLoadStepLater()
    {
        QMetaObject::invokeMethod(
            this,
            [this, load = m_load] {
                if (load == m_load)
                    NextLoadStep();
            },
            Qt::QueuedConnection);
    }
    void NextLoadStep()
    {
        switch (m_loadStep) {
        case LoadStep::None:
            return;
        case LoadStep::Asked:
            m_loadStep = LoadStep::Begun;
            emit DownloadBegin();
            SayLoadStatus(QStringLiteral("Opening page ") + m_loadTarget);
            break;
        case LoadStep::Begun:
            m_loadStep = LoadStep::Entered;
            SetLocation(m_loadTarget, m_loadTarget);
            emit NavigateComplete2();
            break;
        case LoadStep::Entered:
            m_loadStep = LoadStep::None;
            busy = false;
            EndLoad();
            return;
        }
        NextLoadStepLater();
    }
    void EndLoad()
    {
        emit DownloadComplete();
        SayLoadStatus(QStringLiteral("Done"));
    }
    // The view's own words on the status line are no link.
    void SayLoadStatus(const QString &text)
    {
        emit StatusTextChange(text);
        m_status.clear();
    }

    QString m_status;
    QString m_url;
    QString m_name;
    quint64 m_personNavigations = 0;
    LoadStep m_loadStep = LoadStep::None;
    QString m_loadTarget;
    quint64 m_load = 0; // the load a step queued for is still the one under way
};
