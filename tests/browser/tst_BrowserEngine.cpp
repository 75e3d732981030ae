// The main window with the real engine, against pages served from 127.0.0.1 by the test.
#include "EngineNoticeSeed.h"
#include "EngineWindow.h"
#include "HttpServer.h"
#include "TestFiles.h"
#include "WebViewTestKit.h"
#include "browser/frmBrowser.h"
#include "services/ProcessInstanceStarter.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QToolBar>

#include <csignal>

namespace {

QStringList Items(QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// A big block that retitles the page to "ready" when the pointer comes onto it or moves over
// it, so a test knows the page takes input.
const char *const Block = "style='position:absolute;left:40px;top:40px;width:300px;height:200px;"
                          "display:block;background:#ddf' onmouseover=\"document.title='ready'\" "
                          "onmousemove=\"document.title='ready'\"";

// Puts the pointer on the block at pos and waits for the page to have seen it there. The pointer
// comes onto the block once, from outside, and then only moves within it. Each time it left
// the block the engine would report "no link" for the status line, a moment later; that late
// report could empty the status line after the test had seen the link's address there, and
// the click that followed would be judged with an empty status line.
// A failure is the test's; the caller returns when QTest::currentTestFailed().
void HoverBlock(WebView *view, QPoint pos)
{
    QTRY_VERIFY_WITH_TIMEOUT(InputTarget(view) != nullptr, 15000);
    QTest::mouseMove(InputTarget(view), QPoint(1, 1));
    QTRY_VERIFY_WITH_TIMEOUT(NudgeAt(view, pos) && view->LocationName() == QLatin1String("ready"),
                             15000);
}

// Clicks the link at (100, 100) once and tells whether the page asked for its window.
bool ClickAsks(WebView *view, Qt::MouseButton button = Qt::LeftButton,
               Qt::KeyboardModifiers modifiers = {})
{
    QSignalSpy asked(view, &WebView::NewWindow2);
    QTest::mouseClick(InputTarget(view), button, modifiers, QPoint(100, 100));
    return asked.wait(10000) && asked.count() == 1;
}

} // namespace

class tst_BrowserEngine : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void browsingShowsWhatHappens();
    void progressOnlyWhileLoading();
    void popups_data();
    void popups();
    void allowParentLinkOpensInNewInstance();
    void favoriteAddedAndChosen();
    void hoverLoopHandsOverNothing();
    void typingHandsOverNothingEnterOnTheLinkDoes();
    void refusedLoopCostsNothing();

private:
    HttpServer server;
    DialogWatchdog watchdog;
};

void tst_BrowserEngine::initTestCase()
{
    QVERIFY(server.isListening());
    server.route("/page", [](const HttpServer::Request &r) {
        const QString title = QUrlQuery(QUrl(r.path)).queryItemValue("title");
        HttpServer::Response res;
        res.headers = {{"Content-Type", "text/html"}};
        res.body = HttpServer::Page(
            title, QString("<a id=next href='/page?title=Linked' %1>next</a>").arg(Block));
        return res;
    });
    server.html("/slow", HttpServer::Page("Slow"), 1500);
    server.html("/popup", HttpServer::Page("Popup"));
    server.html("/sentinel", HttpServer::Page("Sentinel"));
    server.html(
        "/onload",
        HttpServer::Page("OnLoad", "", "<script>onload=()=>window.open('/popup?onload')</script>"));
    server.html("/timer",
                HttpServer::Page(
                    "Timer", "",
                    "<script>onload=()=>setTimeout(()=>window.open('/popup?timer'),20)</script>"));
    server.html("/features",
                HttpServer::Page("Features", "",
                                 "<script>onload=()=>window.open('/"
                                 "popup?features','_blank','width=300,height=200')</script>"));
    server.html(
        "/click",
        HttpServer::Page("Click",
                         QString("<button %1 onclick=\"window.open('/popup?click')\">open</button>")
                             .arg(Block)));
    server.html(
        "/blank",
        HttpServer::Page("Blank",
                         QString("<a href='/popup?blank' target=_blank %1>blank</a>").arg(Block)));
    server.html("/form",
                HttpServer::Page("Form",
                                 QString("<form action='/popup' target=_blank><input type=hidden "
                                         "name=form value=1><button %1>go</button></form>")
                                     .arg(Block)));
    server.html(
        "/middle",
        HttpServer::Page("Middle", QString("<a href='/popup?middle' %1>middle</a>").arg(Block)));
    server.html(
        "/shift",
        HttpServer::Page("Shift", QString("<a href='/popup?shift' %1>shift</a>").arg(Block)));
}

void tst_BrowserEngine::browsingShowsWhatHappens()
{
    EngineWindow e;
    const QString one = server.url("/page?title=One").toString();
    const QString two = server.url("/page?title=Two").toString();
    e.start("all", one);
    frmBrowser &w = *e.w;
    QTRY_COMPARE(w.windowTitle(), QString("One - Ombrane Software"));
    QCOMPARE(Items(w.cboAddress), QStringList {one});
    QCOMPARE(Items(w.cboAddress2), QStringList {one});
    QVERIFY(!frmBrowser::Button(w.tbToolBar, "Back")->isEnabled());

    // An address typed into the first box, then Enter.
    QSignalSpy loaded(e.view, &WebView::DownloadComplete);
    // Keys go where a keyboard sends them: to the focus widget, the box itself.
    w.cboAddress->setFocus(Qt::MouseFocusReason);
    QWidget *focus = QApplication::focusWidget();
    QVERIFY(focus && w.cboAddress->hasFocus());
    QTest::keyClick(focus, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(focus, two);
    QTest::keyClick(focus, Qt::Key_Return);
    QVERIFY(loaded.wait(15000));
    QTRY_COMPARE(w.windowTitle(), QString("Two - Ombrane Software"));
    QCOMPARE(Items(w.cboAddress), (QStringList {two, one}));
    QCOMPARE(Items(w.cboAddress2), (QStringList {two, one}));
    QCOMPARE(w.cboAddress->currentText(), two);
    QTRY_VERIFY(frmBrowser::Button(w.tbToolBar, "Back")->isEnabled());
    QVERIFY(frmBrowser::Button(w.Toolbar1, "Back")->isEnabled());
    QVERIFY(!frmBrowser::Button(w.tbToolBar, "Forward")->isEnabled());
    QCOMPARE(server.requestCount("/page?title=Two"), 1); // the list update never navigates again

    // The link under the pointer shows in the status line.
    HoverBlock(e.view, QPoint(100, 100));
    if (QTest::currentTestFailed())
        return;
    QTRY_VERIFY_WITH_TIMEOUT(NudgeAt(e.view, QPoint(100, 100))
                                 && w.txtStatus->text()
                                     == server.url("/page?title=Linked").toString(),
                             15000);

    // Back, from the toolbar. The pointer leaves the block first: the engine hovers the page it
    // goes back to where the pointer was, and the block there would retitle it.
    QTest::mouseMove(InputTarget(e.view), QPoint(1, 1));
    frmBrowser::Button(w.tbToolBar, "Back")->trigger();
    QVERIFY(loaded.wait(15000));
    QTRY_COMPARE(w.windowTitle(), QString("One - Ombrane Software"));
    QTRY_VERIFY(frmBrowser::Button(w.tbToolBar, "Forward")->isEnabled());
    QCOMPARE(Items(w.cboAddress), (QStringList {one, two}));
}

void tst_BrowserEngine::progressOnlyWhileLoading()
{
    EngineWindow e;
    e.start("all", server.url("/page?title=Start").toString());
    frmBrowser &w = *e.w;
    QSignalSpy began(e.view, &WebView::DownloadBegin);
    QSignalSpy done(e.view, &WebView::DownloadComplete);
    e.view->Navigate(server.url("/slow").toString());
    QVERIFY(began.wait(10000));
    QVERIFY(w.ProgressBar1->isVisible());
    QVERIFY(w.Timer1.isActive());
    QVERIFY(w.Timer4.isActive());
    QVERIFY(done.wait(15000));
    QVERIFY(w.ProgressBar1->isHidden());
    QVERIFY(!w.Timer1.isActive());
    QVERIFY(!w.Picture2->isHidden());
    QCOMPARE(w.windowTitle(), QString("Slow - Ombrane Software"));
}

void tst_BrowserEngine::popups_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("popup"); // the pop-up's own path and query
    QTest::addColumn<int>("button"); // 0: no click
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("outcome"); // notice, handoff or window

    struct Trigger
    {
        const char *name, *page, *popup;
        int button, modifiers;
        bool isLink; // a link under the pointer: its address is the status text
    };
    const Trigger triggers[] = {
        {"window.open on load", "/onload", "/popup?onload", 0, 0, false},
        {"window.open from a timer", "/timer", "/popup?timer", 0, 0, false},
        {"window.open with features", "/features", "/popup?features", 0, 0, false},
        {"window.open from a click", "/click", "/popup?click", Qt::LeftButton, 0, false},
        {"link with target=_blank", "/blank", "/popup?blank", Qt::LeftButton, 0, true},
        {"form with a target", "/form", "/popup?form=1", Qt::LeftButton, 0, false},
        {"middle-click on a link", "/middle", "/popup?middle", Qt::MiddleButton, 0, true},
        {"shift-click on a link", "/shift", "/popup?shift", Qt::LeftButton, Qt::ShiftModifier,
         true},
    };
    for (const Trigger &t : triggers) {
        QTest::addRow("cancel all: %s", t.name)
            << "all" << t.page << t.popup << t.button << t.modifiers << "notice";
        QTest::addRow("allow parent: %s", t.name)
            << "allow" << t.page << t.popup << t.button << t.modifiers
            << (t.isLink ? "handoff" : "notice");
        QTest::addRow("allow all: %s", t.name)
            << "allowie" << t.page << t.popup << t.button << t.modifiers << "window";
    }
}

void tst_BrowserEngine::popups()
{
    QFETCH(QString, mode);
    QFETCH(QString, page);
    QFETCH(QString, popup);
    QFETCH(int, button);
    QFETCH(int, modifiers);
    QFETCH(QString, outcome);

    server.clearRequests();
    EngineWindow e;
    e.start(mode, server.url(page).toString());
    frmBrowser &w = *e.w;
    if (button) {
        HoverBlock(e.view, QPoint(100, 100));
        if (QTest::currentTestFailed())
            return;
        // A person sees the link's address in the status line before clicking it.
        if (outcome == "handoff")
            QTRY_VERIFY_WITH_TIMEOUT(NudgeAt(e.view, QPoint(100, 100))
                                         && w.txtStatus->text() == server.url(popup).toString(),
                                     15000);
        QVERIFY(ClickAsks(e.view, Qt::MouseButton(button), Qt::KeyboardModifiers(modifiers)));
    }
    if (outcome == "window") {
        QTRY_VERIFY_WITH_TIMEOUT(server.wasRequested(popup), 10000);
        QTRY_COMPARE(e.view->OpenedWindows().size(), 1);
        QVERIFY(w.lblCanceled->text().isEmpty());
        qDeleteAll(e.view->OpenedWindows());
        return;
    }
    if (outcome == "notice") {
        QTRY_COMPARE_WITH_TIMEOUT(w.lblCanceled->text(), QString("Pop-Up Window Canceled"), 10000);
        QVERIFY(w.Timer2.isActive());
        QCOMPARE(e.starter.started, 0);
    } else {
        QCOMPARE(e.starter.started, 1);
        // The link's own address goes to the new instance.
        QCOMPARE(ReadAll(e.path("Popupurl")), "\"" + server.url(popup).toEncoded() + "\"\r\n");
        // The hand-off shows no notice.
        QVERIFY(!w.Timer2.isActive());
        QVERIFY(w.lblCanceled->text().isEmpty());
    }
    // Refused before anything of it loads: after a later page has been fetched, the pop-up's
    // page has still never been asked for, and no window appeared.
    QVERIFY(NavigateAndWait(e.view, server.url("/sentinel").toString()));
    QVERIFY(server.wasRequested("/sentinel"));
    QVERIFY2(!server.wasRequested(popup), qPrintable(server.requestedPaths().join(' ')));
    QVERIFY(e.view->OpenedWindows().isEmpty());
}

void tst_BrowserEngine::allowParentLinkOpensInNewInstance()
{
    const QString binary = qEnvironmentVariable("QUORBROWSER_TEST_BINARY");
    QVERIFY(QFile::exists(binary));
    server.clearRequests();
    EngineWindow e;
    // The new instance shares this window's application folder, as instances do.
    qputenv("QUORBROWSER_HOME", e.dir.path().toLocal8Bit());
    QVERIFY(SeedEngineNotice(e.dir.path(), binary));
    qputenv("XDG_DATA_HOME", e.path("data").toLocal8Bit());
    qputenv("XDG_CACHE_HOME", e.path("cache").toLocal8Bit());
    ProcessInstanceStarter realStarter(binary);
    e.instanceStarter = &realStarter;
    server.html(
        "/twopopups",
        HttpServer::Page("TwoPopups",
                         QString("<a href='/popup?linked' target=_blank %1>open</a>").arg(Block),
                         "<script>onload=()=>window.open('/popup?refused')</script>"));
    e.start("allow", server.url("/twopopups").toString());
    // The window opened on load is refused with the notice.
    QTRY_COMPARE_WITH_TIMEOUT(e.w->lblCanceled->text(), QString("Pop-Up Window Canceled"), 10000);
    // Hover, then click the link: a new instance opens its address.
    HoverBlock(e.view, QPoint(100, 100));
    if (QTest::currentTestFailed())
        return;
    QTRY_VERIFY_WITH_TIMEOUT(NudgeAt(e.view, QPoint(100, 100))
                                 && e.w->txtStatus->text()
                                     == server.url("/popup?linked").toString(),
                             15000);
    QVERIFY(ClickAsks(e.view));
    QTRY_VERIFY_WITH_TIMEOUT(realStarter.LastProcessId() != 0, 10000);
    const qint64 pid = realStarter.LastProcessId();
    QTRY_VERIFY_WITH_TIMEOUT(server.wasRequested("/popup?linked"), 30000);
    // The new instance took the address and emptied the hand-off.
    QTRY_COMPARE(ReadAll(e.path("Popupurl")), QByteArray("\"\"\r\n"));
    QCOMPARE(server.requestCount("/popup?linked"), 1);
    QVERIFY(!server.wasRequested("/popup?refused"));
    ::kill(pid_t(pid), SIGTERM);
    QTRY_VERIFY_WITH_TIMEOUT(::kill(pid_t(pid), 0) != 0, 20000);
    qunsetenv("QUORBROWSER_HOME");
}

void tst_BrowserEngine::favoriteAddedAndChosen()
{
    EngineWindow e;
    const QString page = server.url("/page?title=Kept, with comma").toString();
    e.start("all", page);
    frmBrowser &w = *e.w;
    QTRY_COMPARE(w.windowTitle(), QString("Kept, with comma - Ombrane Software"));
    w.mnuAddToFav->trigger();
    QCOMPARE(ReadAll(e.path("Favorites")), "\"" + page.toUtf8() + "\"\r\n");
    QCOMPARE(ReadAll(e.path("FavName")), QByteArray("\"Kept, with comma\"\r\n"));

    // Elsewhere, then the favorite chosen from the pop-up with a click on its name.
    QSignalSpy loaded(e.view, &WebView::DownloadComplete);
    w.mnuClose->trigger();
    QVERIFY(loaded.wait(15000));
    const int before = server.requestCount("/page?title=Kept,%20with%20comma");
    QTest::mouseClick(w.lbladd, Qt::LeftButton);
    QVERIFY(w.List1->isVisible());
    const QRect item = w.List1->visualItemRect(w.List1->item(0));
    QTest::mouseClick(w.List1->viewport(), Qt::LeftButton, {}, item.center());
    QTRY_COMPARE_WITH_TIMEOUT(server.requestCount("/page?title=Kept,%20with%20comma"), before + 1,
                              15000);
    QTRY_COMPARE(w.windowTitle(), QString("Kept, with comma - Ombrane Software"));
}

void tst_BrowserEngine::hoverLoopHandsOverNothing()
{
    // Allow Parent: while the pointer rests on a link, the page asks for ten windows on its own.
    // None is handed over; the person's click on the link is, once.
    server.html("/hoverloop",
                HttpServer::Page("HoverLoop",
                                 QString("<a href='/popup?hoverloop' target=_blank %1 "
                                         "onmouseenter=\"for (let i = 0; i < 10; ++i) "
                                         "window.open('/popup?scripted')\">link</a>")
                                     .arg(Block)));
    EngineWindow e;
    e.start("allow", server.url("/hoverloop").toString());
    QSignalSpy asked(e.view, &WebView::NewWindow2);
    HoverBlock(e.view, QPoint(100, 100));
    if (QTest::currentTestFailed())
        return;
    QTRY_VERIFY(asked.count() >= 1);
    QVERIFY(e.w->Timer2.isActive() || e.w->NoticeFlashCount > 0); // refused with the notice
    QCOMPARE(e.starter.started, 0);
    QTRY_VERIFY_WITH_TIMEOUT(NudgeAt(e.view, QPoint(100, 100))
                                 && e.w->txtStatus->text()
                                     == server.url("/popup?hoverloop").toString(),
                             15000);
    QVERIFY(ClickAsks(e.view));
    QTRY_COMPARE_WITH_TIMEOUT(e.starter.started, 1, 10000);
    QCOMPARE(ReadAll(e.path("Popupurl")),
             "\"" + server.url("/popup?hoverloop").toEncoded() + "\"\r\n");
    QVERIFY(!server.wasRequested("/popup?scripted"));
}

void tst_BrowserEngine::typingHandsOverNothingEnterOnTheLinkDoes()
{
    // Allow Parent: the pointer rests on a link while the person types into a text box whose
    // every key asks for windows, a blank one and the link's own. Nothing is handed over or
    // fetched. Then the person moves the pointer away, tabs to the link and presses Enter: the
    // link opens in a new instance, once.
    server.html(
        "/typing",
        HttpServer::Page(
            "Typing",
            QString("<input id=box style='position:absolute;left:40px;top:300px' "
                    "onkeydown=\"window.open('about:blank'); window.open('/popup?typing')\" "
                    "oninput=\"document.title = 'typed:' + this.value\">"
                    "<a href='/popup?typing' target=_blank %1>link</a>")
                .arg(Block),
            "<script>onload = () => box.focus()</script>"));
    EngineWindow e;
    e.start("allow", server.url("/typing").toString());
    QSignalSpy asked(e.view, &WebView::NewWindow2);
    const QString link = server.url("/popup?typing").toString();
    HoverBlock(e.view, QPoint(100, 100));
    if (QTest::currentTestFailed())
        return;
    QTRY_VERIFY_WITH_TIMEOUT(NudgeAt(e.view, QPoint(100, 100)) && e.w->txtStatus->text() == link,
                             15000);
    QTest::keyClicks(QApplication::focusWidget(), "my name is");
    QUOR_WAIT_TITLE(e.view, QString("typed:my name is"));
    QVERIFY(asked.count() >= 1);
    QCOMPARE(e.w->lblCanceled->text(), QString("Pop-Up Window Canceled"));
    QCOMPARE(e.starter.started, 0);
    QCOMPARE(ReadAll(e.path("Popupurl")), QByteArray("<missing>"));

    QTest::mouseMove(InputTarget(e.view), QPoint(500, 500));
    QTRY_VERIFY(e.w->txtStatus->text() != link);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_COMPARE_WITH_TIMEOUT(e.w->txtStatus->text(), link, 10000); // the focused link
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(e.starter.started, 1, 10000);
    QCOMPARE(ReadAll(e.path("Popupurl")),
             "\"" + server.url("/popup?typing").toEncoded() + "\"\r\n");
    QVERIFY(!server.wasRequested("/popup?typing"));
}

void tst_BrowserEngine::refusedLoopCostsNothing()
{
    // Cancel All: a page asks for a thousand windows. It hears no after a few, and goes on
    // working: its timers run and it reloads.
    server.html("/loop",
                HttpServer::Page("Loop", "",
                                 "<script>onload = () => {"
                                 "  for (let i = 0; i < 1000; ++i) window.open('/popup?loop');"
                                 "  setTimeout(() => document.title = 'alive', 50); }"
                                 "</script>"));
    EngineWindow e;
    e.start("all", QString());
    QSignalSpy asked(e.view, &WebView::NewWindow2);
    QSignalSpy loaded(e.view, &WebView::DownloadComplete);
    for (int round = 0; round < 2; ++round) {
        if (round == 0)
            e.view->Navigate(server.url("/loop").toString());
        else
            e.view->Refresh();
        QVERIFY(loaded.wait(30000));
        QTRY_COMPARE_WITH_TIMEOUT(e.view->LocationName(), QString("alive"), 30000);
        QVERIFY2(asked.count() <= PopupGuard::RefusedWindowsHeard,
                 qPrintable(QString::number(asked.count())));
        QVERIFY(asked.count() >= 1); // the first were refused with the notice
        asked.clear();
        loaded.clear();
    }
    QVERIFY(!server.wasRequested("/popup?loop"));
}

QTEST_MAIN(tst_BrowserEngine)
#include "tst_BrowserEngine.moc"
