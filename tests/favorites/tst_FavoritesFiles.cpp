#include "TestFiles.h"
#include "favorites/FavoritesFiles.h"
#include "settings/TextFields.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class tst_FavoritesFiles : public QObject
{
    Q_OBJECT
private slots:
    void addWritesOneQuotedLineEach_data();
    void addWritesOneQuotedLineEach();
    void readsOneEntryALine_data();
    void readsOneEntryALine();
    void olderFileWithQuotesKeepsNamesWithTheirAddresses();
    void longEntryIsShownShortAndKeptWhole_data();
    void longEntryIsShownShortAndKeptWhole();
    void addKeepsWhatTheFilesHold_data();
    void addKeepsWhatTheFilesHold();
    void addUsesTheFilesWhateverTheirCase();
    void pageWithoutAddressAddsNothing();
    void loadTakesAtMost1001_data();
    void loadTakesAtMost1001();
    void addIsBothOrNeither_data();
    void addIsBothOrNeither();
    void twoProcessesAddingAtOnceKeepEveryFavorite();
    void busyFilesAreLeftAlone();
    void saveKeepsWhatTheEditorNeverHad_data();
    void saveKeepsWhatTheEditorNeverHad();
    void saveKeepsUnchangedEntriesByteForByte_data();
    void saveKeepsUnchangedEntriesByteForByte();
    void saveTellsWhatAReaderTakes_data();
    void saveTellsWhatAReaderTakes();
    void saveIsBothOrNeither_data();
    void saveIsBothOrNeither();
    void killedChangeLeavesBeforeOrAfter_data();
    void killedChangeLeavesBeforeOrAfter();
    void lockNamingNoHolderIsTakenOver_data();
    void lockNamingNoHolderIsTakenOver();
};

namespace {

QString Fav(const QTemporaryDir &dir)
{
    return dir.filePath("Favorites");
}

QString Names(const QTemporaryDir &dir)
{
    return dir.filePath("FavName");
}

// Every entry of a file, past the load limit too.
QStringList AllEntries(const QString &path)
{
    return ParseFavorites(ReadAll(path));
}

QByteArray Lines(const QStringList &entries)
{
    QByteArray bytes;
    for (const QString &e : entries)
        bytes += '"' + e.toLatin1() + "\"\r\n";
    return bytes;
}

QStringList Numbered(const QString &prefix, int count)
{
    QStringList entries;
    for (int i = 0; i < count; ++i)
        entries << prefix + QString::number(i);
    return entries;
}

// How a file is made unwritable while root: a folder in its place cannot even be read; a link
// into /proc reads fine, but nothing can be written next to its target.
enum Block { FolderInPlace, UnwritableTarget };

void BlockFile(const QString &path, Block how)
{
    QFile::remove(path);
    if (how == FolderInPlace) {
        QVERIFY(QDir().mkpath(path));
    } else {
        if (!QFileInfo::exists("/proc/version"))
            QSKIP("needs /proc/version");
        QVERIFY(QFile::link("/proc/version", path));
    }
}

} // namespace

void tst_FavoritesFiles::addWritesOneQuotedLineEach_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("nameLine");
    QTest::addColumn<QString>("readBack");

    QTest::newRow("plain") << "Example Domain" << QByteArray("\"Example Domain\"\r\n")
                           << "Example Domain";
    QTest::newRow("comma comes back whole")
        << "News, weather and sport" << QByteArray("\"News, weather and sport\"\r\n")
        << "News, weather and sport";
    QTest::newRow("double quotes written unchanged, read whole")
        << "The \"best\" page" << QByteArray("\"The \"best\" page\"\r\n") << "The \"best\" page";
    QTest::newRow("a quote and a comma stay one name")
        << "a\"b,c" << QByteArray("\"a\"b,c\"\r\n") << "a\"b,c";
    QTest::newRow("empty name is an empty quoted line") << "" << QByteArray("\"\"\r\n") << "";
    QTest::newRow("line break stays on one line")
        << "two\r\nlines\nhere" << QByteArray("\"two lines here\"\r\n") << "two lines here";
}

void tst_FavoritesFiles::addWritesOneQuotedLineEach()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, nameLine);
    QFETCH(QString, readBack);
    QTemporaryDir dir;

    const FavoritesWriteResult r = AddFavorite(dir.path(), "http://127.0.0.1:9/a,b", name);

    QCOMPARE(r.outcome, FavoritesWriteResult::Written);
    QCOMPARE(ReadAll(Fav(dir)), QByteArray("\"http://127.0.0.1:9/a,b\"\r\n"));
    QCOMPARE(ReadAll(Names(dir)), nameLine);
    QCOMPARE(ReadFavoritesFile(Fav(dir)), QStringList {"http://127.0.0.1:9/a,b"});
    QCOMPARE(ReadFavoritesFile(Names(dir)), QStringList {readBack});
}

void tst_FavoritesFiles::readsOneEntryALine_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("quoted lines") << QByteArray("\"a\"\r\n\"b, c\"\r\n")
                                  << QStringList {"a", "b, c"};
    QTest::newRow("quotes inside run to the last")
        << QByteArray("\"a\"b,c\"\r\n\"d\"\r\n") << QStringList {"a\"b,c", "d"};
    QTest::newRow("after the last quote dropped")
        << QByteArray("  \" x \"  junk\r\n") << QStringList {" x "};
    QTest::newRow("open quote ends at its line")
        << QByteArray("\"open\r\n\"next\"\r\n") << QStringList {"open", "next"};
    QTest::newRow("a lone quote") << QByteArray("\"\r\n") << QStringList {""};
    QTest::newRow("line ends of every kind")
        << QByteArray("\"a\"\n\"b\"\r\"c\"") << QStringList {"a", "b", "c"};
    QTest::newRow("empty line is an empty entry")
        << QByteArray("\"a\"\r\n\r\n\"b\"\r\n") << QStringList {"a", "", "b"};
    // Lines edited by hand, without a leading quote, are fields as they always were.
    QTest::newRow("bare line with commas") << QByteArray("k2, k3\r\n") << QStringList {"k2", "k3"};
    QTest::newRow("bare line with a quoted field")
        << QByteArray("k1,\"k2\"x\r\n") << QStringList {"k1", "k2"};
}

void tst_FavoritesFiles::readsOneEntryALine()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, entries);
    QCOMPARE(ParseFavorites(bytes), entries);
}

void tst_FavoritesFiles::olderFileWithQuotesKeepsNamesWithTheirAddresses()
{
    // Older versions wrote a title with a quote and a comma as it was, on one line; read as
    // two names it would give every later address the name before its own.
    QTemporaryDir dir;
    WriteAll(Fav(dir), "\"http://127.0.0.1:9/1\"\r\n\"http://127.0.0.1:9/2\"\r\n");
    WriteAll(Names(dir), "\"Say \"hi\", then go\"\r\n\"Two\"\r\n");
    const FavoritesPair read = ReadFavorites(dir.path());
    QCOMPARE(FavoriteTexts(read.names), QStringList({"Say \"hi\", then go", "Two"}));
    QCOMPARE(read.addresses.size(), read.names.size());

    QVERIFY(AddFavorite(dir.path(), "http://127.0.0.1:9/3", "Three \"3\", or so").ok());
    QCOMPARE(AllEntries(Names(dir)),
             QStringList({"Say \"hi\", then go", "Two", "Three \"3\", or so"}));
    QCOMPARE(AllEntries(Fav(dir)).size(), 3);
}

void tst_FavoritesFiles::longEntryIsShownShortAndKeptWhole_data()
{
    QTest::addColumn<QByteArray>("entry"); // as the file holds it
    const QByteArray plain(100000, 'a');
    QTest::newRow("ASCII") << plain;
    // Single bytes, some of which form UTF-8: written back as they were, not as UTF-8.
    QTest::newRow("single bytes") << QByteArray("\xc3\xa9 caf\xe9 ") + plain;
    QTest::newRow("UTF-8") << QString(30000, QChar(0x20AC)).toUtf8();
    QTest::newRow("UTF-8 with a byte order mark") << QByteArray("\xef\xbb\xbf") + plain;
    // A pair of surrogates across the cut: the lists never show half a character.
    QTest::newRow("surrogate pair at the cut")
        << (QString(199, QLatin1Char('x')) + QString::fromUtf8("\xf0\x9f\x98\x80").repeated(3000))
                .toUtf8()
            + plain;
    QTest::newRow("quotes and commas inside") << plain + "\"x\", y" + plain;
}

void tst_FavoritesFiles::longEntryIsShownShortAndKeptWhole()
{
    QFETCH(QByteArray, entry);
    QTemporaryDir dir;
    const QByteArray file = "\"one\"\r\n\"" + entry + "\"\r\n\"two\"\r\n";
    WriteAll(Fav(dir), file);
    WriteAll(Names(dir), file);

    FavoritesForEdit edit = LoadFavoritesForEdit(dir.path());
    QCOMPARE(edit.names.size(), 3);
    const FavoriteText &longOne = edit.names[1];
    const QString whole = DecodeText(entry);
    QVERIFY(longOne.text() == whole); // QCOMPARE would print the whole text
    QCOMPARE(longOne.shown(), ShownFavorite(whole));
    QCOMPARE(longOne, FavoriteText(whole));
    QVERIFY(longOne != FavoriteText(whole.left(whole.size() - 1)));

    // Moved, and saved: the long entry's bytes go back unchanged, and the main window is told
    // what a reader takes.
    edit.names.move(1, 0);
    edit.addresses.move(1, 0);
    FavoritesPair saved;
    QCOMPARE(
        SaveFavorites(dir.path(), edit.addresses, edit.names, 3, 3, FavoritesLockWaitMs, &saved)
            .outcome,
        FavoritesWriteResult::Written);
    const QByteArray expected = "\"" + entry + "\"\r\n\"one\"\r\n\"two\"\r\n";
    QVERIFY(ReadAll(Names(dir)) == expected);
    QVERIFY(ReadAll(Fav(dir)) == expected);
    QVERIFY(saved.names == ReadFavorites(dir.path()).names);
    QCOMPARE(saved.names[0].shown(), ShownFavorite(whole));
}

void tst_FavoritesFiles::addKeepsWhatTheFilesHold_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QStringList>("after");

    QTest::newRow("written by the program")
        << QByteArray("\"a\"\r\n\"b\"\r\n") << QStringList {"a", "b", "new"};
    QTest::newRow("same page again") << QByteArray("\"new\"\r\n") << QStringList {"new", "new"};
    QTest::newRow("last line without its line end")
        << QByteArray("\"a\"\r\n\"b\"") << QStringList {"a", "b", "new"};
    QTest::newRow("bare fields and LF line ends")
        << QByteArray("a\nb c\n") << QStringList {"a", "b c", "new"};
    QTest::newRow("more than the load limit")
        << Lines(Numbered("e", 1002)) << Numbered("e", 1002) + QStringList {"new"};
}

void tst_FavoritesFiles::addKeepsWhatTheFilesHold()
{
    QFETCH(QByteArray, before);
    QFETCH(QStringList, after);
    QTemporaryDir dir;
    WriteAll(Fav(dir), before);
    WriteAll(Names(dir), before);

    QVERIFY(AddFavorite(dir.path(), "new", "new").ok());

    QCOMPARE(AllEntries(Fav(dir)), after);
    QCOMPARE(AllEntries(Names(dir)), after);
    QVERIFY(ReadAll(Fav(dir)).startsWith(before));
}

void tst_FavoritesFiles::addUsesTheFilesWhateverTheirCase()
{
    QTemporaryDir dir;
    WriteAll(dir.filePath("favorites"), "\"a\"\r\n");
    WriteAll(dir.filePath("FAVNAME"), "\"A\"\r\n");

    QVERIFY(AddFavorite(dir.path(), "b", "B").ok());

    QCOMPARE(ReadAll(dir.filePath("favorites")), QByteArray("\"a\"\r\n\"b\"\r\n"));
    QCOMPARE(ReadAll(dir.filePath("FAVNAME")), QByteArray("\"A\"\r\n\"B\"\r\n"));
    QVERIFY(!QFileInfo::exists(Fav(dir)));
    QVERIFY(!QFileInfo::exists(Names(dir)));
}

void tst_FavoritesFiles::pageWithoutAddressAddsNothing()
{
    QTemporaryDir dir;
    QCOMPARE(AddFavorite(dir.path(), "", "Title").outcome, FavoritesWriteResult::NothingToWrite);
    QVERIFY(!QFileInfo::exists(Fav(dir)));
    QVERIFY(!QFileInfo::exists(Names(dir)));

    WriteAll(Fav(dir), "\"a\"\r\n");
    WriteAll(Names(dir), "\"A\"\r\n");
    QCOMPARE(AddFavorite(dir.path(), "", "").outcome, FavoritesWriteResult::NothingToWrite);
    QCOMPARE(ReadAll(Fav(dir)), QByteArray("\"a\"\r\n"));
    QCOMPARE(ReadAll(Names(dir)), QByteArray("\"A\"\r\n"));
}

void tst_FavoritesFiles::loadTakesAtMost1001_data()
{
    QTest::addColumn<int>("inFile");
    QTest::addColumn<int>("loaded");
    QTest::newRow("none") << 0 << 0;
    QTest::newRow("one") << 1 << 1;
    QTest::newRow("1001") << 1001 << 1001;
    QTest::newRow("1002") << 1002 << 1001;
}

void tst_FavoritesFiles::loadTakesAtMost1001()
{
    QFETCH(int, inFile);
    QFETCH(int, loaded);
    QTemporaryDir dir;
    const QByteArray bytes = Lines(Numbered("http://127.0.0.1:9/", inFile));
    WriteAll(Fav(dir), bytes);

    QCOMPARE(ReadFavoritesFile(Fav(dir)), Numbered("http://127.0.0.1:9/", loaded));
    QCOMPARE(FavoriteTexts(LoadFavoritesForEdit(dir.path()).addresses),
             Numbered("http://127.0.0.1:9/", loaded));
    QCOMPARE(ReadAll(Fav(dir)), bytes);
}

void tst_FavoritesFiles::addIsBothOrNeither_data()
{
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<int>("how");
    QTest::addColumn<bool>("filesExist");

    for (const char *file : {"Favorites", "FavName"}) {
        for (bool exist : {true, false}) {
            const QString row = QString("%1, files %2").arg(file, exist ? "there" : "missing");
            QTest::newRow(qPrintable(row + ", folder in its place"))
                << QString(file) << int(FolderInPlace) << exist;
        }
    }
    // Only the names file can fail after the addresses are written: then they are taken back.
    QTest::newRow("FavName not writable, files there")
        << "FavName" << int(UnwritableTarget) << true;
    QTest::newRow("FavName not writable, files missing")
        << "FavName" << int(UnwritableTarget) << false;
}

void tst_FavoritesFiles::addIsBothOrNeither()
{
    QFETCH(QString, blocked);
    QFETCH(int, how);
    QFETCH(bool, filesExist);
    QTemporaryDir dir;
    const QByteArray before("\"http://127.0.0.1:9/old\"\r\n");
    if (filesExist) {
        WriteAll(Fav(dir), before);
        WriteAll(Names(dir), before);
    }
    BlockFile(dir.filePath(blocked), Block(how));
    const QString other = blocked == "Favorites" ? Names(dir) : Fav(dir);

    const FavoritesWriteResult r = AddFavorite(dir.path(), "http://127.0.0.1:9/new", "New");

    QCOMPARE(r.outcome, FavoritesWriteResult::FileFailed);
    QCOMPARE(QFileInfo(r.failedPath).fileName(), blocked);
    QVERIFY(AddFavoriteFailureText(r).contains(QDir::toNativeSeparators(r.failedPath)));
    QCOMPARE(ReadAll(other), filesExist ? before : QByteArray("<missing>"));
    if (how == UnwritableTarget)
        QVERIFY(QFileInfo(dir.filePath(blocked)).isSymLink());
}

void tst_FavoritesFiles::twoProcessesAddingAtOnceKeepEveryFavorite()
{
    const int perProcess = 100;
    for (int round = 0; round < 3; ++round) {
        QTemporaryDir dir;
        QProcess first, second;
        QProcess *both[] = {&first, &second};
        const char *tags[] = {"one", "two"};
        for (int p = 0; p < 2; ++p) {
            both[p]->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            both[p]->start(FAVORITES_ADDER, {dir.path(), tags[p], QString::number(perProcess)});
        }
        // Let both go together once both are ready.
        for (QProcess *p : both) {
            QVERIFY(p->waitForStarted(30000));
            QVERIFY(p->canReadLine() || p->waitForReadyRead(30000));
            QCOMPARE(p->readLine().trimmed(), QByteArray("ready"));
        }
        for (QProcess *p : both) {
            p->write("go\n");
            QVERIFY(p->waitForBytesWritten(30000));
        }
        for (QProcess *p : both) {
            QVERIFY(p->waitForFinished(60000));
            QCOMPARE(p->exitStatus(), QProcess::NormalExit);
            QCOMPARE(p->exitCode(), 0);
        }

        const QStringList addresses = AllEntries(Fav(dir));
        const QStringList names = AllEntries(Names(dir));
        QCOMPARE(addresses.size(), 2 * perProcess);
        QCOMPARE(names.size(), 2 * perProcess);
        int next[2] = {0, 0};
        for (int k = 0; k < addresses.size(); ++k) {
            const int p = addresses[k].contains("/one/") ? 0 : 1;
            // Each process's favorites in its own order, each address with its own name.
            QCOMPARE(addresses[k], QString("http://127.0.0.1:9/%1/%2").arg(tags[p]).arg(next[p]));
            QCOMPARE(names[k], QString("%1 %2").arg(tags[p]).arg(next[p]));
            ++next[p];
        }
    }
}

void tst_FavoritesFiles::busyFilesAreLeftAlone()
{
    QTemporaryDir dir;
    WriteAll(Fav(dir), "\"a\"\r\n");
    WriteAll(Names(dir), "\"A\"\r\n");
    QLockFile other(dir.filePath("Favorites.lock"));
    QVERIFY(other.tryLock(0));

    QCOMPARE(AddFavorite(dir.path(), "b", "B", 50).outcome, FavoritesWriteResult::Busy);
    QCOMPARE(SaveFavorites(dir.path(), {}, {}, 1, 1, 50).outcome, FavoritesWriteResult::Busy);
    QVERIFY(!AddFavoriteFailureText({FavoritesWriteResult::Busy, QString()}).isEmpty());
    QCOMPARE(ReadAll(Fav(dir)), QByteArray("\"a\"\r\n"));
    QCOMPARE(ReadAll(Names(dir)), QByteArray("\"A\"\r\n"));

    other.unlock();
    QCOMPARE(AddFavorite(dir.path(), "b", "B", 50).outcome, FavoritesWriteResult::Written);
    QCOMPARE(AllEntries(Fav(dir)), QStringList({"a", "b"}));
}

void tst_FavoritesFiles::saveKeepsWhatTheEditorNeverHad_data()
{
    QTest::addColumn<QStringList>("inFile");
    QTest::addColumn<QStringList>("appended"); // added by another instance while editing
    QTest::addColumn<int>("deleteAt"); // the editor's one change; -1 for none
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("unchanged") << QStringList {"a", "b"} << QStringList {} << -1
                               << QStringList {"a", "b"};
    QTest::newRow("edited") << QStringList {"a", "b", "c"} << QStringList {} << 1
                            << QStringList {"a", "c"};
    QTest::newRow("added by another instance while open")
        << QStringList {"a", "b"} << QStringList {"x", "y"} << 0 << QStringList {"b", "x", "y"};
    QTest::newRow("past the load limit")
        << Numbered("e", 1003) << QStringList {} << 0 << Numbered("e", 1003).mid(1);
    QTest::newRow("past the load limit, and added while open")
        << Numbered("e", 1002) << QStringList {"x"} << 1000
        << Numbered("e", 1000) + QStringList {"e1001", "x"};
    QTest::newRow("no files") << QStringList {} << QStringList {} << -1 << QStringList {};
}

void tst_FavoritesFiles::saveKeepsWhatTheEditorNeverHad()
{
    QFETCH(QStringList, inFile);
    QFETCH(QStringList, appended);
    QFETCH(int, deleteAt);
    QFETCH(QStringList, expected);
    QTemporaryDir dir;
    if (!inFile.isEmpty()) {
        WriteAll(Fav(dir), Lines(inFile));
        WriteAll(Names(dir), Lines(inFile));
    }

    FavoritesForEdit edit = LoadFavoritesForEdit(dir.path());
    const int addressesShown = edit.addresses.size();
    const int namesShown = edit.names.size();
    for (const QString &a : appended)
        QVERIFY(AddFavorite(dir.path(), a, a).ok());
    if (deleteAt >= 0) {
        edit.addresses.removeAt(deleteAt);
        edit.names.removeAt(deleteAt);
    }
    QCOMPARE(
        SaveFavorites(dir.path(), edit.addresses, edit.names, addressesShown, namesShown).outcome,
        FavoritesWriteResult::Written);

    QCOMPARE(AllEntries(Fav(dir)), expected);
    QCOMPARE(AllEntries(Names(dir)), expected);
    QCOMPARE(ReadAll(Fav(dir)), Lines(expected));
}

void tst_FavoritesFiles::saveKeepsUnchangedEntriesByteForByte_data()
{
    QTest::addColumn<QByteArray>("fav");
    QTest::addColumn<QByteArray>("names");
    QTest::addColumn<int>("changeAt"); // the favorite given a typed address and name
    QTest::addColumn<QByteArray>("favChanged");
    QTest::addColumn<QByteArray>("namesChanged");

    const QByteArray fav2 = "\"http://a/\"\r\n\"http://b/\"\r\n";
    const QByteArray fav2New0 = "\"http://new/\"\r\n\"http://b/\"\r\n";
    const QByteArray fav2New1 = "\"http://a/\"\r\n\"http://new/\"\r\n";
    QTest::newRow("ASCII") << fav2 << QByteArray("\"A\"\r\n\"B\"\r\n") << 0 << fav2New0
                           << QByteArray("\"New\"\r\n\"B\"\r\n");
    QTest::newRow("UTF-8") << fav2 << QByteArray("\"Page \xc3\xa9 utf8\"\r\n\"B\"\r\n") << 1
                           << fav2New1 << QByteArray("\"Page \xc3\xa9 utf8\"\r\n\"New\"\r\n");
    QTest::newRow("single-byte") << fav2 << QByteArray("\"Page \xe9 latin\"\r\n\"B\"\r\n") << 1
                                 << fav2New1 << QByteArray("\"Page \xe9 latin\"\r\n\"New\"\r\n");
    const QByteArray mixed
        = "\"Page \xc3\xa9 utf8\"\r\n\"Page \xe9 latin\"\r\n\"C \xe2\x82\xac\"\r\n";
    const QByteArray mixedNew = "\"Page \xc3\xa9 utf8\"\r\n\"Page \xe9 latin\"\r\n\"New\"\r\n";
    QTest::newRow("mixed")
        << QByteArray("\"http://a/\"\r\n\"http://\xc3\xa9/\"\r\n\"http://c/\"\r\n") << mixed << 2
        << QByteArray("\"http://a/\"\r\n\"http://\xc3\xa9/\"\r\n\"http://new/\"\r\n") << mixedNew;
    QTest::newRow("byte order mark")
        << fav2 << QByteArray("\xef\xbb\xbf\"A \xc3\xa9\"\r\n\"B\"\r\n") << 1 << fav2New1
        << QByteArray("\xef\xbb\xbf\"A \xc3\xa9\"\r\n\"New\"\r\n");
    QTest::newRow("LF") << QByteArray("\"http://a/\"\n\"http://b/\"\n")
                        << QByteArray("\"A \xe9\"\n\"B \xc3\xa9\"\n") << 1
                        << QByteArray("\"http://a/\"\n\"http://new/\"\r\n")
                        << QByteArray("\"A \xe9\"\n\"New\"\r\n");
    QTest::newRow("CR") << fav2 << QByteArray("\"A \xe9\"\r\"B\"\r") << 0 << fav2New0
                        << QByteArray("\"New\"\r\n\"B\"\r");
    QTest::newRow("last line without its end, changed")
        << fav2 << QByteArray("\"A \xc3\xa9\"\r\n\"B \xe9\"") << 1 << fav2New1
        << QByteArray("\"A \xc3\xa9\"\r\n\"New\"\r\n");
    QTest::newRow("last line without its end, kept")
        << QByteArray("\"http://a/\"\r\n\"http://b/\"") << QByteArray("\"A\"\r\n\"B \xe9\"") << 0
        << QByteArray("\"http://new/\"\r\n\"http://b/\"") << QByteArray("\"New\"\r\n\"B \xe9\"");
    QTest::newRow("edited by hand") << fav2 << QByteArray("  A \xc3\xa9  \r\n \"B \xe9\" \r\n") << 1
                                    << fav2New1 << QByteArray("  A \xc3\xa9  \r\n\"New\"\r\n");
}

void tst_FavoritesFiles::saveKeepsUnchangedEntriesByteForByte()
{
    QFETCH(QByteArray, fav);
    QFETCH(QByteArray, names);
    QFETCH(int, changeAt);
    QFETCH(QByteArray, favChanged);
    QFETCH(QByteArray, namesChanged);
    QTemporaryDir dir;
    WriteAll(Fav(dir), fav);
    WriteAll(Names(dir), names);

    // Opened and closed without an edit, as often as a person may: never a byte changed.
    for (int round = 0; round < 3; ++round) {
        const FavoritesForEdit edit = LoadFavoritesForEdit(dir.path());
        QCOMPARE(SaveFavorites(dir.path(), edit.addresses, edit.names, edit.addresses.size(),
                               edit.names.size())
                     .outcome,
                 FavoritesWriteResult::Written);
        QCOMPARE(ReadAll(Fav(dir)), fav);
        QCOMPARE(ReadAll(Names(dir)), names);
    }

    // One favorite typed anew: it is written as new text is, every other entry as it was.
    FavoritesForEdit edit = LoadFavoritesForEdit(dir.path());
    edit.addresses[changeAt] = FavoriteText(QStringLiteral("http://new/"));
    edit.names[changeAt] = FavoriteText(QStringLiteral("New"));
    QCOMPARE(SaveFavorites(dir.path(), edit.addresses, edit.names, edit.addresses.size(),
                           edit.names.size())
                 .outcome,
             FavoritesWriteResult::Written);
    QCOMPARE(ReadAll(Fav(dir)), favChanged);
    QCOMPARE(ReadAll(Names(dir)), namesChanged);
}

void tst_FavoritesFiles::saveTellsWhatAReaderTakes_data()
{
    QTest::addColumn<QByteArray>("inFile"); // both files
    QTest::addColumn<QStringList>("edited"); // both lists as saved
    QTest::newRow("plain") << QByteArray() << QStringList {"a", "b c", "", " d "};
    QTest::newRow("a quote ends the entry") << QByteArray() << QStringList {"say \"hi\" now", "x"};
    QTest::newRow("a quote and a comma stay one entry")
        << QByteArray() << QStringList {"a\"b,c", "d"};
    QTest::newRow("line breaks") << QByteArray() << QStringList {"a\r\nb\nc\rd", "e"};
    QTest::newRow("beyond single bytes")
        << QByteArray() << QStringList {QString::fromUtf8("\xc3\xa9t\xc3\xa9 \xe2\x82\xac"), "f"};
    QTest::newRow("single bytes that look like UTF-8")
        << QByteArray() << QStringList {QString::fromLatin1("\xc3\xa9")};
    QTest::newRow("half a surrogate pair") << QByteArray() << QStringList {QString(QChar(0xD800))};
    QTest::newRow("kept after the edited ones")
        << QByteArray("\"k1\"\r\nk2,k3\r\nk\"4\r\n") << QStringList {"a"};
    QTest::newRow("past the load limit") << QByteArray() << Numbered("e", 1003);
    QTest::newRow("a long entry") << QByteArray()
                                  << QStringList {"a", QString(5000, QLatin1Char('x')), "b"};
}

void tst_FavoritesFiles::saveTellsWhatAReaderTakes()
{
    // The main window shows what the save tells instead of reading the files again: it must be
    // what reading them gives, whatever the entries hold.
    QFETCH(QByteArray, inFile);
    QFETCH(QStringList, edited);
    QTemporaryDir dir;
    WriteAll(Fav(dir), inFile);
    WriteAll(Names(dir), inFile);

    FavoritesPair saved;
    const FavoriteList entries = FavoriteEntries(edited);
    QCOMPARE(SaveFavorites(dir.path(), entries, entries, 0, 0, FavoritesLockWaitMs, &saved).outcome,
             FavoritesWriteResult::Written);
    const FavoritesPair read = ReadFavorites(dir.path());
    QCOMPARE(FavoriteTexts(saved.addresses), FavoriteTexts(read.addresses));
    QCOMPARE(FavoriteTexts(saved.names), FavoriteTexts(read.names));
    QVERIFY(!read.addresses.isEmpty());
}

void tst_FavoritesFiles::saveIsBothOrNeither_data()
{
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<int>("how");
    QTest::newRow("folder in place of Favorites") << "Favorites" << int(FolderInPlace);
    QTest::newRow("folder in place of FavName") << "FavName" << int(FolderInPlace);
    QTest::newRow("FavName not writable") << "FavName" << int(UnwritableTarget);
}

void tst_FavoritesFiles::saveIsBothOrNeither()
{
    QFETCH(QString, blocked);
    QFETCH(int, how);
    QTemporaryDir dir;
    const QByteArray before("\"a\"\r\n\"b\"\r\n");
    WriteAll(Fav(dir), before);
    WriteAll(Names(dir), before);
    BlockFile(dir.filePath(blocked), Block(how));
    const QString other = blocked == "Favorites" ? Names(dir) : Fav(dir);

    const FavoritesWriteResult r = SaveFavorites(dir.path(), {"b", "a"}, {"B", "A"}, 2, 2);

    QCOMPARE(r.outcome, FavoritesWriteResult::FileFailed);
    QCOMPARE(QFileInfo(r.failedPath).fileName(), blocked);
    QCOMPARE(ReadAll(other), before);
}

void tst_FavoritesFiles::killedChangeLeavesBeforeOrAfter_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<QString>("step"); // empty: not killed
    QTest::addColumn<bool>("done");

    for (const char *operation : {"add", "save"}) {
        bool done = false;
        for (const char *step : FavoritesSteps) {
            done = done || QByteArray(step) == "journal written";
            QTest::addRow("%s, killed at %s", operation, step)
                << QString(operation) << QString(step) << done;
        }
        QTest::addRow("%s, not killed", operation) << QString(operation) << QString() << true;
    }
}

void tst_FavoritesFiles::killedChangeLeavesBeforeOrAfter()
{
    QFETCH(QString, operation);
    QFETCH(QString, step);
    QFETCH(bool, done);
    QTemporaryDir dir;
    const QStringList addresses = Numbered("http://127.0.0.1:9/", 3);
    const QStringList names {"Zero", "One", "Two"};
    WriteAll(Fav(dir), SerializeFavorites(addresses));
    WriteAll(Names(dir), SerializeFavorites(names));

    QProcess change;
    change.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    change.start(FAVORITES_STOPPER, {dir.path(), operation, step.isEmpty() ? "never" : step});
    QVERIFY(change.waitForFinished(60000));
    if (step.isEmpty()) {
        QCOMPARE(change.exitStatus(), QProcess::NormalExit);
        QCOMPARE(change.exitCode(), 0);
    } else {
        QCOMPARE(change.exitStatus(), QProcess::CrashExit);
    }

    QStringList expectedAddresses = addresses;
    QStringList expectedNames = names;
    if (done && operation == "add") {
        expectedAddresses << "http://127.0.0.1:9/new";
        expectedNames << "New";
    } else if (done) {
        expectedAddresses = {addresses[2], addresses[1]};
        expectedNames = {"Two", "One"};
    }
    // What the next start shows: every name with its own address.
    const FavoritesPair read = ReadFavorites(dir.path());
    QCOMPARE(FavoriteTexts(read.addresses), expectedAddresses);
    QCOMPARE(FavoriteTexts(read.names), expectedNames);
    // The next change goes ahead at once (the killed change's lock names a process that is
    // gone), keeps the pair in step, and leaves nothing of the killed change behind.
    QCOMPARE(AddFavorite(dir.path(), "http://127.0.0.1:9/next", "Next").outcome,
             FavoritesWriteResult::Written);
    QCOMPARE(AllEntries(Fav(dir)), expectedAddresses + QStringList {"http://127.0.0.1:9/next"});
    QCOMPARE(AllEntries(Names(dir)), expectedNames + QStringList {"Next"});
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"FavName", "Favorites"}));
}

void tst_FavoritesFiles::lockNamingNoHolderIsTakenOver_data()
{
    QTest::addColumn<QByteArray>("content"); // null: a folder in its place
    QTest::addColumn<int>("ageSeconds");
    QTest::newRow("empty, just made") << QByteArray("") << 0;
    QTest::newRow("empty, left by a crash an hour ago") << QByteArray("") << 3600;
    QTest::newRow("damaged") << QByteArray("not a lock\n\x01") << 0;
    QTest::newRow("dated in the future") << QByteArray("") << -3600;
    QTest::newRow("a folder in its place") << QByteArray() << 0;
}

void tst_FavoritesFiles::lockNamingNoHolderIsTakenOver()
{
    QFETCH(QByteArray, content);
    QFETCH(int, ageSeconds);
    QTemporaryDir dir;
    WriteAll(Fav(dir), "\"a\"\r\n");
    WriteAll(Names(dir), "\"A\"\r\n");
    const QString lockPath = dir.filePath("Favorites.lock");
    if (content.isNull()) {
        QVERIFY(QDir().mkpath(lockPath));
    } else {
        WriteAll(lockPath, content);
        QFile lock(lockPath);
        QVERIFY(lock.open(QIODevice::ReadWrite));
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                                 QFileDevice::FileModificationTime));
    }

    // With the usual wait: a lock that names no holder is never waited on until it ends.
    QCOMPARE(AddFavorite(dir.path(), "b", "B").outcome, FavoritesWriteResult::Written);
    QCOMPARE(SaveFavorites(dir.path(), {"b", "a"}, {"B", "A"}, 2, 2).outcome,
             FavoritesWriteResult::Written);

    QCOMPARE(AllEntries(Fav(dir)), QStringList({"b", "a"}));
    QCOMPARE(AllEntries(Names(dir)), QStringList({"B", "A"}));
    if (!content.isNull())
        QVERIFY(!QFileInfo::exists(lockPath));
}

QTEST_GUILESS_MAIN(tst_FavoritesFiles)
#include "tst_FavoritesFiles.moc"
