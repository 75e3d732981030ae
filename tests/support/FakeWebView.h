#pragma once

#include "webview/AddressInput.h"
#include "webview/WebView.h"

#include <QDir>
#include <QStringList>

// A web view that records what the window asks of it and raises the events a test tells it to.
// Navigate to an address makes it the location at once (title: the address), without events,
// unless the test turns that off.
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

    void Navigate(const QString &address) override
    {
        calls << QStringLiteral("Navigate:") + address;
        if (!followNavigate)
            return;
        // The address the view would show: "127.0.0.1:8080/x" is http://..., empty text and
        // mail links leave the page as it is.
        const AddressAction action = ResolveAddressInput(
            address, QDir::currentPath(), QStringLiteral("http://search.invalid/?q=%s"));
        if (action.kind == AddressAction::Load || action.kind == AddressAction::Search)
            SetLocation(action.url.toString(), action.url.toString());
    }
    void GoBack() override { calls << QStringLiteral("GoBack"); }
    void GoForward() override { calls << QStringLiteral("GoForward"); }
    void GoHome() override { calls << QStringLiteral("GoHome"); }
    void GoSearch() override { calls << QStringLiteral("GoSearch"); }
    void Refresh() override { calls << QStringLiteral("Refresh"); }
    void Stop() override { calls << QStringLiteral("Stop"); }
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

    // Raises NewWindow2 as the view does, for the address given, with what came with the
    // request, and tells whether the window was cancelled.
    bool RaiseNewWindow2(WindowGesture gesture, const QString &address)
    {
        WindowRequest request;
        request.gesture = gesture;
        // The status line's text as the link: a text that is no link shows as none would.
        request.link = m_status;
        request.address = address;
        request.windowsOpen = openedWindows;
        WindowAnswer answer;
        emit NewWindow2(request, &answer);
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

private:
    QString m_status;
    QString m_url;
    QString m_name;
};
