// The web engine of this build: Qt WebEngine, with its views, their dialogs and its profiles.

#include "webview/WebEngine.h"

#include "settings/StartupTrace.h"
#include "webview/QtEngineVersion.h"
#include "webview/QtWebProfile.h"
#include "webview/QtWebView.h"
#include "webview/SceneGraph.h"
#include "webview/WidgetViewDialogs.h"

#include <QCoreApplication>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace {

QtMessageHandler g_previousHandler = nullptr;

// The window system says it made no OpenGL context: that was asked for.
void QuietAboutNoOpenGL(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg && text.contains(QLatin1String("Cannot create platform OpenGL")))
        return;
    if (g_previousHandler)
        g_previousHandler(type, context, text);
    else
        qt_message_output(type, context, text);
}

class QtWebEngine : public WebEngine
{
public:
    EngineVersion Version() const override { return CurrentEngineVersion(); }
    // Shares the OpenGL contexts or chooses the software scene graph for this machine
    // (SceneGraph.h), and makes the local page scheme known: the engine reads both as it
    // starts with the application.
    void PrepareApplication() override
    {
        QtWebProfile::RegisterLocalPageScheme();
        const SceneGraphChoice choice = ChooseSceneGraph(ProbeGraphicsMachine());
        if (choice.graph == SceneGraph::Software) {
            QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
            // Nothing in this process draws with OpenGL then, yet the engine still makes an
            // OpenGL context to share when the application starts. Without a GPU that loads and
            // starts the software OpenGL: the largest single cost of the start, and memory held
            // for nothing. With no OpenGL integration for the window system no context is made.
            if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION")) {
                qputenv("QT_XCB_GL_INTEGRATION", "none");
                m_unsetGlIntegration = true;
                g_previousHandler = qInstallMessageHandler(QuietAboutNoOpenGL);
            }
        } else {
            QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        }
        if (StartupTracing()) {
            const char *name = choice.graph == SceneGraph::Software ? "software"
                : choice.graph == SceneGraph::Hardware              ? "hardware"
                                                                    : "as the user said";
            TraceStartup(QStringLiteral("scene graph: %1 (%2)")
                             .arg(QLatin1String(name), choice.reason)
                             .toUtf8()
                             .constData());
        }
    }

    void ApplicationMade() override
    {
        // The programs this one starts (new instances, the engine's own processes) choose for
        // themselves.
        if (m_unsetGlIntegration) {
            qunsetenv("QT_XCB_GL_INTEGRATION");
            qInstallMessageHandler(g_previousHandler);
        }
        m_unsetGlIntegration = false;
    }

    std::unique_ptr<ViewDialogs> MakeViewDialogs() override
    {
        return std::make_unique<WidgetViewDialogs>();
    }

    WebView *MakeView(ViewDialogs *dialogs, const ViewOptions &options, QWidget *parent) override
    {
        auto *view = new QtWebView(dialogs,
                                   options.offTheRecord ? QtWebProfile::Kind::OffTheRecord
                                                        : QtWebProfile::Kind::PerUser,
                                   parent);
        if (!options.searchPage.isEmpty())
            view->SetSearchPage(options.searchPage);
        return view;
    }

    void Release() override { QtWebProfile::Release(); }

private:
    bool m_unsetGlIntegration = false;
};

} // namespace

std::unique_ptr<WebEngine> MakeWebEngine()
{
    return std::make_unique<QtWebEngine>();
}
