#include "HttpServer.h"
#include "WebViewTestKit.h"
#include "webview/QtWebView.h"
#include "webview/SceneGraph.h"
#include "webview/WebEngine.h"

#include <QApplication>
#include <QQuickWindow>
#include <QtTest>

// The page view drawn by the software scene graph, as on a machine without a GPU.
class tst_SoftwareDrawing : public QObject
{
    Q_OBJECT

private slots:
    void chosenBeforeTheApplication();
    void programsStartedLaterChooseForThemselves();
    void pageIsDrawn();
};

void tst_SoftwareDrawing::chosenBeforeTheApplication()
{
    // The engine asks for the scene graph's backend by name to decide how it draws.
    QCOMPARE(QQuickWindow::sceneGraphBackend(), QStringLiteral("software"));
}

void tst_SoftwareDrawing::programsStartedLaterChooseForThemselves()
{
    // What switched OpenGL off for this process is not handed down to the processes it starts.
    QVERIFY(!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"));
    QCOMPARE(qEnvironmentVariable(SceneGraphVariable), QStringLiteral("software"));
}

void tst_SoftwareDrawing::pageIsDrawn()
{
    HttpServer server;
    server.html(QStringLiteral("/green"),
                HttpServer::Page(QStringLiteral("Green"), QString(),
                                 QStringLiteral("<style>html,body{margin:0;height:100%;"
                                                "background:linear-gradient(#0a0,#0a0)}"
                                                "</style>")));
    FakeViewDialogs dialogs;
    QtWebView view(&dialogs, QtWebProfile::Kind::OffTheRecord);
    view.resize(320, 240);
    view.show();
    QSignalSpy done(&view, &WebView::DownloadComplete);
    view.Navigate(server.url(QStringLiteral("/green")).toString());
    QVERIFY(done.wait(20000));
    // The engine's frame reaches the view a little after the load.
    QTRY_COMPARE_WITH_TIMEOUT(view.grab().toImage().pixelColor(160, 120), QColor(0, 0xaa, 0),
                              15000);
}

int main(int argc, char **argv)
{
    // As the program starts on a machine without a GPU, with the choice forced so the test does
    // not depend on this machine.
    qunsetenv("QT_QUICK_BACKEND");
    qunsetenv("QT_XCB_GL_INTEGRATION");
    qputenv(SceneGraphVariable, "software");
    const std::unique_ptr<WebEngine> engine = MakeWebEngine();
    engine->PrepareApplication();
    QApplication app(argc, argv);
    engine->ApplicationMade();
    tst_SoftwareDrawing test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_SoftwareDrawing.moc"
