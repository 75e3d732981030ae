#include "BrowserHarness.h"
#include "TestFiles.h"
#include "favorites/frmDelFav.h"

#include <QComboBox>
#include <QListWidget>
#include <QToolBar>
#include <QtTest>

class tst_frmBrowser_Favorites : public QObject
{
    Q_OBJECT
private slots:
    void openingThePopupChoosesNothing();
    void choosing_data();
    void choosing();
    void popupCloses_data();
    void popupCloses();
    void addCurrentPage_data();
    void addCurrentPage();
    void editorIsOneWindowAndThePopupFollowsIt();
    void longEntriesShownShortAndChosenWhole();
    void editorOpenedFirstFillsThePopup();
    void addCurrentPageTakesOverAnEmptyLock();
    void changeKilledBetweenTheFilesIsFinishedAtStart();
};

namespace {

// A window with three favorites, the second without a name, and the pop-up opened by a click
// on the "Favorites" label, as a person opens it.
void StartWithFavorites(Harness &h)
{
    WriteAll(
        h.path("Favorites"),
        "\"http://127.0.0.1:9/a\"\r\n\"http://127.0.0.1:9/b\"\r\n\"http://127.0.0.1:9/c\"\r\n");
    WriteAll(h.path("FavName"), "\"Alpha, first\"\r\n\"\"\r\n\"Charlie\"\r\n");
    h.start();
    QTRY_VERIFY(h.w->isActiveWindow());
    QTest::mouseClick(h.w->lbladd, Qt::LeftButton);
    QVERIFY(h.w->List1->isVisible());
}

} // namespace

void tst_frmBrowser_Favorites::openingThePopupChoosesNothing()
{
    Harness h;
    StartWithFavorites(h);
    QCOMPARE(h.w->List1->count(), 3);
    QCOMPARE(h.w->List1->item(0)->text(), QString("Alpha, first"));
    QCOMPARE(QApplication::focusWidget(), h.w->List1);
    QCOMPARE(h.navigations(), QStringList());
}

void tst_frmBrowser_Favorites::choosing_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("address");
    QTest::newRow("click on a name") << "click 2"
                                     << "http://127.0.0.1:9/c";
    QTest::newRow("click on the empty name") << "click 1"
                                             << "http://127.0.0.1:9/b";
    QTest::newRow("arrow key from the first") << "key"
                                              << "http://127.0.0.1:9/b";
}

void tst_frmBrowser_Favorites::choosing()
{
    QFETCH(QString, how);
    QFETCH(QString, address);
    Harness h;
    StartWithFavorites(h);
    if (how == "key") {
        h.w->List1->setCurrentRow(0); // where the list stands once it has the focus
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    } else {
        const int row = how.section(' ', 1).toInt();
        const QRect item = h.w->List1->visualItemRect(h.w->List1->item(row));
        QTest::mouseClick(h.w->List1->viewport(), Qt::LeftButton, {}, item.center());
    }
    QCOMPARE(h.navigations(), QStringList {"Navigate:" + address});
    QVERIFY(h.w->List1->isHidden());
}

void tst_frmBrowser_Favorites::popupCloses_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("label clicked again") << "label";
    QTest::newRow("focus elsewhere") << "focus";
    QTest::newRow("typing in the address box") << "type";
    QTest::newRow("a toolbar key") << "toolbar";
}

void tst_frmBrowser_Favorites::popupCloses()
{
    QFETCH(QString, how);
    Harness h;
    StartWithFavorites(h);
    if (how == "label") {
        QTest::mouseClick(h.w->lbladd, Qt::LeftButton);
    } else if (how == "focus") {
        h.w->cboAddress->setFocus(Qt::MouseFocusReason);
    } else if (how == "type") {
        h.w->cboAddress->setEditText("127");
    } else {
        frmBrowser::Button(h.w->tbToolBar, "Refresh")->trigger();
    }
    QVERIFY(h.w->List1->isHidden());
    QCOMPARE(h.navigations(), QStringList());
    // The small toolbar's "Favorites" key always opens it.
    h.w->mnuFullScreen_Click();
    frmBrowser::Button(h.w->Toolbar1, "Favorites")->trigger();
    QVERIFY(h.w->List1->isVisible());
}

void tst_frmBrowser_Favorites::addCurrentPage_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("menu") << "menu";
    QTest::newRow("main toolbar") << "main";
    QTest::newRow("full-screen toolbar") << "full";
}

void tst_frmBrowser_Favorites::addCurrentPage()
{
    QFETCH(QString, how);
    Harness h;
    h.start();
    auto add = [&] {
        if (how == "menu")
            h.w->mnuAddToFav->trigger();
        else if (how == "main")
            frmBrowser::Button(h.w->tbToolBar, "Add")->trigger();
        else
            frmBrowser::Button(h.w->Toolbar1, "Add")->trigger();
    };
    // No page yet: nothing is written, nobody is told.
    add();
    QVERIFY(!QFile::exists(h.path("Favorites")));
    QVERIFY(!QFile::exists(h.path("FavName")));
    h.view->SetLocation("http://127.0.0.1:9/p", "Title, with comma");
    add();
    add();
    QCOMPARE(ReadAll(h.path("Favorites")),
             QByteArray("\"http://127.0.0.1:9/p\"\r\n\"http://127.0.0.1:9/p\"\r\n"));
    QCOMPARE(ReadAll(h.path("FavName")),
             QByteArray("\"Title, with comma\"\r\n\"Title, with comma\"\r\n"));
    QCOMPARE(h.w->List1->count(), 2); // the lists follow at once
    QCOMPARE(h.w->List1->item(1)->text(), QString("Title, with comma"));
    QVERIFY(h.dialogs.messages.isEmpty());
}

void tst_frmBrowser_Favorites::editorIsOneWindowAndThePopupFollowsIt()
{
    Harness h;
    StartWithFavorites(h);
    h.w->mnuEditFav->trigger();
    QVERIFY(h.w->List1->isHidden());
    QPointer<frmDelFav> editor = h.w->DelFavWindow;
    QVERIFY(editor && editor->isVisible());
    h.w->mnuFullScreen_Click();
    frmBrowser::Button(h.w->Toolbar1, "Edit")->trigger();
    QCOMPARE(h.w->DelFavWindow.data(), editor.data());
    // Deleting the first favorite takes it out of the pop-up at once; the others keep their
    // addresses.
    editor->List1->setCurrentRow(0);
    editor->List1_Click();
    editor->cmdDelete_Click();
    QCOMPARE(h.w->List1->count(), 2);
    QCOMPARE(h.w->cboBookMarks->itemText(0), QString("http://127.0.0.1:9/b"));
    // Closing the main window closes the editor, which saves.
    h.w->close();
    QTRY_VERIFY(!editor);
    QCOMPARE(ReadAll(h.path("Favorites")),
             QByteArray("\"http://127.0.0.1:9/b\"\r\n\"http://127.0.0.1:9/c\"\r\n"));
    QCOMPARE(ReadAll(h.path("FavName")), QByteArray("\"\"\r\n\"Charlie\"\r\n"));
}

void tst_frmBrowser_Favorites::editorOpenedFirstFillsThePopup()
{
    // The editor opened before the start's own read of the favorites: the pop-up has them.
    Harness h;
    WriteAll(h.path("Favorites"), "\"http://127.0.0.1:9/a\"\r\n\"http://127.0.0.1:9/b\"\r\n");
    WriteAll(h.path("FavName"), "\"Alpha\"\r\n\"Bravo\"\r\n");
    h.start();
    h.w->mnuEditFav->trigger();
    QCOMPARE(h.w->List1->count(), 2);
    QCOMPARE(h.w->List1->item(1)->text(), QString("Bravo"));
    QCOMPARE(h.w->cboBookMarks->count(), 2);
    QCOMPARE(h.w->cboBookMarks->itemText(1), QString("http://127.0.0.1:9/b"));
}

void tst_frmBrowser_Favorites::longEntriesShownShortAndChosenWhole()
{
    Harness h;
    const QByteArray longAddress = "http://127.0.0.1:9/" + QByteArray(1 << 20, 'x') + "/end";
    const QByteArray longName = "Long " + QByteArray(1 << 20, 'n');
    WriteAll(h.path("Favorites"),
             "\"http://127.0.0.1:9/a\"\r\n\"" + longAddress + "\"\r\n\"http://127.0.0.1:9/c\"\r\n");
    WriteAll(h.path("FavName"), "\"Alpha\"\r\n\"" + longName + "\"\r\n\"Charlie\"\r\n");
    h.start();
    QTRY_VERIFY(h.w->isActiveWindow());
    QTest::mouseClick(h.w->lbladd, Qt::LeftButton);
    QVERIFY(h.w->List1->isVisible());

    QCOMPARE(h.w->List1->item(1)->text(), QString::fromLatin1(longName.left(200)) + QChar(0x2026));
    QCOMPARE(h.w->cboBookMarks->itemText(1),
             QString::fromLatin1(longAddress.left(200)) + QChar(0x2026));
    const QRect item = h.w->List1->visualItemRect(h.w->List1->item(1));
    QTest::mouseClick(h.w->List1->viewport(), Qt::LeftButton, {}, item.center());
    QVERIFY(h.navigations() == QStringList {"Navigate:" + QString::fromLatin1(longAddress)});

    // Deleted in the editor, it leaves the main window's lists: it is found by its whole texts.
    h.w->mnuEditFav->trigger();
    QPointer<frmDelFav> editor = h.w->DelFavWindow;
    QVERIFY(editor);
    editor->List1->setCurrentRow(1);
    editor->List1_Click();
    editor->cmdDelete_Click();
    QCOMPARE(h.w->List1->count(), 2);
    QCOMPARE(h.w->List1->item(1)->text(), QString("Charlie"));
    QCOMPARE(h.w->cboBookMarks->itemText(1), QString("http://127.0.0.1:9/c"));
}

void tst_frmBrowser_Favorites::addCurrentPageTakesOverAnEmptyLock()
{
    Harness h;
    // Left by an instance that crashed between making the lock file and writing into it.
    WriteAll(h.path("Favorites.lock"), "");
    h.start();
    h.view->SetLocation("http://127.0.0.1:9/p", "Page");
    h.w->mnuAddToFav->trigger();
    QVERIFY(h.dialogs.messages.isEmpty());
    QCOMPARE(ReadAll(h.path("Favorites")), QByteArray("\"http://127.0.0.1:9/p\"\r\n"));
    QCOMPARE(ReadAll(h.path("FavName")), QByteArray("\"Page\"\r\n"));
    QVERIFY(!QFile::exists(h.path("Favorites.lock")));
}

void tst_frmBrowser_Favorites::changeKilledBetweenTheFilesIsFinishedAtStart()
{
    Harness h;
    // What a kill leaves between moving the new addresses and the new names into place: the
    // addresses already have the fourth favorite, the names not yet.
    const QByteArray names = "\"Alpha\"\r\n\"Bravo\"\r\n\"Charlie\"\r\n";
    WriteAll(h.path("Favorites"),
             "\"http://127.0.0.1:9/a\"\r\n\"http://127.0.0.1:9/b\"\r\n\"http://127.0.0.1:9/c\"\r\n"
             "\"http://127.0.0.1:9/d\"\r\n");
    WriteAll(h.path("FavName"), names);
    WriteAll(h.path("FavName.new"), names + "\"Delta\"\r\n");
    WriteAll(h.path("Favorites.journal"), "\"Favorites\"\r\n\"FavName\"\r\n");
    WriteAll(h.path("Favorites.lock"), ""); // and the lock it held
    h.start();
    QTRY_VERIFY(h.w->isActiveWindow());
    QTest::mouseClick(h.w->lbladd, Qt::LeftButton);

    QCOMPARE(h.w->List1->count(), 4);
    QCOMPARE(h.w->List1->item(3)->text(), QString("Delta"));
    const QRect item = h.w->List1->visualItemRect(h.w->List1->item(3));
    QTest::mouseClick(h.w->List1->viewport(), Qt::LeftButton, {}, item.center());
    QCOMPARE(h.navigations(), QStringList {"Navigate:http://127.0.0.1:9/d"});
    QCOMPARE(ReadAll(h.path("FavName")), names + "\"Delta\"\r\n");
    QVERIFY(!QFile::exists(h.path("FavName.new")));
    QVERIFY(!QFile::exists(h.path("Favorites.journal")));
}

QTEST_MAIN(tst_frmBrowser_Favorites)
#include "tst_frmBrowser_Favorites.moc"
