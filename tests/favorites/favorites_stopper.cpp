// Makes one change to the favorites of an application folder and is killed at a given step of
// it, as a crash or a power cut stops an instance: favorites_stopper <folder> <add|save> <step>.
// add is Add Current Page of "http://127.0.0.1:9/new" named "New"; save is the editor's Done
// after deleting the first favorite and moving the last one to the top. A step that is never
// reached lets the change finish, and the program exits with 0.

#include "favorites/FavoritesFiles.h"

#include <QString>
#include <csignal>
#include <cstdio>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: favorites_stopper <folder> <add|save> <step>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const char *operation = argv[2];
    const char *stopAt = argv[3];
    SetFavoritesStepHook([stopAt](const char *step) {
        if (std::strcmp(step, stopAt) == 0)
            std::raise(SIGKILL);
    });

    FavoritesWriteResult r;
    if (std::strcmp(operation, "add") == 0) {
        r = AddFavorite(folder, QStringLiteral("http://127.0.0.1:9/new"), QStringLiteral("New"));
    } else if (std::strcmp(operation, "save") == 0) {
        FavoritesForEdit edit = LoadFavoritesForEdit(folder);
        const int addressesShown = edit.addresses.size();
        const int namesShown = edit.names.size();
        edit.addresses.removeFirst();
        edit.names.removeFirst();
        edit.addresses.move(edit.addresses.size() - 1, 0);
        edit.names.move(edit.names.size() - 1, 0);
        r = SaveFavorites(folder, edit.addresses, edit.names, addressesShown, namesShown);
    } else {
        return 2;
    }
    if (r.outcome != FavoritesWriteResult::Written) {
        std::fprintf(stderr, "not written\n");
        return 1;
    }
    return 0;
}
