#pragma once

#include "FakeDesktopOpener.h"
#include "FakeFileAssociations.h"
#include "FakeNativeWindows.h"
#include "FakeUserDialogs.h"
#include "FakeWebView.h"
#include "FakeWinsock.h"
#include "browser/frmBrowser.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolBar>
#include <memory>

// A main window in an application folder of the test's own, with fakes for what leaves the
// process. The view is the test's: a FakeWebView, or the real one.
struct BrowserHarness
{
    QTemporaryDir dir;
    FakeUserDialogs dialogs;
    FakeInstanceStarter starter;
    FakeWinsock sockets;
    win::WinsockLayer socketLayer {sockets};
    FakeFileAssociations associations;
    FakeDesktopOpener opener;
    FakeNativeWindows nativeWindows;
    InstanceStarter *instanceStarter = &starter; // a test may hand in a real one
    int splashesMade = 0;
    std::unique_ptr<frmBrowser> w;

    QString path(const QString &name) const { return dir.filePath(name); }

    // The engine the window is told it runs on.
    static constexpr const char *EngineLine
        = "Qt WebEngine 6.4.2, Chromium 102.0.5005.177, security fixes to Chromium 108.0.5359.94";

    // The environment of a window on view (which the window takes over), in folder (the
    // harness's own when empty).
    BrowserEnvironment Environment(WebView *view, const QString &commandLine = QString(),
                                   const QString &folder = QString())
    {
        BrowserEnvironment env;
        env.view = view;
        env.appFolder = folder.isEmpty() ? dir.path() : folder;
        env.commandLine = commandLine;
        env.starter = instanceStarter;
        env.dialogs = &dialogs;
        env.makeSplash = [this] {
            ++splashesMade;
            auto *splash = new QWidget;
            splash->setObjectName("frmSplash");
            return splash;
        };
        env.supportPage = "http://127.0.0.1:9/support";
        env.homeSite = "http://127.0.0.1:9/";
        env.supportMail = "support@example.com";
        env.engineVersion = EngineLine;
        env.sockets = &socketLayer;
        env.associations = &associations;
        env.associationProgram = "/opt/QuorBrowser/QuorBrowser";
        env.opener = &opener;
        env.nativeWindows = &nativeWindows;
        return env;
    }
};

// The window tests' harness: the window on a FakeWebView.
struct Harness : BrowserHarness
{
    FakeWebView *view = new FakeWebView;

    void create(const QString &commandLine = QString())
    {
        w = std::make_unique<frmBrowser>(Environment(view, commandLine));
    }
    // The start: load sequence, then shown.
    void start(const QString &commandLine = QString())
    {
        create(commandLine);
        w->Form_Load();
        w->show();
    }
    QStringList navigations() const { return view->CallsStartingWith("Navigate:"); }
};

// Gives the widget the keyboard focus as a click would, and returns the widget that key
// presses then reach: where a keyboard's keys go.
inline QWidget *FocusOn(QWidget *box)
{
    box->setFocus(Qt::MouseFocusReason);
    return QApplication::focusWidget() && box->hasFocus() ? QApplication::focusWidget() : nullptr;
}

// The menu bar as text: one line per item, in order, with its caption, shortcut and mark.
inline QStringList MenuInventory(QMenu *menu, const QString &path)
{
    QStringList lines;
    for (QAction *a : menu->actions()) {
        QString line = path + ">" + a->objectName();
        if (a->isSeparator()) {
            lines << line + " -";
            continue;
        }
        line += " \"" + a->text() + "\"";
        if (!a->shortcut().isEmpty())
            line += " " + a->shortcut().toString();
        if (a->isCheckable() && a->isChecked())
            line += " checked";
        if (!a->isEnabled() || !a->isVisible())
            line += " OFF";
        lines << line;
        if (a->menu())
            lines << MenuInventory(a->menu(), path + ">" + a->objectName());
    }
    return lines;
}

// A toolbar's buttons as "key|caption|tooltip", separators as "-".
inline QStringList ToolbarKeys(QToolBar *bar)
{
    QStringList keys;
    for (QAction *a : bar->actions())
        keys << (a->isSeparator()
                     ? QString("-")
                     : a->property("Key").toString() + "|" + a->text() + "|" + a->toolTip());
    return keys;
}
