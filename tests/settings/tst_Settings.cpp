#include "settings/AppFolder.h"
#include "settings/PageFiles.h"
#include "settings/SaveFile.h"
#include "settings/Settings.h"

#include <QTemporaryDir>
#include <QtTest>

class tst_Settings : public QObject
{
    Q_OBJECT
private slots:
    void writtenFileIsExactlyNineLines();
    void roundTrip_data();
    void roundTrip();
    void readsWhatIsThere_data();
    void readsWhatIsThere();
    void missingFileKeepsValues();
    void numbers_data();
    void numbers();
    void namesMatchWithoutCase();
    void twoSpellingsOnDiskAreOneFile();
    void pageFileWrittenLowerReadMixed_data();
    void pageFileWrittenLowerReadMixed();
    void applicationFolder_data();
    void applicationFolder();
    void leftoverSaveNames_data();
    void leftoverSaveNames();
    void leftoversOfEndedSavesGo();
};

void tst_Settings::writtenFileIsExactlyNineLines()
{
    Settings s;
    s.Stamp = SettingsStamp;
    s.WindowState = 0;
    s.PopupMode = "all";
    s.StartMode = "Blank";
    s.WindowWidth = 9690;
    s.WindowHeight = 7200.5;
    s.WindowTop = 0;
    s.WindowLeft = -120;
    s.FullScreen = 0;
    QCOMPARE(SerializeConfig(s),
             QByteArray("21127OCT99\r\n0\r\nall\r\nBlank\r\n9690\r\n7200.5\r\n0\r\n-120\r\n0\r\n"));
}

void tst_Settings::roundTrip_data()
{
    QTest::addColumn<Settings>("settings");
    Settings normal;
    normal.Stamp = SettingsStamp;
    normal.PopupMode = "allow";
    normal.StartMode = "Home";
    normal.WindowWidth = 12000;
    normal.WindowHeight = 9000;
    normal.WindowTop = 1500;
    normal.WindowLeft = 3000;
    QTest::newRow("normal window") << normal;
    Settings full = normal;
    full.WindowState = 2;
    full.FullScreen = 1;
    full.PopupMode = "allowie";
    full.WindowWidth = 1.0 / 3.0; // any double survives
    QTest::newRow("maximized, full screen") << full;
    Settings empty;
    empty.Stamp = SettingsStamp;
    QTest::newRow("empty words") << empty;
}

void tst_Settings::roundTrip()
{
    QFETCH(Settings, settings);
    QTemporaryDir dir;
    QVERIFY(WriteConfigFile(dir.path(), settings));
    Settings back;
    QVERIFY(ReadConfigFile(dir.path(), back));
    QCOMPARE(back, settings);
    QCOMPARE(back.Stamp, QString("21127OCT99"));
}

void tst_Settings::readsWhatIsThere_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Settings>("expected");

    Settings start; // what the record held before reading
    start.WindowWidth = 1111;
    start.FullScreen = 0;

    Settings four = start;
    four.Stamp = "21127OCT99";
    four.WindowState = 2;
    four.PopupMode = "allow";
    four.StartMode = "Home";
    QTest::newRow("only four lines") << QByteArray("21127OCT99\r\n2\r\nallow\r\nHome\r\n") << four;

    Settings truncated = start;
    truncated.Stamp = "21127OCT99";
    truncated.WindowState = 1;
    truncated.PopupMode = "al";
    QTest::newRow("cut in the middle of a line")
        << QByteArray("21127OCT99\r\n1\r\nal") << truncated;

    Settings words = start;
    words.Stamp = "x";
    words.PopupMode = "all";
    words.StartMode = "Blank";
    words.WindowHeight = 500;
    QTest::newRow("no number where one belongs")
        << QByteArray("x\r\nmaximized\r\nall\r\nBlank\r\nwide\r\n500\r\n\r\nnan\r\n99999\r\n")
        << words;

    Settings binary = start;
    binary.Stamp = QString::fromLatin1("\x01\x02", 2);
    QTest::newRow("binary rubbish") << QByteArray("\x01\x02\r\n\xff\xfe\x00\x00", 8) << [&] {
        Settings s = binary;
        s.PopupMode = QString(); // the third field is missing, so unchanged
        return s;
    }();

    Settings blanks = start;
    blanks.Stamp = "21127OCT99";
    blanks.WindowState = 0;
    blanks.PopupMode = "all";
    blanks.StartMode = "Blank";
    blanks.WindowWidth = 9570;
    blanks.WindowHeight = 6315;
    blanks.WindowTop = 15;
    blanks.WindowLeft = 30;
    blanks.FullScreen = 1;
    QTest::newRow("blanks and LF line ends")
        << QByteArray("  21127OCT99 \n 0\nall  \nBlank\n 9570\n6315 \n15\n30\n1") << blanks;
}

void tst_Settings::readsWhatIsThere()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Settings, expected);
    Settings s;
    s.WindowWidth = 1111;
    ParseConfig(bytes, s);
    QCOMPARE(s, expected);
}

void tst_Settings::missingFileKeepsValues()
{
    QTemporaryDir dir;
    Settings s;
    s.PopupMode = "allow";
    QVERIFY(!ReadConfigFile(dir.path(), s));
    QCOMPARE(s.PopupMode, QString("allow"));
    QCOMPARE(s.WindowState, qint16(0));
}

void tst_Settings::numbers_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 9570.0 << "9570";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("negative") << -48000.0 << "-48000";
    QTest::newRow("fraction") << 7200.5 << "7200.5";
    QTest::newRow("large whole, no exponent") << 1.0e7 << "10000000";
    QTest::newRow("shortest form") << 0.1 << "0.1";
}

void tst_Settings::numbers()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(FormatSettingsNumber(value), text);
}

void tst_Settings::namesMatchWithoutCase()
{
    QTemporaryDir dir;
    QFile file(dir.filePath("HOMEPAGE"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\"http://127.0.0.1/\"\r\n");
    file.close();
    QCOMPARE(AppFilePath(dir.path(), "\\homepage"), dir.filePath("HOMEPAGE"));
    QCOMPARE(AppFilePath(dir.path(), "\\HomePage"), dir.filePath("HOMEPAGE"));
    // No such file yet: the name as given.
    QCOMPARE(AppFilePath(dir.path(), "\\Popupurl"), dir.filePath("Popupurl"));
}

void tst_Settings::twoSpellingsOnDiskAreOneFile()
{
    // Left by a copy from a folder that ignores case, or by hand: both spellings exist. What
    // is set must be what is read.
    QTemporaryDir dir;
    for (const char *name : {"HomePage", "homepage"}) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("\"http://127.0.0.1:9/") + name + "\"\r\n");
    }
    QCOMPARE(AppFilePath(dir.path(), "\\homepage"), AppFilePath(dir.path(), "\\HomePage"));
    QVERIFY(WritePageFile(dir.path(), PageSlot::Home, "http://127.0.0.1:9/set"));
    QCOMPARE(ReadPageFile(dir.path(), PageSlot::Home), QString("http://127.0.0.1:9/set"));
}

void tst_Settings::pageFileWrittenLowerReadMixed_data()
{
    QTest::addColumn<PageSlot>("slot");
    QTest::addColumn<QString>("fileOnDisk");
    QTest::newRow("home") << PageSlot::Home << "homepage";
    QTest::newRow("extra home 2") << PageSlot::Home2 << "homepage2";
    QTest::newRow("extra home 3") << PageSlot::Home3 << "homepage3";
    QTest::newRow("search") << PageSlot::Search << "SearchPage";
}

void tst_Settings::pageFileWrittenLowerReadMixed()
{
    QFETCH(PageSlot, slot);
    QFETCH(QString, fileOnDisk);
    QTemporaryDir dir;
    QCOMPARE(ReadPageFile(dir.path(), slot), QString());
    QVERIFY(WritePageFile(dir.path(), slot, "http://127.0.0.1:9/a page"));
    QFile file(dir.filePath(fileOnDisk));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("\"http://127.0.0.1:9/a page\"\r\n"));
    QCOMPARE(ReadPageFile(dir.path(), slot), QString("http://127.0.0.1:9/a page"));
    // Rewriting replaces the same file; no second file in another case appears.
    QVERIFY(WritePageFile(dir.path(), slot, QString()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {fileOnDisk});
    QCOMPARE(ReadPageFile(dir.path(), slot), QString());
}

void tst_Settings::applicationFolder_data()
{
    QTest::addColumn<bool>("exeWritable");
    QTest::addColumn<QString>("homeVariable");
    QTest::addColumn<QString>("expected");
    QTest::newRow("executable folder") << true << ""
                                       << "/opt/qb";
    QTest::newRow("installed copy") << false << ""
                                    << "/home/me/.local/share/QuorBrowser";
    QTest::newRow("named outright") << true << "/tmp/qb-home/"
                                    << "/tmp/qb-home";
    QTest::newRow("named, installed") << false << "/tmp/qb-home"
                                      << "/tmp/qb-home";
}

void tst_Settings::applicationFolder()
{
    QFETCH(bool, exeWritable);
    QFETCH(QString, homeVariable);
    QFETCH(QString, expected);
    QCOMPARE(ChooseApplicationFolder("/opt/qb", exeWritable, homeVariable, "/home/me/.local/share"),
             expected);
}

void tst_Settings::leftoverSaveNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("leftover");
    QTest::newRow("settings") << "QuorBrowser.cfg.a1B2c3" << true;
    QTest::newRow("another case") << "quorbrowser.CFG.zzzzzz" << true;
    QTest::newRow("favorites") << "Favorites.Q9w8E7" << true;
    QTest::newRow("the file itself") << "QuorBrowser.cfg" << false;
    QTest::newRow("five characters") << "QuorBrowser.cfg.a1B2c" << false;
    QTest::newRow("seven characters") << "QuorBrowser.cfg.a1B2c3d" << false;
    QTest::newRow("not letters") << "QuorBrowser.cfg.a1-2c3" << false;
    QTest::newRow("a file of someone else's") << "notes.txt.a1B2c3" << false;
    QTest::newRow("the lock") << "Favorites.lock" << false;
}

void tst_Settings::leftoverSaveNames()
{
    QFETCH(QString, name);
    QFETCH(bool, leftover);
    QCOMPARE(IsLeftoverSaveName(name, {"\\QuorBrowser.cfg", "\\Favorites", "\\FavName"}), leftover);
}

void tst_Settings::leftoversOfEndedSavesGo()
{
    QTemporaryDir dir;
    const QDateTime now = QDateTime::currentDateTime();
    const auto make = [&](const QString &name, const QDateTime &time) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x");
        f.flush(); // written before the time is set
        QVERIFY(f.setFileTime(time, QFileDevice::FileModificationTime));
    };
    make("QuorBrowser.cfg.old111", now.addSecs(-3600));
    make("QuorBrowser.cfg.new222", now); // another instance's save under way
    make("QuorBrowser.cfg", now.addSecs(-3600));
    make("other.cfg.old333", now.addSecs(-3600));
    QCOMPARE(RemoveLeftoverSaves(dir.path(), {"\\QuorBrowser.cfg"}, now.addSecs(-60)), 1);
    QStringList left = QDir(dir.path()).entryList(QDir::Files);
    left.sort();
    QCOMPARE(left, (QStringList {"QuorBrowser.cfg", "QuorBrowser.cfg.new222", "other.cfg.old333"}));
}

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_Settings.moc"
