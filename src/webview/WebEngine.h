#pragma once

#include "webview/EngineVersion.h"

#include <QString>

#include <memory>

class QWidget;
class ViewDialogs;
class WebView;

// The web engine behind the views, as the program meets it: what it needs before and after the
// application is made, the views and the dialogs they ask through, and its end. One
// implementation per engine; the build links one, and MakeWebEngine() makes it, so a build for
// another Qt, or another engine, changes that one place.
class WebEngine
{
public:
    struct ViewOptions
    {
        // Nothing the pages keep (cookies, site data) outlives the process.
        bool offTheRecord = false;
        // The search page, "%s" standing for the words searched for; empty: the built-in one.
        QString searchPage;
    };

    virtual ~WebEngine() = default;

    // The engine's versions, as its library tells them: nothing is started for it, so it is
    // there before the application is made (--version).
    virtual EngineVersion Version() const = 0;

    // Before the QApplication is made: what the engine must have set by then.
    virtual void PrepareApplication() = 0;
    // Right after the QApplication is made.
    virtual void ApplicationMade() = 0;
    // The questions a view asks the person at the screen (script dialogs, log-ins, where to
    // save), as the program shows them.
    virtual std::unique_ptr<ViewDialogs> MakeViewDialogs() = 0;
    // A view answering through dialogs, which outlive it. The view is the caller's, or its
    // parent's.
    virtual WebView *MakeView(ViewDialogs *dialogs, const ViewOptions &options,
                              QWidget *parent = nullptr)
        = 0;
    // Once the last view is gone, before the process ends: what the engine keeps is written
    // while it still runs.
    virtual void Release() = 0;
};

// The engine this build links.
std::unique_ptr<WebEngine> MakeWebEngine();
