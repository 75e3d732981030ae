#pragma once

// The main window on the real engine, in an application folder of its own.

#include "BrowserHarness.h"
#include "TestFiles.h"
#include "WebViewTestKit.h"

// One main window on the real engine in its own application folder.
struct EngineWindow : BrowserHarness
{
    FakeViewDialogs viewDialogs;
    QtWebView *view = new QtWebView(&viewDialogs, QtWebProfile::Kind::OffTheRecord);

    void start(const QString &popupMode, const QString &commandLine)
    {
        if (!popupMode.isEmpty())
            WriteAll(path("QuorBrowser.cfg"),
                     "21127OCT99\r\n0\r\n" + popupMode.toLatin1()
                         + "\r\nBlank\r\n12000\r\n9000\r\n0\r\n0\r\n0\r\n");
        w = std::make_unique<frmBrowser>(Environment(view, commandLine));
        QSignalSpy loaded(view, &WebView::DownloadComplete);
        w->Form_Load();
        w->show();
        if (!commandLine.isEmpty())
            QVERIFY(loaded.wait(15000));
    }
};
