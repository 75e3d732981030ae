#include "favorites/FavoritesFiles.h"

#include <optional>

#include "settings/AppFolder.h"
#include "settings/SaveFile.h"
#include "settings/TextFields.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QThread>

namespace {

// Held for the whole of one change to the two files. Readers need no lock (files are replaced
// whole), but a writer reads what is there first, and two writers interleaving would lose one
// of the changes or put the two files out of step.
class FilesLock
{
public:
    FilesLock(const QString &folder, int waitMs)
        : m_lock(AppFilePath(folder, QString::fromLatin1(FavoritesLockName)))
    {
        // Asked again every few milliseconds: the lock's own wait doubles its pauses up to
        // seconds, far longer than any holder keeps it. A lock left by an instance that ended
        // is taken over at once.
        const QDeadlineTimer deadline(waitMs);
        while (!m_lock.tryLock(0)) {
            // A folder where no lock file can be made is left to the writes themselves to report.
            if (m_lock.error() != QLockFile::LockFailedError)
                return;
            if (deadline.hasExpired()) {
                m_busy = true;
                return;
            }
            QThread::msleep(2);
        }
    }
    bool busy() const { return m_busy; }

private:
    QLockFile m_lock;
    bool m_busy = false;
};

// A file's whole content as it is now; a missing file is empty. Not ok when the file is there
// but cannot be read: rewriting it then would lose what it holds.
struct Content
{
    bool ok = true;
    bool existed = false;
    QByteArray bytes;
};

Content ReadContent(const QString &path)
{
    Content c;
    QFile file(path);
    if (!file.exists())
        return c;
    c.existed = true;
    if (!file.open(QIODevice::ReadOnly)) {
        c.ok = false;
        return c;
    }
    c.bytes = file.readAll();
    c.ok = file.error() == QFileDevice::NoError;
    return c;
}

void Restore(const QString &path, const Content &before)
{
    if (before.existed)
        WriteFileAtomically(path, before.bytes);
    else
        QFile::remove(path);
}

FavoritesWriteResult Failed(const QString &path)
{
    return {FavoritesWriteResult::FileFailed, path};
}

// Replaces both files, or leaves both as they were. Only when putting back the first file
// fails too can they end up out of step; the failure is reported either way.
FavoritesWriteResult WriteBoth(const QString &favPath, const Content &favBefore,
                               const QByteArray &favBytes, const QString &namePath,
                               const QByteArray &nameBytes)
{
    if (!WriteFileAtomically(favPath, favBytes))
        return Failed(favPath);
    if (!WriteFileAtomically(namePath, nameBytes)) {
        Restore(favPath, favBefore);
        return Failed(namePath);
    }
    return {FavoritesWriteResult::Written, QString()};
}

QString FavoritesPath(const QString &folder)
{
    return AppFilePath(folder, QString::fromLatin1(FavoritesFileName));
}

QString FavNamePath(const QString &folder)
{
    return AppFilePath(folder, QString::fromLatin1(FavNameFileName));
}

QByteArray Appended(QByteArray bytes, const QString &entry)
{
    // A last line without its line end (a file edited by hand) would swallow the new entry.
    if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r'))
        bytes += "\r\n";
    return bytes + SerializeFavorites({entry});
}

} // namespace

QStringList ParseFavorites(const QByteArray &bytes)
{
    return ParseTextFields(bytes);
}

QByteArray SerializeFavorites(const QStringList &entries)
{
    QByteArray bytes;
    for (QString entry : entries) {
        entry.replace(QLatin1String("\r\n"), QLatin1String(" "));
        entry.replace(QLatin1Char('\r'), QLatin1Char(' '));
        entry.replace(QLatin1Char('\n'), QLatin1Char(' '));
        bytes += SerializeTextField(entry);
    }
    return bytes;
}

QStringList ReadFavoritesFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList entries = ParseFavorites(file.readAll());
    if (entries.size() > MaxFavoritesLoaded)
        entries = entries.mid(0, MaxFavoritesLoaded);
    return entries;
}

namespace {

// Both files as they are, read under the lock before one of them is rewritten; failed names
// the one that could not be read.
struct BothFiles
{
    QString favPath, namePath;
    Content fav, names;
    std::optional<FavoritesWriteResult> failed;
};

BothFiles ReadBoth(const QString &folder)
{
    BothFiles b;
    b.favPath = FavoritesPath(folder);
    b.namePath = FavNamePath(folder);
    b.fav = ReadContent(b.favPath);
    if (!b.fav.ok) {
        b.failed = Failed(b.favPath);
        return b;
    }
    b.names = ReadContent(b.namePath);
    if (!b.names.ok)
        b.failed = Failed(b.namePath);
    return b;
}

} // namespace

FavoritesWriteResult AddFavorite(const QString &folder, const QString &address, const QString &name,
                                 int lockWaitMs)
{
    if (address.isEmpty())
        return {FavoritesWriteResult::NothingToWrite, QString()};
    FilesLock lock(folder, lockWaitMs);
    if (lock.busy())
        return {FavoritesWriteResult::Busy, QString()};

    const BothFiles b = ReadBoth(folder);
    if (b.failed)
        return *b.failed;
    return WriteBoth(b.favPath, b.fav, Appended(b.fav.bytes, address), b.namePath,
                     Appended(b.names.bytes, name));
}

FavoritesForEdit LoadFavoritesForEdit(const QString &folder, int lockWaitMs)
{
    // Waiting for a writer keeps the two lists in step; a busy lock still lets the editor open.
    FilesLock lock(folder, lockWaitMs);
    FavoritesForEdit edit;
    edit.addresses = ReadFavoritesFile(FavoritesPath(folder));
    edit.names = ReadFavoritesFile(FavNamePath(folder));
    return edit;
}

FavoritesWriteResult SaveFavorites(const QString &folder, const QStringList &addresses,
                                   const QStringList &names, int addressesShown, int namesShown,
                                   int lockWaitMs)
{
    FilesLock lock(folder, lockWaitMs);
    if (lock.busy())
        return {FavoritesWriteResult::Busy, QString()};

    const BothFiles b = ReadBoth(folder);
    if (b.failed)
        return *b.failed;
    const QStringList favKept = ParseFavorites(b.fav.bytes).mid(qMax(0, addressesShown));
    const QStringList namesKept = ParseFavorites(b.names.bytes).mid(qMax(0, namesShown));
    return WriteBoth(b.favPath, b.fav, SerializeFavorites(addresses + favKept), b.namePath,
                     SerializeFavorites(names + namesKept));
}

QString AddFavoriteFailureText(const FavoritesWriteResult &result)
{
    switch (result.outcome) {
    case FavoritesWriteResult::FileFailed:
        return QStringLiteral("The page could not be added to your favorites, because the file "
                              "\"%1\" could not be written. Your favorites are unchanged.")
            .arg(QDir::toNativeSeparators(result.failedPath));
    case FavoritesWriteResult::Busy:
        return QStringLiteral("The page could not be added to your favorites, because another "
                              "QuorBrowser window is changing them. Your favorites are "
                              "unchanged; please try again in a moment.");
    default:
        return QString();
    }
}
