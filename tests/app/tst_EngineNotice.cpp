#include "TestFiles.h"
#include "app/EngineNotice.h"

#include <QTemporaryDir>
#include <QtTest>

Q_DECLARE_METATYPE(EngineVersion)

// The word about old security fixes: when the engine's fixes are old, what is said, and the file
// that remembers which engine was told about.
class tst_EngineNotice : public QObject
{
    Q_OBJECT
private slots:
    void ChromiumMajor_data();
    void ChromiumMajor();
    void ChromiumReleaseMonth_data();
    void ChromiumReleaseMonth();
    void releaseMonthsNeverGoBack();
    void YearPeriod_data();
    void YearPeriod();
    void OldEngineNoticeText_data();
    void OldEngineNoticeText();
    void ShouldTellOldEngine_data();
    void ShouldTellOldEngine();
    void noticeFileAsWritten();
    void ParseEngineNotice_data();
    void ParseEngineNotice();
    void noticeFileInTheFolder_data();
    void noticeFileInTheFolder();
};

namespace {

// Debian 12's engine.
const EngineVersion Bookworm {"6.4.2", "102.0.5005.177", "108.0.5359.94"};

EngineVersion WithSecurityPatch(const QString &version)
{
    EngineVersion e = Bookworm;
    e.chromiumSecurityPatch = version;
    return e;
}

} // namespace

void tst_EngineNotice::ChromiumMajor_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("major");
    QTest::newRow("four parts") << "108.0.5359.94" << 108;
    QTest::newRow("major alone") << "122" << 122;
    QTest::newRow("two parts") << "99.1" << 99;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("words") << "unknown" << 0;
    QTest::newRow("a letter among the numbers") << "108.0.x" << 0;
    QTest::newRow("no number between two dots") << "108..1" << 0;
    QTest::newRow("a trailing dot") << "108." << 0;
    QTest::newRow("a blank before") << " 108.0" << 0;
    QTest::newRow("a sign") << "-108.0" << 0;
    QTest::newRow("more digits than any version") << "1234567.0" << 0;
}

void tst_EngineNotice::ChromiumMajor()
{
    QFETCH(QString, version);
    QFETCH(int, major);
    QCOMPARE(::ChromiumMajor(version), major);
}

void tst_EngineNotice::ChromiumReleaseMonth_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<QDate>("month");
    QTest::newRow("before the table") << 93 << QDate();
    QTest::newRow("no version") << 0 << QDate();
    QTest::newRow("the first row") << 94 << QDate(2021, 9, 1);
    QTest::newRow("two in one month") << 100 << QDate(2022, 3, 1);
    QTest::newRow("Debian 12's fixes") << 108 << QDate(2022, 11, 1);
    QTest::newRow("a month without a release before it") << 109 << QDate(2023, 1, 1);
    QTest::newRow("Debian 13's engine") << 122 << QDate(2024, 2, 1);
    QTest::newRow("the last row") << 141 << QDate(2025, 9, 1);
    // Four weeks a version on from the middle of the last row's month.
    QTest::newRow("one past the table") << 142 << QDate(2025, 10, 1);
    QTest::newRow("two past") << 143 << QDate(2025, 11, 1);
    QTest::newRow("thirteen past, a year on") << 154 << QDate(2026, 9, 1);
    QTest::newRow("fourteen past") << 155 << QDate(2026, 10, 1);
}

void tst_EngineNotice::ChromiumReleaseMonth()
{
    QFETCH(int, major);
    QFETCH(QDate, month);
    QCOMPARE(::ChromiumReleaseMonth(major), month);
}

void tst_EngineNotice::releaseMonthsNeverGoBack()
{
    // A later version never came out before an earlier one, in the table or past it, and no
    // gap between two versions is longer than a quarter.
    for (int major = FirstTabledChromium; major < LastTabledChromium + 40; ++major) {
        const QDate here = ::ChromiumReleaseMonth(major);
        const QDate next = ::ChromiumReleaseMonth(major + 1);
        QVERIFY2(here.isValid() && here.day() == 1, qPrintable(QString::number(major)));
        QVERIFY2(here <= next && next <= here.addMonths(3), qPrintable(QString::number(major)));
    }
}

void tst_EngineNotice::YearPeriod_data()
{
    QTest::addColumn<QDate>("month");
    QTest::addColumn<QString>("period");
    QTest::newRow("January") << QDate(2022, 1, 1) << "early 2022";
    QTest::newRow("April") << QDate(2022, 4, 1) << "early 2022";
    QTest::newRow("May") << QDate(2023, 5, 1) << "mid 2023";
    QTest::newRow("August") << QDate(2023, 8, 1) << "mid 2023";
    QTest::newRow("September") << QDate(2024, 9, 1) << "late 2024";
    QTest::newRow("December") << QDate(2024, 12, 1) << "late 2024";
    QTest::newRow("no date") << QDate() << "";
}

void tst_EngineNotice::YearPeriod()
{
    QFETCH(QDate, month);
    QFETCH(QString, period);
    QCOMPARE(::YearPeriod(month), period);
}

void tst_EngineNotice::OldEngineNoticeText_data()
{
    QTest::addColumn<QString>("securityPatch");
    QTest::addColumn<QString>("text");
    const QString words = "This web engine's security fixes end with Chromium %1 (%2). Pages can "
                          "use known holes. See Help > About for details.";
    QTest::newRow("Debian 12") << "108.0.5359.94" << words.arg("108", "late 2022");
    QTest::newRow("mid") << "102.0.5005.177" << words.arg("102", "mid 2022");
    QTest::newRow("early") << "97.0.4692.99" << words.arg("97", "early 2022");
    QTest::newRow("past the table") << "143.0.1" << words.arg("143", "late 2025");
    QTest::newRow("before the table: the first row as a bound")
        << "90.0.4430.212" << words.arg("90", "before late 2021");
    QTest::newRow("not a version") << "unknown"
                                   << "";
    QTest::newRow("none") << ""
                          << "";
}

void tst_EngineNotice::OldEngineNoticeText()
{
    QFETCH(QString, securityPatch);
    QFETCH(QString, text);
    QCOMPARE(::OldEngineNoticeText(WithSecurityPatch(securityPatch)), text);
}

void tst_EngineNotice::ShouldTellOldEngine_data()
{
    QTest::addColumn<QString>("securityPatch");
    QTest::addColumn<bool>("toldBefore");
    QTest::addColumn<EngineVersion>("told");
    QTest::addColumn<QDate>("today");
    QTest::addColumn<bool>("tell");

    const QDate release(2026, 12, 10);
    const EngineVersion none;
    QTest::newRow("Debian 12, first start") << "108.0.5359.94" << false << none << release << true;
    QTest::newRow("Debian 12, told before")
        << "108.0.5359.94" << true << Bookworm << release << false;
    QTest::newRow("told of an engine with other fixes")
        << "108.0.5359.94" << true << WithSecurityPatch("108.0.5359.71") << release << true;
    EngineVersion otherQt = Bookworm;
    otherQt.qtWebEngine = "6.4.3";
    QTest::newRow("told of another Qt WebEngine on the same Chromium")
        << "108.0.5359.94" << true << otherQt << release << true;
    // 108 came out in November 2022: the whole month lies a year back from December 2023.
    QTest::newRow("108, the last day of its month a year on")
        << "108.0.5359.94" << false << none << QDate(2023, 11, 30) << false;
    QTest::newRow("108, the day after")
        << "108.0.5359.94" << false << none << QDate(2023, 12, 1) << true;
    QTest::newRow("141, within its year")
        << "141.0.7390.54" << false << none << QDate(2026, 9, 30) << false;
    QTest::newRow("141, past its year")
        << "141.0.7390.54" << false << none << QDate(2026, 10, 1) << true;
    // 150 is extrapolated to May 2026.
    QTest::newRow("past the table, within its year")
        << "150.0.1" << false << none << QDate(2027, 5, 31) << false;
    QTest::newRow("past the table, past its year")
        << "150.0.1" << false << none << QDate(2027, 6, 1) << true;
    QTest::newRow("before the table, whatever the day")
        << "90.0.4430.212" << false << none << QDate(2021, 6, 1) << true;
    QTest::newRow("not a version") << "unknown" << false << none << release << false;
    QTest::newRow("no version") << "" << false << none << release << false;
}

void tst_EngineNotice::ShouldTellOldEngine()
{
    QFETCH(QString, securityPatch);
    QFETCH(bool, toldBefore);
    QFETCH(EngineVersion, told);
    QFETCH(QDate, today);
    QFETCH(bool, tell);
    const std::optional<EngineVersion> remembered
        = toldBefore ? std::optional<EngineVersion>(told) : std::nullopt;
    QCOMPARE(::ShouldTellOldEngine(WithSecurityPatch(securityPatch), remembered, today), tell);
}

void tst_EngineNotice::noticeFileAsWritten()
{
    QCOMPARE(SerializeEngineNotice(Bookworm),
             QByteArray("\"6.4.2\"\r\n\"102.0.5005.177\"\r\n\"108.0.5359.94\"\r\n"));
    QCOMPARE(::ParseEngineNotice(SerializeEngineNotice(Bookworm)), std::optional(Bookworm));
}

void tst_EngineNotice::ParseEngineNotice_data()
{
    QTest::addColumn<QByteArray>("bytes");
    // Whether they name Debian 12's engine; a damaged file names none, or another engine.
    QTest::addColumn<bool>("named");
    QTest::newRow("LF line ends") << QByteArray(
        "\"6.4.2\"\n\"102.0.5005.177\"\n\"108.0.5359.94\"\n")
                                  << true;
    QTest::newRow("no quotes, no last line end")
        << QByteArray("6.4.2\r\n102.0.5005.177\r\n108.0.5359.94") << true;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("two fields") << QByteArray("\"6.4.2\"\r\n\"102.0.5005.177\"\r\n") << false;
    QTest::newRow("four fields") << QByteArray(
        "\"6.4.2\"\r\n\"102.0.5005.177\"\r\n\"108.0.5359.94\"\r\n\"x\"\r\n")
                                 << false;
    QTest::newRow("an empty field")
        << QByteArray("\"6.4.2\"\r\n\"\"\r\n\"108.0.5359.94\"\r\n") << false;
    QTest::newRow("cut short") << QByteArray("\"6.4.2\"\r\n\"102.0.5005.177\"\r\n\"10") << false;
    QTest::newRow("zero bytes") << QByteArray(64, '\0') << false;
    QTest::newRow("a settings file") << QByteArray("21127OCT99\r\n0\r\nall\r\nHome\r\n") << false;
}

void tst_EngineNotice::ParseEngineNotice()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, named);
    QCOMPARE(::ParseEngineNotice(bytes) == Bookworm, named);
}

void tst_EngineNotice::noticeFileInTheFolder_data()
{
    QTest::addColumn<QString>("name"); // the file on disk before; empty: none
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("read");
    const QByteArray written = SerializeEngineNotice(Bookworm);
    QTest::newRow("none") << "" << QByteArray() << false;
    QTest::newRow("as written") << "EngineNotice" << written << true;
    QTest::newRow("its name in another case") << "enginenotice" << written << true;
    QTest::newRow("damaged") << "EngineNotice" << QByteArray("\"6.4.2\"\r\n") << false;
    QTest::newRow("far too long for three versions")
        << "EngineNotice" << written + QByteArray(5000, ' ') << false;
}

void tst_EngineNotice::noticeFileInTheFolder()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, read);
    QTemporaryDir dir;
    if (!name.isEmpty())
        WriteAll(dir.filePath(name), bytes);
    QCOMPARE(ReadEngineNotice(dir.path()).has_value(), read);

    // Written whole over whatever was there, under the name that was there, and read back.
    const EngineVersion newer {"6.8.2", "122.0.6261.171", "133.0.6943.141"};
    QVERIFY(WriteEngineNotice(dir.path(), newer));
    QCOMPARE(ReadEngineNotice(dir.path()), std::optional(newer));
    const QString file = dir.filePath(name.isEmpty() ? QString("EngineNotice") : name);
    QCOMPARE(ReadAll(file), SerializeEngineNotice(newer));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {QFileInfo(file).fileName()});

    // A folder that cannot be made: nothing written, nothing read.
    const QString blocked = dir.filePath(QFileInfo(file).fileName() + "/app");
    QVERIFY(!WriteEngineNotice(blocked, newer));
    QVERIFY(!ReadEngineNotice(blocked));
}

QTEST_GUILESS_MAIN(tst_EngineNotice)
#include "tst_EngineNotice.moc"
