#include "HttpServer.h"
#include "WebViewTestKit.h"
#include "webview/DownloadNames.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>

// What a browser's view does for the person beyond showing pages, on the real engine with pages
// from 127.0.0.1: downloads, find, zoom, PDF files and the page's menu.
class tst_PageTools : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void Download_ServerNameBecomesAPlainName_data();
    void Download_ServerNameBecomesAPlainName();
    void Download_ProgressThenCancelLeavesNothing();
    void Download_FinishedFileIsWhole();
    void Print_PdfFileHoldsTheText();
    void FindText_CountsAndSteps();
    void Zoom_FactorAndCtrlWheel();
    void LinkMenu_NewWindowIsThePersonsRequest_data();
    void LinkMenu_NewWindowIsThePersonsRequest();

private:
    QtWebView *NewView()
    {
        m_view = NewShownView(&m_dialogs);
        return m_view.get();
    }
    // Starts a download of path and waits for the view to report it.
    Download *StartDownload(QtWebView *view, const QString &path)
    {
        QSignalSpy started(view, &WebView::FileDownloadStarted);
        view->Navigate(m_server.url(path).toString());
        if (!started.wait(15000))
            return nullptr;
        return started.first().first().value<Download *>();
    }

    HttpServer m_server;
    FakeViewDialogs m_dialogs;
    std::unique_ptr<QtWebView> m_view;
    std::unique_ptr<DialogWatchdog> m_watchdog;
    QByteArray m_big;
};

static HttpServer::Response Attachment(const QByteArray &name, const QByteArray &body)
{
    HttpServer::Response r;
    r.headers = {{"Content-Type", "application/octet-stream"},
                 {"Content-Disposition", "attachment; filename=\"" + name + "\""}};
    r.body = body;
    return r;
}

void tst_PageTools::initTestCase()
{
    QVERIFY(m_server.isListening());
    // Bytes that show a file cut short or put together wrongly.
    m_big.resize(4 * 1024 * 1024);
    for (int i = 0; i < m_big.size(); ++i)
        m_big[i] = char((i * 7 + i / 4096) & 0xff);
    // /name?<the name the server suggests>
    m_server.route(QStringLiteral("/name"), [](const HttpServer::Request &r) {
        return Attachment(
            QUrl::fromPercentEncoding(QUrl(r.path).query(QUrl::FullyEncoded).toLatin1()).toUtf8(),
            "#!/bin/sh\necho hello\n");
    });
    HttpServer::Response slow = Attachment("big.bin", m_big);
    slow.chunkBytes = 32 * 1024;
    slow.chunkIntervalMs = 40; // about five seconds for the whole file
    m_server.route(QStringLiteral("/slow.bin"), slow);
    HttpServer::Response small = Attachment("small.bin", m_big.left(256 * 1024));
    small.chunkBytes = 32 * 1024;
    small.chunkIntervalMs = 20;
    m_server.route(QStringLiteral("/small.bin"), small);
    m_server.html(QStringLiteral("/words"),
                  HttpServer::Page(QStringLiteral("Words"),
                                   QStringLiteral("<p>apple banana apple cherry Apple</p>")));
    m_server.html(QStringLiteral("/printed"),
                  HttpServer::Page(QStringLiteral("Printed"),
                                   QStringLiteral("<p>Quorum zephyr marmalade</p>")));
    m_server.html(QStringLiteral("/width"),
                  HttpServer::Page(QStringLiteral("w0"),
                                   QStringLiteral("<div style='height:5000px'></div><script>"
                                                  "function tell(){document.title='w'+innerWidth+"
                                                  "',y'+scrollY}"
                                                  "onresize=tell;onscroll=tell;tell()</script>")));
    m_server.html(QStringLiteral("/links"),
                  HttpServer::Page(QStringLiteral("Links"),
                                   QStringLiteral("<a href=\"/linked\" style=\"position:absolute;"
                                                  "left:100px;top:100px;width:200px;height:60px;"
                                                  "display:block\">linked</a>")));
    m_server.html(QStringLiteral("/linked"), HttpServer::Page(QStringLiteral("Linked")));
}

void tst_PageTools::init()
{
    m_dialogs = FakeViewDialogs();
    m_watchdog = std::make_unique<DialogWatchdog>();
}

void tst_PageTools::cleanup()
{
    m_view.reset();
    QVERIFY2(m_watchdog->closed.isEmpty(), qPrintable(m_watchdog->closed.join(u',')));
    m_watchdog.reset();
}

void tst_PageTools::Download_ServerNameBecomesAPlainName_data()
{
    QTest::addColumn<QString>("suggested");
    QTest::addColumn<QString>("plain");
    QTest::newRow("climbs two folders") << "../../evil.sh"
                                        << "evil.sh";
    QTest::newRow("a hidden file in the folder above") << "../.profile"
                                                       << "profile";
    QTest::newRow("an absolute path") << "/etc/cron.d/job"
                                      << "job";
}

void tst_PageTools::Download_ServerNameBecomesAPlainName()
{
    QFETCH(QString, suggested);
    QFETCH(QString, plain);
    const QString folder = DownloadFolder();
    QFile::remove(QDir(folder).filePath(plain));
    // The person takes what is proposed.
    m_dialogs.saveAs = QDir(folder).filePath(plain);
    QtWebView *view = NewView();
    QVERIFY(view);
    const QString route
        = QStringLiteral("/name?%1").arg(QLatin1String(QUrl::toPercentEncoding(suggested)));
    Download *download = StartDownload(view, route);
    QVERIFY(download);
    QCOMPARE(m_dialogs.AskedStartingWith("SaveFileName:"),
             QStringList {"SaveFileName:" + QDir(folder).filePath(plain)});
    QCOMPARE(download->Path(), QDir(folder).filePath(plain));
    QTRY_COMPARE_WITH_TIMEOUT(int(download->CurrentState()), int(Download::State::Completed),
                              10000);
    QFile file(download->Path());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("#!/bin/sh\necho hello\n"));
    // A second copy does not overwrite the first unasked.
    m_dialogs.asked.clear();
    m_dialogs.saveAs.clear();
    view->Navigate(m_server.url(route).toString());
    QTRY_COMPARE(m_dialogs.AskedStartingWith("SaveFileName:").size(), 1);
    const QString second = m_dialogs.AskedStartingWith("SaveFileName:").first();
    QVERIFY2(second.startsWith("SaveFileName:" + folder + "/") && second.contains(" (1)"),
             qPrintable(second));
}

void tst_PageTools::Download_ProgressThenCancelLeavesNothing()
{
    QTemporaryDir out;
    m_dialogs.saveAs = out.filePath(QStringLiteral("big.bin"));
    QSignalSpy ended(&m_server, &HttpServer::streamEnded);
    QtWebView *view = NewView();
    QVERIFY(view);
    Download *download = StartDownload(view, QStringLiteral("/slow.bin"));
    QVERIFY(download);
    QCOMPARE(download->Path(), m_dialogs.saveAs);
    // The progress moves: two different counts on the way, short of the whole.
    QList<qint64> seen;
    connect(download, &Download::Changed, this, [&] {
        if (download->Running() && (seen.isEmpty() || seen.last() != download->ReceivedBytes()))
            seen << download->ReceivedBytes();
    });
    QTRY_VERIFY_WITH_TIMEOUT(seen.size() >= 3 && seen.last() > 0, 10000);
    QCOMPARE(download->TotalBytes(), qint64(m_big.size()));
    QVERIFY(seen.last() < m_big.size());
    download->Cancel();
    QTRY_COMPARE_WITH_TIMEOUT(int(download->CurrentState()), int(Download::State::Cancelled),
                              10000);
    // The server stops sending, and nothing of the file is left.
    QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 10000);
    QCOMPARE(ended.first().at(2).toBool(), false);
    QTRY_COMPARE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void tst_PageTools::Download_FinishedFileIsWhole()
{
    QTemporaryDir out;
    m_dialogs.saveAs = out.filePath(QStringLiteral("small.bin"));
    QtWebView *view = NewView();
    QVERIFY(view);
    Download *download = StartDownload(view, QStringLiteral("/small.bin"));
    QVERIFY(download);
    QTRY_COMPARE_WITH_TIMEOUT(int(download->CurrentState()), int(Download::State::Completed),
                              15000);
    QCOMPARE(download->ReceivedBytes(), qint64(256 * 1024));
    QFile file(m_dialogs.saveAs);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll() == m_big.left(256 * 1024));
    // Cancel after the end changes nothing.
    download->Cancel();
    QCOMPARE(int(download->CurrentState()), int(Download::State::Completed));
    QVERIFY(QFile::exists(m_dialogs.saveAs));
}

void tst_PageTools::Print_PdfFileHoldsTheText()
{
    QTemporaryDir out;
    m_dialogs.printTo = out.filePath(QStringLiteral("printed.pdf"));
    QtWebView *view = NewView();
    QVERIFY(view);
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/printed")).toString()));
    QVERIFY(view->ExecWB(WebView::OLECMDID_PRINT, WebView::OLECMDEXECOPT_PROMPTUSER));
    // The file is written whole once the engine has made it.
    const auto whole = [&] {
        QFile f(m_dialogs.printTo);
        return f.open(QIODevice::ReadOnly) && f.readAll().trimmed().endsWith("%%EOF");
    };
    QTRY_VERIFY_WITH_TIMEOUT(whole(), 20000);
    QFile pdf(m_dialogs.printTo);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    QVERIFY(bytes.startsWith("%PDF-"));
    QVERIFY2(bytes.size() < 200 * 1024, qPrintable(QString::number(bytes.size())));
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {m_dialogs.printTo, QStringLiteral("-")});
    QVERIFY2(text.waitForFinished(20000), "pdftotext (poppler-utils) did not run");
    const QString words = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(words.contains(QLatin1String("Quorum zephyr marmalade")), qPrintable(words));
}

void tst_PageTools::FindText_CountsAndSteps()
{
    QtWebView *view = NewView();
    QVERIFY(view);
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/words")).toString()));
    QSignalSpy result(view, &WebView::FindTextResult);
    const auto find = [&](const QString &text, bool backward, bool all) {
        result.clear();
        view->FindText(text, backward, all);
        return result.wait(10000)
            ? QPair<int, int>(result.last().at(0).toInt(), result.last().at(1).toInt())
            : QPair<int, int>(-1, -1);
    };
    // Any case; forwards, backwards, and round the end.
    QCOMPARE(find("apple", false, true), (QPair<int, int>(1, 3)));
    QCOMPARE(find("apple", false, true), (QPair<int, int>(2, 3)));
    QCOMPARE(find("apple", false, true), (QPair<int, int>(3, 3)));
    QCOMPARE(find("apple", false, true), (QPair<int, int>(1, 3)));
    QCOMPARE(find("apple", true, true), (QPair<int, int>(3, 3)));
    QCOMPARE(find("cherry", false, false), (QPair<int, int>(1, 1)));
    // With only the match found marked, the steps go on from it all the same.
    QCOMPARE(find("banana", false, false), (QPair<int, int>(1, 1)));
    QCOMPARE(find("apple", false, false), (QPair<int, int>(2, 3)));
    QCOMPARE(find("apple", false, false), (QPair<int, int>(3, 3)));
    QCOMPARE(result.size(), 1);
    QCOMPARE(find("zzz", false, true), (QPair<int, int>(0, 0)));
}

void tst_PageTools::Zoom_FactorAndCtrlWheel()
{
    QtWebView *view = NewView();
    QVERIFY(view);
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/width")).toString()));
    QUOR_WAIT_TITLE(view, QStringLiteral("w800,y0"));
    view->SetZoomFactor(2.0);
    QCOMPARE(view->ZoomFactor(), 2.0);
    QUOR_WAIT_TITLE(view, QStringLiteral("w400,y0"));
    // Ctrl and the wheel are the window's to zoom with; the page neither scrolls nor zooms.
    // The wheel turns as the window system reports it, onto whatever lies under the pointer.
    QSignalSpy wheel(view, &WebView::ZoomWheel);
    QWindow *window = view->window()->windowHandle();
    QVERIFY(window);
    const auto turn = [window](int angle, Qt::KeyboardModifiers modifiers) {
        const QPointF at(200, 200);
        QWheelEvent event(at, window->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(window, &event);
    };
    turn(120, Qt::ControlModifier);
    QCOMPARE(wheel.size(), 1);
    QCOMPARE(wheel.first().first().toInt(), 1);
    // Half notches (a touchpad) add up to a step.
    turn(-60, Qt::ControlModifier);
    QCOMPARE(wheel.size(), 1);
    turn(-60, Qt::ControlModifier);
    QCOMPARE(wheel.size(), 2);
    QCOMPARE(wheel.last().first().toInt(), -1);
    QCOMPARE(view->ZoomFactor(), 2.0);
    // Without Ctrl the wheel is the page's.
    turn(-120, Qt::NoModifier);
    QCOMPARE(wheel.size(), 2);
}

void tst_PageTools::LinkMenu_NewWindowIsThePersonsRequest_data()
{
    QTest::addColumn<bool>("refuse");
    QTest::newRow("refused: nothing opens") << true;
    QTest::newRow("allowed: a window of the view's") << false;
}

void tst_PageTools::LinkMenu_NewWindowIsThePersonsRequest()
{
    QFETCH(bool, refuse);
    QtWebView *view = NewView();
    QVERIFY(view);
    QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/links")).toString()));
    QWidget *target = InputTarget(view);
    QVERIFY(target);
    QList<QPair<WindowGesture, QString>> asked;
    connect(view, &WebView::NewWindow2, this,
            [&](const WindowRequest &request, WindowAnswer *answer) {
                asked << qMakePair(request.gesture, request.address);
                answer->cancel = refuse;
            });
    // A right click on the link brings the page's menu; a page takes input a little after its
    // load, so the click is made again until the menu is there.
    QMenu *menu = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT(
        (menu = qobject_cast<QMenu *>(QApplication::activePopupWidget()))
            || (QTest::mouseClick(target, Qt::RightButton, {}, QPoint(150, 130)), false),
        10000);
    QStringList items;
    QAction *newWindow = nullptr;
    for (QAction *a : menu->actions()) {
        items << a->text();
        if (a->text() == QLatin1String("Open link in new window"))
            newWindow = a;
    }
    QVERIFY2(newWindow, qPrintable(items.join(u'|')));
    QVERIFY2(!items.join(u'|').contains(QLatin1String("tab"), Qt::CaseInsensitive),
             qPrintable(items.join(u'|')));
    m_server.clearRequests();
    newWindow->trigger();
    menu->close();
    const QString link = m_server.url(QStringLiteral("/linked")).toString();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(int(asked.first().first), int(WindowGesture::LinkMenu));
    QCOMPARE(asked.first().second, link);
    if (refuse) {
        QVERIFY(view->OpenedWindows().isEmpty());
        QVERIFY(NavigateAndWait(view, m_server.url(QStringLiteral("/words")).toString()));
        QVERIFY(!m_server.wasRequested(QStringLiteral("/linked")));
    } else {
        QCOMPARE(view->OpenedWindows().size(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(m_server.requestCount(QStringLiteral("/linked")), 1, 10000);
    }
}

QTEST_MAIN(tst_PageTools)
#include "tst_PageTools.moc"
