// The smallest web engine program: one view, one page. The start-up benchmark measures
// QuorBrowser against it, built in the same tree with the same compiler flags.
#include <QApplication>
#include <QUrl>
#include <QWebEngineView>

int main(int argc, char **argv)
{
    // What any program embedding the engine in widgets sets before the application exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() < 2)
        return 2;
    QWebEngineView view;
    view.resize(1024, 768);
    view.load(QUrl::fromUserInput(args.last()));
    view.show();
    return QApplication::exec();
}
