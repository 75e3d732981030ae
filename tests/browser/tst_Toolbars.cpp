#include "browser/Toolbars.h"

#include "browser/frmBrowser.h"

#include <QSet>
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
    void keysOfABarAreFoundByKeyAlone_data();
    void keysOfABarAreFoundByKeyAlone();
};

void tst_Toolbars::commandForKey_data()
{
    QTest::addColumn<Toolbar>("bar");
    QTest::addColumn<QString>("key");
    QTest::addColumn<ToolbarCommand>("command");
    using C = frmBrowser;
    const ToolbarCommand None = nullptr;
    const Toolbar M = Toolbar::Main, F = Toolbar::FullScreen;
    QTest::newRow("Back, main") << M << "Back" << &C::GoBackKey;
    QTest::newRow("Back, full screen") << F << "Back" << &C::GoBackKey;
    QTest::newRow("Print, both") << F << "Print" << &C::mnuPrint_Click;
    QTest::newRow("Home2") << M << "Home2" << &C::mnugotohome2_Click;
    QTest::newRow("Search") << F << "Search" << &C::mnuGotoSearch_Click;
    QTest::newRow("Stop") << M << "Stop" << &C::StopButton;
    // The one key that does different things on the two bars.
    QTest::newRow("IP, main: the label") << M << "IP" << &C::ToggleIPAddressLabel;
    QTest::newRow("IP, full screen: the box") << F << "IP" << &C::IPAddressToBox;
    QTest::newRow("Add, main") << M << "Add" << &C::mnuAddToFav_Click;
    QTest::newRow("Add, full screen") << F << "Add" << &C::mnuAddToFav_Click;
    QTest::newRow("Full, main") << M << "Full" << &C::mnuFullScreen_Click;
    QTest::newRow("View, full screen") << F << "View" << &C::NormalView;
    QTest::newRow("Favorites, full screen") << F << "Favorites" << &C::ShowFavorites;
    QTest::newRow("Edit, full screen") << F << "Edit" << &C::mnuEditFav_Click;
    QTest::newRow("Open, full screen") << F << "Open" << &C::mnuOpen_Click;
    // Keys a bar does not have, and keys compared exactly.
    QTest::newRow("Full, full screen") << F << "Full" << None;
    QTest::newRow("View, main") << M << "View" << None;
    QTest::newRow("Open, main") << M << "Open" << None;
    QTest::newRow("lower case") << M << "back" << None;
    QTest::newRow("separator") << M << "" << None;
}

void tst_Toolbars::commandForKey()
{
    QFETCH(Toolbar, bar);
    QFETCH(QString, key);
    QFETCH(ToolbarCommand, command);
    QVERIFY(CommandForKey(bar, key) == command);
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
    for (const ToolbarRow &row : ToolbarRows(bar))
        if (row.key)
            QVERIFY2(CommandForKey(bar, QLatin1String(row.key)) != nullptr, row.key);
}

void tst_Toolbars::keysOfABarAreFoundByKeyAlone_data()
{
    everyKeyOfABarRunsSomething_data();
}

void tst_Toolbars::keysOfABarAreFoundByKeyAlone()
{
    // The window finds a key by its name: two keys of a bar with one name would make the second
    // one unreachable; a key without a picture or tooltip would show or say nothing.
    QFETCH(Toolbar, bar);
    QSet<QString> keys;
    for (const ToolbarRow &row : ToolbarRows(bar)) {
        if (!row.key) {
            QVERIFY(!row.command);
            continue;
        }
        QVERIFY2(!keys.contains(QLatin1String(row.key)), row.key);
        keys.insert(QLatin1String(row.key));
        QVERIFY2(*row.picture && *row.tooltip, row.key);
    }
}

QTEST_GUILESS_MAIN(tst_Toolbars)
#include "tst_Toolbars.moc"
