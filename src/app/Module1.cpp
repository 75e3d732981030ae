#include "app/Module1.h"

#include <QStringList>

frmBrowser *Main(const BrowserEnvironment &env, bool startMinimized)
{
    auto *window = new frmBrowser(env);
    window->Form_Load();
    if (startMinimized)
        window->showMinimized();
    else
        window->show();
    return window;
}

QString CommandLineText(int argc, char **argv)
{
    // A path with blanks arrives as one argument when quoted and as several when not; joined
    // with single blanks it is the same text either way.
    QStringList parts;
    for (int i = 1; i < argc; ++i)
        parts << QString::fromLocal8Bit(argv[i]);
    return parts.join(QLatin1Char(' '));
}
