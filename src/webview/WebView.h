#pragma once

#include "webview/WindowRequest.h"

#include <QString>
#include <QWidget>

// The web view as the browser window sees it: the operations, properties and events of the
// page control, under their own names, with no engine type in sight. The window holds one of
// these as brwWebBrowser; tests hand in a fake.
class WebView : public QWidget
{
    Q_OBJECT
public:
    // Command ids of ExecWB.
    enum Command {
        OLECMDID_SAVEAS = 4,
        OLECMDID_PRINT = 6,
        OLECMDID_PAGESETUP = 8,
        OLECMDID_CUT = 11,
        OLECMDID_COPY = 12,
        OLECMDID_PASTE = 13,
        OLECMDID_SELECTALL = 17,
    };
    // Options of ExecWB.
    enum CommandOption {
        OLECMDEXECOPT_PROMPTUSER = 1,
        OLECMDEXECOPT_DONTPROMPTUSER = 2,
    };
    // Commands of CommandStateChange.
    enum StateCommand {
        CSC_NAVIGATEFORWARD = 1,
        CSC_NAVIGATEBACK = 2,
    };

    explicit WebView(QWidget *parent = nullptr)
        : QWidget(parent)
    { }

    // Returns at once; the load is reported by the events. Takes what an address bar takes:
    // addresses, a bare host name or words, about:blank, view-source:, mailto: (handed to the
    // desktop's mail program) and local file paths.
    virtual void Navigate(const QString &address) = 0;
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void GoHome() = 0;
    virtual void GoSearch() = 0;
    virtual void Refresh() = 0;
    virtual void Stop() = 0;
    // Returns false when the command could not run (no page, not available); callers may
    // ignore it.
    virtual bool ExecWB(int command, int option) = 0;

    virtual QString LocationName() const = 0;
    virtual QString LocationURL() const = 0;
    virtual bool Busy() const = 0;
    // While NewWindow2 is raised: the person's act the request came with (None when a script of
    // the page asks on its own), and the address the page asks the window to open.
    virtual WindowGesture NewWindowGesture() const = 0;
    virtual QString NewWindowAddress() const = 0;
    bool NewWindowFromUser() const { return NewWindowGesture() != WindowGesture::None; }

signals:
    void StatusTextChange(const QString &text);
    void CommandStateChange(int command, bool enable);
    void DownloadBegin();
    void DownloadComplete();
    void NavigateComplete2();
    // Raised before every new window. Setting *cancel keeps the window from opening at all;
    // leaving it clear lets the view open the page in a plain window of its own.
    void NewWindow2(bool *cancel);
};
