// The favorites reader on any file content, and the writers that keep what they read: a load
// takes the first 1001 entries and no more, the editor's save and Add Current Page lose nothing.
#include "FuzzCheck.h"

#include "favorites/FavoritesFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

void Put(const QDir &dir, const char *name, const QByteArray &bytes)
{
    QFile file(dir.filePath(QString::fromLatin1(name).mid(1)));
    Require(file.open(QIODevice::WriteOnly), "cannot write a favorites file",
            [&] { return file.errorString(); });
    file.write(bytes);
}

QStringList Entries(const QDir &dir, const char *name)
{
    QFile file(dir.filePath(QString::fromLatin1(name).mid(1)));
    Require(file.open(QIODevice::ReadOnly), "a favorites file went missing",
            [&] { return file.errorString(); });
    return ParseFavorites(file.readAll());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    Require(folder.isValid(), "no temporary folder", [&] { return folder.errorString(); });
    const QDir dir(folder.path());
    const QByteArray bytes = FuzzBytes(data, size);

    const QStringList entries = ParseFavorites(bytes);
    for (const QString &entry : entries) {
        Require(!entry.contains(QLatin1Char('\r')) && !entry.contains(QLatin1Char('\n')),
                "an entry holds a line end", [&] { return Shown(entry); });
    }

    // The editor's lists, rewritten whole, read back as they were: an entry written is one
    // line, whatever quotes and commas it holds.
    const QStringList rewritten = ParseFavorites(SerializeFavorites(entries));
    Require(rewritten == entries, "entries written again read back changed",
            [&] { return Difference(entries, rewritten); });

    // A load takes the first 1001 entries of the file as they are, and never more.
    Put(dir, FavoritesFileName, bytes);
    Put(dir, FavNameFileName, bytes);
    const QStringList loaded = ReadFavoritesFile(dir.filePath(QStringLiteral("Favorites")));
    Require(loaded.size() <= MaxFavoritesLoaded, "a load took more than 1001 entries",
            [&] { return QString::number(loaded.size()); });
    Require(loaded == entries.mid(0, MaxFavoritesLoaded), "a load lost or changed entries",
            [&] { return Difference(entries.mid(0, MaxFavoritesLoaded), loaded); });

    // The editor opened and closed without a change keeps every entry, also those past the load
    // limit that it never showed.
    const FavoritesForEdit edit = LoadFavoritesForEdit(folder.path(), 0);
    const FavoritesWriteResult saved
        = SaveFavorites(folder.path(), edit.addresses, edit.names, int(edit.addresses.size()),
                        int(edit.names.size()), 0);
    Require(saved.outcome == FavoritesWriteResult::Written, "the editor's save failed");
    const QStringList afterSave = Entries(dir, FavoritesFileName);
    Require(afterSave == entries, "the editor's save lost or changed entries",
            [&] { return Difference(entries, afterSave); });
    Require(Entries(dir, FavNameFileName) == afterSave,
            "the editor's save put the files out of step");

    // Add Current Page keeps what the files hold and adds one entry at the end.
    Put(dir, FavoritesFileName, bytes);
    Put(dir, FavNameFileName, bytes);
    const QString address = QStringLiteral("http://127.0.0.1/added");
    const FavoritesWriteResult added
        = AddFavorite(folder.path(), address, QStringLiteral("Added"), 0);
    Require(added.outcome == FavoritesWriteResult::Written, "Add Current Page failed");
    const QStringList afterAdd = Entries(dir, FavoritesFileName);
    Require(afterAdd == entries + QStringList {address}, "Add Current Page lost or changed entries",
            [&] { return Difference(entries + QStringList {address}, afterAdd); });
    return 0;
}
