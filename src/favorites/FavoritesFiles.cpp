#include "favorites/FavoritesFiles.h"

#include <optional>

#include "settings/AppFolder.h"
#include "settings/SaveFile.h"
#include "settings/TextFields.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QThread>

namespace {

std::function<void(const char *)> &StepHook()
{
    static std::function<void(const char *)> hook;
    return hook;
}

void Step(const char *step)
{
    if (StepHook())
        StepHook()(step);
}

QString FavoritesPath(const QString &folder)
{
    return AppFilePath(folder, QString::fromLatin1(FavoritesFileName));
}

QString FavNamePath(const QString &folder)
{
    return AppFilePath(folder, QString::fromLatin1(FavNameFileName));
}

QString JournalPath(const QString &folder)
{
    return AppFilePath(folder, QString::fromLatin1(FavoritesJournalName));
}

QString Next(const QString &path)
{
    return path + QLatin1String(FavoritesNextSuffix);
}

// Held for the whole of one change to the two files. A writer reads what is there first, and
// two writers interleaving would lose one of the changes or put the two files out of step.
class FilesLock
{
public:
    FilesLock(const QString &folder, int waitMs)
        : m_path(AppFilePath(folder, QString::fromLatin1(FavoritesLockName)))
        , m_lock(m_path)
    {
        // Asked again every few milliseconds: the lock's own wait doubles its pauses up to
        // seconds, far longer than any holder keeps it. A lock left by an instance that ended
        // is taken over at once.
        const QDeadlineTimer deadline(waitMs);
        while (!m_lock.tryLock(0)) {
            // A folder where no lock file can be made, or a lock that can be neither held nor
            // taken over, is left to the writes themselves to report.
            if (m_lock.error() != QLockFile::LockFailedError)
                return;
            if (NamesNoHolder()) {
                if (!TakeOver())
                    return;
                continue;
            }
            if (deadline.hasExpired()) {
                m_busy = true;
                return;
            }
            QThread::msleep(2);
        }
        m_held = true;
    }
    bool busy() const { return m_busy; }
    // False when the files are changed without the lock, where none can be made.
    bool held() const { return m_held; }

private:
    // QLockFile itself takes over a lock whose process is gone, but one that names no process
    // only once it is 30 s old.
    bool NamesNoHolder() const
    {
        qint64 pid = 0;
        QString host, app;
        if (m_lock.getLockInfo(&pid, &host, &app))
            return false;
        const QFileInfo info(m_path);
        if (!info.exists())
            return false;
        // A clock set back makes a lock look young; it is as old as the time between.
        const qint64 age = info.lastModified().msecsTo(QDateTime::currentDateTime());
        return qAbs(age) >= SilentFavoritesLockMs;
    }

    // Removes the silent lock, under the same guard QLockFile uses for stale locks, so two
    // instances never both take it over (the second would remove the first one's new lock).
    bool TakeOver()
    {
        QLockFile guard(m_path + QLatin1String(".rmlock"));
        if (!guard.tryLock(0))
            return true; // another instance is taking it over; ask again
        if (!NamesNoHolder())
            return true;
        return QFile::remove(m_path);
    }

    QString m_path;
    QLockFile m_lock;
    bool m_busy = false;
    bool m_held = false;
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

FavoritesWriteResult Failed(const QString &path)
{
    return {FavoritesWriteResult::FileFailed, path};
}

// The file a path's content is written to: a link is followed (as QSaveFile does), so a
// favorites file kept elsewhere through a link stays there.
QString Target(const QString &path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 32 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.filePath();
}

// The files a change to the pair writes. The journal names them for whoever looks into the
// folder; finishing a change follows the folder's own two files, never what a journal says.
struct Pair
{
    QString favTarget, nameTarget;
};

Pair CurrentPair(const QString &folder)
{
    return {Target(FavoritesPath(folder)), Target(FavNamePath(folder))};
}

QByteArray JournalBytes(const QString &folder)
{
    return SerializeTextField(QFileInfo(FavoritesPath(folder)).fileName())
        + SerializeTextField(QFileInfo(FavNamePath(folder)).fileName());
}

/*
The two files are one record: a name belongs to the address at its position. A change replaces
both, and is made so that a stop at any instant (a crash, a kill, a power cut after the disk
has what was synced) leaves the state before or the state after it, never a mix:

  1. Under the lock, both new contents are written next to their files as "<file>.new" and
     synced. A stop here leaves the files as they were, and perhaps a partial or whole .new.
  2. The journal "Favorites.journal", naming the two files, is written as "Favorites.journal.new"
     and moved into place. Its move is the instant the change is done: from then on both .new
     files are whole. A stop before it leaves the state before.
  3. Favorites.new is moved over Favorites, then FavName.new over FavName (each move replaces
     its file in one step). A stop between them leaves the files out of step, but the journal
     is there and says so.
  4. The journal is removed, then the lock.

Whoever finds a journal, under the lock, finishes the change: each .new still there is moved
over its file (a missing one was already moved), then the journal is removed. Doing that again
after a stop midway changes nothing more, so a stop while finishing is harmless too. Whoever
finds no journal under the lock removes any .new left: it belongs to a change stopped before
it was done.

A reader without the lock takes the pair as a change leaves it only if no journal was there
before it read and none after, and the addresses file did not change meanwhile (then no change
was halfway while it read); otherwise it reads again under the lock. Older versions, which know
no journal, read the files as before; they could see a stopped change's files out of step
until a reader of this version finishes it.
*/

// Finishes or drops a change that was stopped midway; run under the lock. False when a change
// could not be finished (a file that cannot be replaced); its journal then stays for the next try.
bool FinishStoppedChange(const QString &folder)
{
    const QString journal = JournalPath(folder);
    const Pair pair = CurrentPair(folder);
    if (QFileInfo::exists(journal)) {
        for (const QString &target : {pair.favTarget, pair.nameTarget}) {
            if (QFileInfo::exists(Next(target)) && !ReplaceFile(Next(target), target))
                return false;
        }
        QFile::remove(journal);
    }
    QFile::remove(Next(journal));
    QFile::remove(Next(pair.favTarget));
    QFile::remove(Next(pair.nameTarget));
    return true;
}

void DropNewFiles(const Pair &pair, const QString &journal)
{
    QFile::remove(Next(pair.favTarget));
    QFile::remove(Next(pair.nameTarget));
    QFile::remove(Next(journal));
}

// Replaces both files, or leaves both as they were (see above). favBefore is the addresses
// file as read under the lock: put back should moving the names' file fail.
FavoritesWriteResult WriteBoth(const QString &folder, const Content &favBefore,
                               const QByteArrayList &favBytes, const QByteArrayList &nameBytes)
{
    const QString favPath = FavoritesPath(folder);
    const QString namePath = FavNamePath(folder);
    const QString journal = JournalPath(folder);
    const Pair pair = CurrentPair(folder);
    // A folder standing where a file should be can never be replaced: found before anything
    // is written, so the change is never left half done.
    if (QFileInfo(pair.favTarget).isDir())
        return Failed(favPath);
    if (QFileInfo(pair.nameTarget).isDir())
        return Failed(namePath);

    Step("locked");
    if (!WriteFileThrough(Next(pair.favTarget), favBytes, [] { Step("addresses begun"); })) {
        DropNewFiles(pair, journal);
        return Failed(favPath);
    }
    Step("addresses written");
    if (!WriteFileThrough(Next(pair.nameTarget), nameBytes)) {
        DropNewFiles(pair, journal);
        return Failed(namePath);
    }
    Step("names written");
    if (!WriteFileThrough(Next(journal), QByteArrayList {JournalBytes(folder)})) {
        DropNewFiles(pair, journal);
        return Failed(journal);
    }
    Step("journal begun");
    if (!ReplaceFile(Next(journal), journal)) {
        DropNewFiles(pair, journal);
        return Failed(journal);
    }
    Step("journal written");

    if (!ReplaceFile(Next(pair.favTarget), pair.favTarget)) {
        QFile::remove(journal);
        DropNewFiles(pair, journal);
        return Failed(favPath);
    }
    Step("addresses replaced");
    if (!ReplaceFile(Next(pair.nameTarget), pair.nameTarget)) {
        // Only when putting back the addresses fails too do the files stay out of step; the
        // journal then stays, and a later reader tries again to finish the change.
        const bool putBack = favBefore.existed
            ? WriteFileAtomically(pair.favTarget, favBefore.bytes)
            : QFile::remove(pair.favTarget) || !QFileInfo::exists(pair.favTarget);
        if (putBack) {
            QFile::remove(journal);
            DropNewFiles(pair, journal);
        }
        return Failed(namePath);
    }
    Step("names replaced");
    QFile::remove(journal);
    Step("journal removed");
    return {FavoritesWriteResult::Written, QString()};
}

QByteArrayList Appended(const QByteArray &bytes, const QString &entry)
{
    // A last line without its line end (a file edited by hand) would swallow the new entry.
    QByteArrayList pieces {bytes};
    if (!bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r'))
        pieces << "\r\n";
    return pieces + FavoritesFilePieces(FavoriteList {entry});
}

} // namespace

void SetFavoritesStepHook(std::function<void(const char *step)> hook)
{
    StepHook() = std::move(hook);
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

namespace {

// Whether a change to the two files may go ahead: the lock is held (or none can be made in
// this folder) and no stopped change is left unfinished.
std::optional<FavoritesWriteResult> Blocked(const FilesLock &lock, const QString &folder)
{
    if (lock.busy())
        return FavoritesWriteResult {FavoritesWriteResult::Busy, QString()};
    if (lock.held() && !FinishStoppedChange(folder))
        return Failed(JournalPath(folder));
    return std::nullopt;
}

FavoritesPair ReadPair(const QString &folder)
{
    return {ReadFavoriteEntries(FavoritesPath(folder)), ReadFavoriteEntries(FavNamePath(folder))};
}

// What tells one version of a file from the next: each change moves a new file into place.
struct Stamp
{
    bool exists = false;
    qint64 size = 0;
    QDateTime modified;
    bool operator==(const Stamp &o) const
    {
        return exists == o.exists && size == o.size && modified == o.modified;
    }
};

Stamp StampOf(const QString &path)
{
    const QFileInfo info(path);
    return {info.exists(), info.size(), info.lastModified()};
}

} // namespace

FavoritesWriteResult AddFavorite(const QString &folder, const QString &address, const QString &name,
                                 int lockWaitMs)
{
    if (address.isEmpty())
        return {FavoritesWriteResult::NothingToWrite, QString()};
    FilesLock lock(folder, lockWaitMs);
    if (const auto blocked = Blocked(lock, folder))
        return *blocked;

    const BothFiles b = ReadBoth(folder);
    if (b.failed)
        return *b.failed;
    return WriteBoth(folder, b.fav, Appended(b.fav.bytes, address), Appended(b.names.bytes, name));
}

FavoritesPair ReadFavorites(const QString &folder, int lockWaitMs)
{
    // Without the lock, as long as no change was halfway (see the comment above
    // FinishStoppedChange for why these checks, in this order, are enough).
    const QString journal = JournalPath(folder);
    const QString favPath = FavoritesPath(folder);
    const Stamp before = StampOf(favPath);
    if (!QFileInfo::exists(journal)) {
        FavoritesPair pair = ReadPair(folder);
        if (!QFileInfo::exists(journal) && StampOf(favPath) == before)
            return pair;
    }
    return LoadFavoritesForEdit(folder, lockWaitMs);
}

FavoritesForEdit LoadFavoritesForEdit(const QString &folder, int lockWaitMs)
{
    // Waiting for a writer keeps the two lists in step; a busy lock still lets the editor open.
    FilesLock lock(folder, lockWaitMs);
    if (lock.held())
        FinishStoppedChange(folder);
    return ReadPair(folder);
}

FavoritesWriteResult SaveFavorites(const QString &folder, const FavoriteList &addresses,
                                   const FavoriteList &names, int addressesShown, int namesShown,
                                   int lockWaitMs, FavoritesPair *written)
{
    FilesLock lock(folder, lockWaitMs);
    if (const auto blocked = Blocked(lock, folder))
        return *blocked;

    const BothFiles b = ReadBoth(folder);
    if (b.failed)
        return *b.failed;
    const FavoriteList favAll
        = addresses + ParseFavoriteEntries(b.fav.bytes, qMax(0, addressesShown));
    const FavoriteList namesAll = names + ParseFavoriteEntries(b.names.bytes, qMax(0, namesShown));
    const FavoritesWriteResult result
        = WriteBoth(folder, b.fav, FavoritesFilePieces(favAll), FavoritesFilePieces(namesAll));
    if (written && result.outcome == FavoritesWriteResult::Written)
        *written = {ReadBackFavorites(favAll), ReadBackFavorites(namesAll)};
    return result;
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
