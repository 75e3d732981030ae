#include "browser/Toolbars.h"

#include <QtTest>

Q_DECLARE_METATYPE(Toolbar)
Q_DECLARE_METATYPE(ToolbarCommand)

class tst_Toolbars : public QObject
{
    Q_OBJECT
private slots:
    void commandForKey_data();
    void commandForKey();
    void everyKeyOfABarRunsSomething_data();
    void everyKeyOfABarRunsSomething();
};

void tst_Toolbars::commandForKey_data()
{
    QTest::addColumn<Toolbar>("bar");
    QTest::addColumn<QString>("key");
    QTest::addColumn<ToolbarCommand>("command");
    using C = ToolbarCommand;
    const Toolbar M = Toolbar::Main, F = Toolbar::FullScreen;
    QTest::newRow("Back, main") << M << "Back" << C::Back;
    QTest::newRow("Back, full screen") << F << "Back" << C::Back;
    QTest::newRow("Print, both") << F << "Print" << C::Print;
    QTest::newRow("Home2") << M << "Home2" << C::Home2;
    QTest::newRow("Search") << F << "Search" << C::Search;
    QTest::newRow("Stop") << M << "Stop" << C::Stop;
    // The one key that does different things on the two bars.
    QTest::newRow("IP, main: the label") << M << "IP" << C::ToggleAddressLabel;
    QTest::newRow("IP, full screen: the box") << F << "IP" << C::AddressToBox;
    QTest::newRow("Add, main") << M << "Add" << C::AddCurrentPage;
    QTest::newRow("Add, full screen") << F << "Add" << C::AddCurrentPage;
    QTest::newRow("Full, main") << M << "Full" << C::FullScreen;
    QTest::newRow("View, full screen") << F << "View" << C::NormalView;
    QTest::newRow("Favorites, full screen") << F << "Favorites" << C::ShowFavorites;
    QTest::newRow("Edit, full screen") << F << "Edit" << C::EditFavorites;
    QTest::newRow("Open, full screen") << F << "Open" << C::OpenFile;
    // Keys a bar does not have, and keys compared exactly.
    QTest::newRow("Full, full screen") << F << "Full" << C::None;
    QTest::newRow("View, main") << M << "View" << C::None;
    QTest::newRow("Open, main") << M << "Open" << C::None;
    QTest::newRow("lower case") << M << "back" << C::None;
    QTest::newRow("separator") << M << "" << C::None;
}

void tst_Toolbars::commandForKey()
{
    QFETCH(Toolbar, bar);
    QFETCH(QString, key);
    QFETCH(ToolbarCommand, command);
    QCOMPARE(CommandForKey(bar, key), command);
}

void tst_Toolbars::everyKeyOfABarRunsSomething_data()
{
    QTest::addColumn<Toolbar>("bar");
    QTest::newRow("main") << Toolbar::Main;
    QTest::newRow("full screen") << Toolbar::FullScreen;
}

void tst_Toolbars::everyKeyOfABarRunsSomething()
{
    QFETCH(Toolbar, bar);
    for (const ToolbarButton &b : ToolbarButtons(bar))
        if (b.key)
            QVERIFY2(CommandForKey(bar, QLatin1String(b.key)) != ToolbarCommand::None, b.key);
}

QTEST_GUILESS_MAIN(tst_Toolbars)
#include "tst_Toolbars.moc"
