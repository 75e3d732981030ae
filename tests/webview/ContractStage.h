#pragma once

// The views the contract rules run on, each made by its factory, and what a page and the person
// do on each: on the real view through pages of the test server and real input, on the fake as
// the window tests play it (the fake's "page" is the test, which raises what the page would ask
// for).

#include "FakeWebView.h"
#include "HttpServer.h"
#include "WebViewTestKit.h"
#include "webview/WebEngine.h"

#include <QMenu>
#include <QTemporaryDir>

enum class ViewKind { Fake, Real };
Q_DECLARE_METATYPE(ViewKind)

// What the person does in the page before it asks for a window.
enum class Act {
    Nothing, // the page asks by itself as it loads
    PointAndClick, // the pointer rests on the link, then a click
    Click, // a click on something that is no link
    LinkMenu, // "Open link in new window" from the page's menu for the link under the pointer
};
Q_DECLARE_METATYPE(Act)
Q_DECLARE_METATYPE(WindowGesture)

// Each rule's row, once for each view.
template<typename... Values> void BothViews(const char *name, const Values &...values)
{
    for (ViewKind kind : {ViewKind::Fake, ViewKind::Real})
        ((QTest::addRow("%s, %s", name, kind == ViewKind::Fake ? "fake" : "real") << kind)
         << ... << values);
}

class ContractStage
{
public:
    // The test server's pages and the local pages. A failure is the test's.
    void ServePages()
    {
        QVERIFY(server.isListening());
        QVERIFY(dir.isValid());
        server.html(QStringLiteral("/page"), HttpServer::Page(QStringLiteral("Page")));
        server.html(QStringLiteral("/slow"), HttpServer::Page(QStringLiteral("Slow")), 5000);
        server.html(QStringLiteral("/opener"),
                    HttpServer::Page(QStringLiteral("Opener"),
                                     QStringLiteral("<script>window.open('/popup')</script>")));
        server.html(QStringLiteral("/asker"),
                    HttpServer::Page(QStringLiteral("Asker"),
                                     QStringLiteral("<script>window.open('/popup');"
                                                    "window.open('/popup')</script>")));
        server.html(QStringLiteral("/popup"), HttpServer::Page(QStringLiteral("Popup")));
        server.html(QStringLiteral("/sentinel"), HttpServer::Page(QStringLiteral("Sentinel")));
        server.html(QStringLiteral("/blanklink"),
                    HttpServer::Page(QStringLiteral("Blank link"),
                                     QStringLiteral("<a target=\"_blank\" href=\"/popup\" %1>popup"
                                                    "</a>")
                                         .arg(Block())));
        server.html(
            QStringLiteral("/link"),
            HttpServer::Page(QStringLiteral("Link"),
                             QStringLiteral("<a href=\"/popup\" %1>popup</a>").arg(Block())));
        server.html(QStringLiteral("/button"),
                    HttpServer::Page(QStringLiteral("Button"),
                                     QStringLiteral("<button onclick=\"window.open('/popup')\" "
                                                    "%1>open</button>")
                                         .arg(Block())));
        const QList<QPair<QString, QByteArray>> localPages {
            {QStringLiteral("local.html"), HttpServer::Page(QStringLiteral("Local"))},
            {QStringLiteral("local page.html"), HttpServer::Page(QStringLiteral("Local page"))},
            {QStringLiteral("opener.html"),
             HttpServer::Page(QStringLiteral("Local opener"),
                              QStringLiteral("<script>window.open('local.html')</script>"))},
        };
        for (const auto &[name, body] : localPages) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(body);
        }
    }

    // The view of a kind as its factory makes it, on screen; loaded with first (if any). Null
    // if it did not come up.
    WebView *Subject(ViewKind kind, const QString &first = QString())
    {
        // A factory per kind: the engine's, as the program makes its view, off the record; the
        // window tests' fake, playing its loads.
        switch (kind) {
        case ViewKind::Real: {
            WebEngine::ViewOptions options;
            options.offTheRecord = true;
            view.reset(m_engine->MakeView(&dialogs, options));
            break;
        }
        case ViewKind::Fake: {
            auto fake = std::make_unique<FakeWebView>();
            fake->playLoads = true;
            view = std::move(fake);
            break;
        }
        }
        QObject::connect(view.get(), &WebView::StatusTextChange, view.get(),
                         [this](const QString &text) { status = text; });
        view->resize(800, 600);
        view->show();
        if (!WaitExposed(view.get()))
            return nullptr;
        if (!first.isEmpty() && !NavigateAndWait(view.get(), first))
            return nullptr;
        return view.get();
    }

    // "$S" the test server, "$P" its port, "$D" the folder of the local pages.
    QString Filled(QString text) const
    {
        text.replace(QLatin1String("$S"), server.url(QString()).toString());
        text.replace(QLatin1String("$P"), QString::number(server.port()));
        text.replace(QLatin1String("$D"), dir.path());
        return text;
    }

    // The page at address asks for a window to target as it loads: the real page by its script,
    // the fake as the window tests play it. A failure is the test's, as with PersonActs.
    void LoadAsking(ViewKind kind, const QString &address, const QString &target)
    {
        QVERIFY(NavigateAndWait(view.get(), address));
        if (kind == ViewKind::Fake)
            static_cast<FakeWebView *>(view.get())->RaiseNewWindow2(WindowGesture::None, target);
    }

    // The person does act on the page shown, which asks for target. A failure is the test's:
    // the caller returns when QTest::currentTestFailed().
    void PersonActs(ViewKind kind, Act act, const QString &target)
    {
        const WindowGesture gesture
            = act == Act::LinkMenu ? WindowGesture::LinkMenu : WindowGesture::Click;
        const bool onLink = act == Act::PointAndClick || act == Act::LinkMenu;
        if (kind == ViewKind::Fake) {
            auto *fake = static_cast<FakeWebView *>(view.get());
            if (onLink)
                emit fake->StatusTextChange(target); // as the view says the link under the pointer
            if (act == Act::LinkMenu)
                emit fake->StatusTextChange(QString()); // the pointer is on the menu
            fake->RaiseNewWindow2(gesture, target);
            return;
        }
        // The pointer comes onto the block once and then only moves within it: had it left, the
        // engine's late "no link" would empty the status line after the test saw the link there.
        QWidget *input = InputTarget(view.get());
        QVERIFY(input);
        QTest::mouseMove(input, QPoint(1, 1));
        QTRY_VERIFY_WITH_TIMEOUT(NudgeAt(view.get(), At())
                                     && view->LocationName() == QLatin1String("ready")
                                     && (!onLink || status == target),
                                 15000);
        if (act != Act::LinkMenu) {
            QTest::mouseClick(input, Qt::LeftButton, {}, At());
            return;
        }
        // The page takes input a little after its load: the menu is asked for until it is there.
        QMenu *menu = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT(
            (menu = qobject_cast<QMenu *>(QApplication::activePopupWidget()))
                || (QTest::mouseClick(input, Qt::RightButton, {}, At()), false),
            10000);
        QAction *newWindow = nullptr;
        for (QAction *a : menu->actions())
            if (a->text() == QLatin1String("Open link in new window"))
                newWindow = a;
        QVERIFY(newWindow);
        newWindow->trigger();
        menu->close();
    }

    // Where the pages put what the person points at and clicks; the pointer on it retitles the
    // page "ready".
    static QPoint At() { return QPoint(150, 130); }
    static QString Block()
    {
        return QStringLiteral(
            "style=\"position:absolute;left:100px;top:100px;width:200px;height:60px;"
            "display:block\" onmouseover=\"document.title='ready'\" "
            "onmousemove=\"document.title='ready'\"");
    }

    HttpServer server;
    QTemporaryDir dir;
    FakeViewDialogs dialogs;
    std::unique_ptr<WebView> view;
    QString status; // what the view's status line shows

private:
    std::unique_ptr<WebEngine> m_engine = MakeWebEngine();
};
