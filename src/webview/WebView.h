#pragma once

#include "webview/Download.h"
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
    // The windows the view opened for pages' requests that are still open.
    virtual int OpenedWindowCount() const = 0;

    // Beyond the page control: what a person expects of a browser's page.
    // The page's zoom for this run, 1.0 being 100%.
    virtual double ZoomFactor() const = 0;
    virtual void SetZoomFactor(double factor) = 0;
    // Looks for text in the page from the current match on, forwards or backwards; an empty text
    // ends the search and clears the marks. With highlightAll off only the match found is
    // marked. The answer comes with FindTextResult.
    virtual void FindText(const QString &text, bool backward, bool highlightAll) = 0;

signals:
    void StatusTextChange(const QString &text);
    void CommandStateChange(int command, bool enable);
    void DownloadBegin();
    void DownloadComplete();
    void NavigateComplete2();
    // The page's title changed, also long after its load (a script retitling it); the text is
    // what LocationName() now says.
    void TitleChange(const QString &title);
    // Raised before every new window, with what the view knows of the request. The view obeys
    // the answer: with cancel left set (as it comes) the window does not open at all; cleared,
    // the view opens the page in a plain window of its own.
    void NewWindow2(const WindowRequest &request, WindowAnswer *answer);

    // The answer to FindText: the match now marked (from 1; 0 with none) of the matches found.
    void FindTextResult(int active, int total);
    // Ctrl and the wheel over the page: steps to zoom in (positive) or out (negative).
    void ZoomWheel(int steps);
    // The person accepted a file download; it runs on, and the view keeps the object.
    void FileDownloadStarted(Download *download);
};
