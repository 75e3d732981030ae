// Adds favorites to an application folder as fast as it can, like an instance whose user keeps
// pressing Add Current Page: favorites_adder <folder> <tag> <count>. It says "ready" and waits
// for a line on its input before it starts, so two of them can be let go at the same moment.
// Favorite i is the address "http://127.0.0.1:9/<tag>/<i>" with the name "<tag> <i>".

#include "favorites/FavoritesFiles.h"

#include <QString>
#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: favorites_adder <folder> <tag> <count>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString tag = QString::fromLocal8Bit(argv[2]);
    const int count = std::atoi(argv[3]);

    std::printf("ready\n");
    std::fflush(stdout);
    char line[16];
    if (!std::fgets(line, sizeof line, stdin))
        return 3;

    for (int i = 0; i < count; ++i) {
        const FavoritesWriteResult r
            = AddFavorite(folder, QStringLiteral("http://127.0.0.1:9/%1/%2").arg(tag).arg(i),
                          QStringLiteral("%1 %2").arg(tag).arg(i));
        if (r.outcome != FavoritesWriteResult::Written) {
            std::fprintf(stderr, "favorite %d not written\n", i);
            return 1;
        }
    }
    return 0;
}
