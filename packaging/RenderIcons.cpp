// Build-time tool: draws the program's icon with the window's own DrawLogo at every size of
// ProgramIconSizes and writes it into a hicolor icon theme tree:
//     <theme folder>/<n>x<n>/apps/<icon name>.png
// so the installed pictures are the very pixels the window shows as its icon.

#include "app/ProgramIcon.h"
#include "info/ProductPicture.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <theme folder> <icon name>\n", argv[0]);
        return 2;
    }
    // Drawn without a display, in the build.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);
    const QString theme = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (const int size : ProgramIconSizes) {
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(theme).arg(size);
        const QString path = QStringLiteral("%1/%2.png").arg(folder, name);
        const QImage image = DrawLogo(size).toImage();
        if (!QDir().mkpath(folder) || image.size() != QSize(size, size)
            || !image.save(path, "PNG")) {
            std::fprintf(stderr, "%s: could not write %s\n", argv[0], qPrintable(path));
            return 1;
        }
    }
    return 0;
}
