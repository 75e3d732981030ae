#include "browser/FirstPage.h"

#include <QtTest>

using Go = FirstPagePlan::Go;
using Marks = FirstPagePlan::Marks;

class tst_FirstPage : public QObject
{
    Q_OBJECT
private slots:
    void decide_data();
    void decide();
};

void tst_FirstPage::decide_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("handoff");
    QTest::addColumn<QString>("startMode");
    QTest::addColumn<int>("go");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("consume");
    QTest::addColumn<int>("marks");

    // A: the command line, unchanged; the hand-off stays pending.
    QTest::newRow("A path with blanks, Blank")
        << "/home/me/My Pages/a b.html"
        << ""
        << "Blank" << int(Go::Address) << "/home/me/My Pages/a b.html" << false
        << int(Marks::Blank);
    QTest::newRow("A quotes and blanks kept, Home")
        << "  \"x y\" "
        << ""
        << "Home" << int(Go::Address) << "  \"x y\" " << false << int(Marks::Home);
    QTest::newRow("A with pending hand-off")
        << "http://127.0.0.1/cmd"
        << "http://127.0.0.1/popup"
        << "" << int(Go::Address) << "http://127.0.0.1/cmd" << false << int(Marks::Keep);
    // B: the hand-off, consumed.
    QTest::newRow("B hand-off, Home")
        << ""
        << "http://127.0.0.1/popup"
        << "Home" << int(Go::Address) << "http://127.0.0.1/popup" << true << int(Marks::Home);
    QTest::newRow("B hand-off, no mode")
        << ""
        << "https://x/"
        << "" << int(Go::Address) << "https://x/" << true << int(Marks::Keep);
    // C: the Start Up preference.
    QTest::newRow("C Blank") << ""
                             << ""
                             << "Blank" << int(Go::Address) << "about:blank" << false
                             << int(Marks::Blank);
    QTest::newRow("C Home") << ""
                            << ""
                            << "Home" << int(Go::HomePage) << "" << false << int(Marks::Home);
    QTest::newRow("C nothing stored") << ""
                                      << ""
                                      << "" << int(Go::Nothing) << "" << false << int(Marks::Keep);
    QTest::newRow("C words compared exactly")
        << ""
        << ""
        << "home" << int(Go::Nothing) << "" << false << int(Marks::Keep);
    QTest::newRow("C trailing blank is another word")
        << ""
        << ""
        << "Blank " << int(Go::Nothing) << "" << false << int(Marks::Keep);
}

void tst_FirstPage::decide()
{
    QFETCH(QString, commandLine);
    QFETCH(QString, handoff);
    QFETCH(QString, startMode);
    QFETCH(int, go);
    QFETCH(QString, address);
    QFETCH(bool, consume);
    QFETCH(int, marks);

    const FirstPagePlan plan = DecideFirstPage(commandLine, handoff, startMode);
    QCOMPARE(int(plan.go), go);
    QCOMPARE(plan.address, address);
    QCOMPARE(plan.consumeHandoff, consume);
    QCOMPARE(int(plan.marks), marks);
}

QTEST_GUILESS_MAIN(tst_FirstPage)
#include "tst_FirstPage.moc"
