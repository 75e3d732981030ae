#include "browser/PopupPolicy.h"

#include <QtTest>

class tst_PopupPolicy : public QObject
{
    Q_OBJECT
private slots:
    void popupModeFromMarks_data();
    void popupModeFromMarks();
    void decide_data();
    void decide();
    void storedWords_data();
    void storedWords();
};

void tst_PopupPolicy::decide_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("status");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("notice");
    QTest::addColumn<QString>("handOff");

    const int cancelAll = int(PopupMode::CancelAll);
    const int parent = int(PopupMode::AllowParent);
    const int all = int(PopupMode::AllowAll);
    QTest::newRow("cancel all, link") << cancelAll << "http://a/" << true << true << "";
    QTest::newRow("cancel all, empty") << cancelAll << "" << true << true << "";
    QTest::newRow("parent, http link") << parent << "http://a/b" << true << false << "http://a/b";
    QTest::newRow("parent, https link") << parent << "https://a/" << true << false << "https://a/";
    QTest::newRow("parent, Done") << parent << "Done" << true << true << "";
    QTest::newRow("parent, empty") << parent << "" << true << true << "";
    QTest::newRow("parent, capitals") << parent << "HTTP://A/" << true << true << "";
    QTest::newRow("parent, Download Stopped") << parent << "Download Stopped" << true << true << "";
    QTest::newRow("parent, blank before") << parent << " http://a/" << true << true << "";
    QTest::newRow("allow all, link") << all << "http://a/" << false << false << "";
    QTest::newRow("allow all, Done") << all << "Done" << false << false << "";
}

void tst_PopupPolicy::decide()
{
    QFETCH(int, mode);
    QFETCH(QString, status);
    QFETCH(bool, cancel);
    QFETCH(bool, notice);
    QFETCH(QString, handOff);
    const NewWindowDecision d = DecideNewWindow(PopupMode(mode), status);
    QCOMPARE(d.cancel, cancel);
    QCOMPARE(d.showNotice, notice);
    QCOMPARE(d.handOff, handOff);
}

void tst_PopupPolicy::storedWords_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("restores");
    QTest::addColumn<int>("mode");
    QTest::newRow("all") << "all" << true << int(PopupMode::CancelAll);
    QTest::newRow("allow") << "allow" << true << int(PopupMode::AllowParent);
    QTest::newRow("allowie") << "allowie" << true << int(PopupMode::AllowAll);
    QTest::newRow("capital") << "Allow" << false << 0;
    QTest::newRow("trailing blank") << "allow " << false << 0;
    QTest::newRow("empty") << "" << false << 0;
}

void tst_PopupPolicy::storedWords()
{
    QFETCH(QString, word);
    QFETCH(bool, restores);
    QFETCH(int, mode);
    PopupMode m = PopupMode::CancelAll;
    QCOMPARE(PopupModeFromWord(word, &m), restores);
    if (restores) {
        QCOMPARE(int(m), mode);
        QCOMPARE(PopupModeWord(m), word);
    }
}

void tst_PopupPolicy::popupModeFromMarks_data()
{
    QTest::addColumn<bool>("cancelAll");
    QTest::addColumn<bool>("allowParent");
    QTest::addColumn<bool>("allowAll");
    QTest::addColumn<int>("mode"); // -1: none
    QTest::newRow("cancel all") << true << false << false << int(PopupMode::CancelAll);
    QTest::newRow("allow parent") << false << true << false << int(PopupMode::AllowParent);
    QTest::newRow("allow all") << false << false << true << int(PopupMode::AllowAll);
    QTest::newRow("later mark wins") << true << true << false << int(PopupMode::AllowParent);
    QTest::newRow("last mark wins") << true << true << true << int(PopupMode::AllowAll);
    QTest::newRow("no mark") << false << false << false << -1;
}

void tst_PopupPolicy::popupModeFromMarks()
{
    QFETCH(bool, cancelAll);
    QFETCH(bool, allowParent);
    QFETCH(bool, allowAll);
    QFETCH(int, mode);
    const std::optional<PopupMode> got = PopupModeFromMarks(cancelAll, allowParent, allowAll);
    QCOMPARE(got ? int(*got) : -1, mode);
}

QTEST_GUILESS_MAIN(tst_PopupPolicy)
#include "tst_PopupPolicy.moc"
