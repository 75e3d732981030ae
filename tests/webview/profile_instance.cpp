// One instance of the browser's view on the per-user profile, driven by the profile test through
// its standard input: "load <address>" answers "title <page title>", "folder" answers
// "folder <profile folder>", "quit" ends it.

#include "webview/QtWebView.h"
#include "webview/ViewDialogs.h"
#include "webview/WebEngine.h"

#include <QApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

// Nobody is at the screen: every question is answered no.
class NoDialogs : public ViewDialogs
{
public:
    void Alert(QWidget *, const QString &, const QString &, bool *) override { }
    bool Confirm(QWidget *, const QString &, const QString &, bool *) override { return false; }
    bool OpenExternally(QWidget *, const QString &) override { return false; }
    bool Prompt(QWidget *, const QString &, const QString &, QString *, bool *) override
    {
        return false;
    }
    bool Authenticate(QWidget *, const QString &, const QString &, QString *, QString *) override
    {
        return false;
    }
    bool AcceptCertificate(QWidget *, const QString &, const QString &) override { return false; }
    QString SaveFileName(QWidget *, const QString &) override { return QString(); }
    bool PrintDialog(QWidget *, QPrinter *) override { return false; }
    bool PageSetupDialog(QWidget *, QPrinter *) override { return false; }
};

void Answer(const QString &line)
{
    std::fprintf(stdout, "%s\n", qPrintable(line));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    // Started and ended as the program does.
    const std::unique_ptr<WebEngine> engine = MakeWebEngine();
    engine->PrepareApplication();
    QApplication app(argc, argv);
    engine->ApplicationMade();
    QApplication::setApplicationName(QStringLiteral("QuorBrowser")); // as the program is named
    NoDialogs dialogs;
    auto *view = new QtWebView(&dialogs, QtWebProfile::Kind::PerUser);
    view->resize(400, 300);
    view->show();

    QObject::connect(view, &WebView::DownloadComplete, view,
                     [view] { Answer(QStringLiteral("title ") + view->LocationName()); });

    QByteArray pending;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[4096];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {
            input.setEnabled(false);
            app.quit();
            return;
        }
        pending.append(buffer, n);
        int end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending.left(end)).trimmed();
            pending.remove(0, end + 1);
            if (line.startsWith(QLatin1String("load ")))
                view->Navigate(line.mid(5));
            else if (line == QLatin1String("folder"))
                Answer(QStringLiteral("folder ") + view->ProfileFolder());
            else if (line == QLatin1String("quit"))
                app.quit();
        }
    });

    const int result = app.exec();
    delete view; // the view's pages go before the profile they use
    engine->Release();
    return result;
}
