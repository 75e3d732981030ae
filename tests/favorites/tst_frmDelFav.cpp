#include "FakeUserDialogs.h"
#include "TestFiles.h"
#include "favorites/FavoritesEdit.h"
#include "favorites/FavoritesFiles.h"
#include "favorites/frmDelFav.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <cmath>
#include <memory>

class tst_frmDelFav : public QObject
{
    Q_OBJECT
private slots:
    void controls_data();
    void controls();
    void window();
    void tabOrder_data();
    void tabOrder();
    void commands_data();
    void commands();
    void keyPressEnablesAddPasteDoesNot_data();
    void keyPressEnablesAddPasteDoesNot();
    void closingSavesThenReloads_data();
    void closingSavesThenReloads();
    void doneWithoutFilesCreatesTwoEmptyFiles();
    void favoriteAddedWhileOpenSurvives();
    void deleteTakesTheFavoriteOutOfTheMainWindow();
    void writeFailureKeepsTheWindowOpen_data();
    void writeFailureKeepsTheWindowOpen();
    void longEntriesShownShortAndKeptWhole_data();
    void longEntriesShownShortAndKeptWhole();
};

namespace {

QByteArray Lines(const QString &spaced)
{
    QByteArray bytes;
    for (const QString &e : spaced.split(' ', Qt::SkipEmptyParts))
        bytes += '"' + e.toLatin1() + "\"\r\n";
    return bytes;
}

// A folder with the favorites files, an editor on it, and what the editor called back.
struct Editor
{
    explicit Editor(const QString &addresses = "a b c", const QString &names = "A B C")
    {
        if (!addresses.isNull())
            WriteAll(dir.filePath("Favorites"), Lines(addresses));
        if (!names.isNull())
            WriteAll(dir.filePath("FavName"), Lines(names));
        open();
    }
    void open()
    {
        w = std::make_unique<frmDelFav>(
            dir.path(), &dialogs,
            [this](const FavoritesPair &saved) {
                // The files must already hold what the main window is given, as it reads them.
                const FavoritesPair read = ReadFavorites(dir.path());
                QVERIFY(saved.addresses == read.addresses);
                QVERIFY(saved.names == read.names);
                reloadedFrom << ReadAll(dir.filePath("Favorites")) + "|"
                        + ReadAll(dir.filePath("FavName"));
            },
            [this](const FavoriteText &a, const FavoriteText &n) {
                removed << a.text() + "|" + n.text();
            });
    }
    // Shown and given the focus, as a person's click on it does.
    void show()
    {
        w->show();
        w->activateWindow();
    }
    QByteArray favorites() const { return ReadAll(dir.filePath("Favorites")); }
    QByteArray names() const { return ReadAll(dir.filePath("FavName")); }

    QTemporaryDir dir;
    FakeUserDialogs dialogs;
    QList<QByteArray> reloadedFrom;
    QStringList removed;
    std::unique_ptr<frmDelFav> w;
};

double TwipsPerPixel()
{
    return 1440.0 / QGuiApplication::primaryScreen()->logicalDotsPerInchX();
}

int Px(int twips)
{
    return int(std::lround(twips / TwipsPerPixel()));
}

QString Items(const QListWidget *list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items.join(' ');
}

int SelectedRow(const QListWidget *list)
{
    const QList<QListWidgetItem *> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.first());
}

QString Buttons(const frmDelFav &w)
{
    return QString(w.cmdDelete->isEnabled() ? "D" : "") + (w.cmdChange->isEnabled() ? "U" : "")
        + (w.cmdAdd->isEnabled() ? "A" : "");
}

void ClickRow(QListWidget *list, int row)
{
    QVERIFY(row < list->count());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

// Clicks into a box, selects its text and types over it, as a person does.
void TypeInto(QLineEdit *box, const QString &text)
{
    QTest::mouseClick(box, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), box);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), text);
}

// Steps of a person at the window: "click List2 1", "type txtFavname X", "press cmdAdd".
void Run(frmDelFav &w, const QString &script)
{
    for (const QString &step : script.split(';', Qt::SkipEmptyParts)) {
        const QStringList words = step.trimmed().split(' ');
        QWidget *target = w.findChild<QWidget *>(words.value(1));
        QVERIFY2(target, qPrintable(step));
        if (words[0] == "click")
            ClickRow(qobject_cast<QListWidget *>(target), words.value(2).toInt());
        else if (words[0] == "type")
            TypeInto(qobject_cast<QLineEdit *>(target), words.value(2));
        else if (words[0] == "press")
            QTest::mouseClick(target, Qt::LeftButton);
        else
            QFAIL(qPrintable("unknown step " + step));
    }
}

// How a file is made unwritable while root: a folder in its place, or a link into /proc, which
// reads fine but where nothing can be written next to its target.
void BlockFile(const QString &path, const QString &how)
{
    QVERIFY(QFile::remove(path));
    if (how == "folder") {
        QVERIFY(QDir().mkpath(path));
    } else {
        if (!QFileInfo::exists("/proc/version"))
            QSKIP("needs /proc/version");
        QVERIFY(QFile::link("/proc/version", path));
    }
}

void Unblock(const QString &path)
{
    if (QFileInfo(path).isSymLink())
        QVERIFY(QFile::remove(path));
    else
        QVERIFY(QDir(path).removeRecursively());
}

} // namespace

void tst_frmDelFav::controls_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<bool>("enabled");

    // clang-format off
    QTest::newRow("Command1") << "Command1" << "Up" << "Move Up" << QRect(120, 120, 735, 855) << true;
    QTest::newRow("Command2") << "Command2" << "Down" << "Move Down" << QRect(960, 120, 735, 855) << true;
    QTest::newRow("cmdDelete") << "cmdDelete" << "Delete" << "Delete" << QRect(1800, 120, 735, 855) << false;
    QTest::newRow("cmdAdd") << "cmdAdd" << "Add" << "Add Favorite" << QRect(2640, 120, 735, 855) << false;
    QTest::newRow("cmdChange") << "cmdChange" << "Update" << "Update Favorite" << QRect(3480, 120, 735, 855) << false;
    QTest::newRow("Label1") << "Label1" << "Ombrane Software" << "" << QRect(4440, 360, 3015, 375) << true;
    QTest::newRow("Command3") << "Command3" << "Cancel" << "" << QRect(7680, 120, 735, 855) << true;
    QTest::newRow("cmdDone") << "cmdDone" << "Done" << "" << QRect(8520, 120, 735, 855) << true;
    QTest::newRow("txtFavname") << "txtFavname" << "" << "" << QRect(120, 1080, 2775, 285) << true;
    QTest::newRow("txtFavAddress") << "txtFavAddress" << "" << "" << QRect(2880, 1080, 6375, 285) << true;
    QTest::newRow("lblFavName") << "lblFavName" << "Favorite Name" << "" << QRect(240, 1440, 1035, 195) << true;
    QTest::newRow("lblAddress") << "lblAddress" << "Favorite URL Address" << "" << QRect(3000, 1440, 1560, 195) << true;
    QTest::newRow("List2") << "List2" << "" << "" << QRect(120, 1680, 2775, 4350) << true;
    QTest::newRow("List1") << "List1" << "" << "" << QRect(2880, 1680, 6375, 4350) << true;
    // clang-format on
}

void tst_frmDelFav::controls()
{
    QFETCH(QString, control);
    QFETCH(QString, caption);
    QFETCH(QString, tooltip);
    QFETCH(QRect, twips);
    QFETCH(bool, enabled);
    Editor e;
    e.show();
    QTRY_VERIFY(e.w->isActiveWindow());

    QWidget *c = e.w->findChild<QWidget *>(control);
    QVERIFY(c);
    QCOMPARE(c->geometry(),
             QRect(Px(twips.x()), Px(twips.y()), Px(twips.width()), Px(twips.height())));
    QCOMPARE(c->toolTip(), tooltip);
    QCOMPARE(c->isEnabled(), enabled);
    QString text;
    if (auto *b = qobject_cast<QAbstractButton *>(c))
        text = b->text();
    else if (auto *l = qobject_cast<QLabel *>(c)) {
        text = l->text();
        // The caption shows whole in whatever font this system has.
        QVERIFY(l->fontMetrics().horizontalAdvance(text) <= l->width());
    } else if (auto *box = qobject_cast<QLineEdit *>(c))
        QCOMPARE(box->text(), QString()); // empty at open
    QCOMPARE(text, caption);
    // Found by a screen reader by its caption, else its tooltip, else its label.
    if (!qobject_cast<QLabel *>(c))
        QCOMPARE(c->accessibleName().isEmpty(), false);
    if (!caption.isEmpty() && qobject_cast<QAbstractButton *>(c))
        QCOMPARE(c->accessibleName(), caption);
    if (auto *t = qobject_cast<QToolButton *>(c)) {
        // The picture above the caption.
        QCOMPARE(t->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        QVERIFY(!t->icon().isNull());
    }
}

void tst_frmDelFav::window()
{
    Editor e("a,b c", "First,_with_comma C");
    e.show();
    QTRY_VERIFY(e.w->isActiveWindow());
    frmDelFav &w = *e.w;

    QCOMPARE(w.windowTitle(), QString("Edit Favorites"));
    const QSize client(Px(9405), Px(6180));
    QCOMPARE(w.size(), client);
    QCOMPARE(w.minimumSize(), client);
    QCOMPARE(w.maximumSize(), client);
    QVERIFY(w.windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(w.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    const QPoint screenCentre = w.screen()->availableGeometry().center();
    QVERIFY2((w.frameGeometry().center() - screenCentre).manhattanLength() <= 2,
             qPrintable(QString("window centre %1,%2")
                            .arg(w.frameGeometry().center().x())
                            .arg(w.frameGeometry().center().y())));
    QVERIFY(w.Label1->font().bold());
    QFont designed = w.Label1->font();
    designed.setPointSizeF(9.75);
    if (QFontMetrics(designed).horizontalAdvance(w.Label1->text()) <= w.Label1->width())
        QCOMPARE(w.Label1->font().pointSizeF(), 9.75);

    // The lists as the files hold them, a comma inside quotes kept.
    QCOMPARE(Items(w.List1), QString("a,b c"));
    QCOMPARE(w.List2->item(0)->text(), QString("First,_with_comma"));
    QCOMPARE(SelectedRow(w.List1), -1);
    QCOMPARE(SelectedRow(w.List2), -1);
    QCOMPARE(QApplication::focusWidget(), w.List1);
}

void tst_frmDelFav::tabOrder_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("order");
    QTest::newRow("at open, disabled buttons skipped")
        << ""
        << "cmdDone List2 Command1 Command2 txtFavname txtFavAddress Command3 List1";
    QTest::newRow("every button enabled")
        << "click List2 0; type txtFavname x"
        << "cmdDone cmdDelete List2 Command1 Command2 txtFavname txtFavAddress cmdChange cmdAdd "
           "Command3 List1";
}

void tst_frmDelFav::tabOrder()
{
    QFETCH(QString, script);
    QFETCH(QString, order);
    Editor e;
    e.show();
    QTRY_VERIFY(e.w->isActiveWindow());
    Run(*e.w, script);
    e.w->List1->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), e.w->List1);

    QStringList visited;
    for (int i = 0; i < order.count(' ') + 1; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited.join(' '), order);
}

void tst_frmDelFav::commands_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("addresses"); // List1
    QTest::addColumn<QString>("names"); // List2
    QTest::addColumn<int>("selected"); // in both lists
    QTest::addColumn<QString>("address"); // txtFavAddress
    QTest::addColumn<QString>("name"); // txtFavname
    QTest::addColumn<QString>("buttons"); // Delete, Update, Add enabled

    // clang-format off
    QTest::newRow("click a name") << "click List2 1"
        << "a b c" << "A B C" << 1 << "b" << "B" << "DU";
    QTest::newRow("click an address") << "click List1 2"
        << "a b c" << "A B C" << 2 << "c" << "C" << "DU";
    QTest::newRow("Add") << "type txtFavAddress d; type txtFavname D; press cmdAdd"
        << "a b c d" << "A B C D" << -1 << "d" << "D" << "";
    QTest::newRow("Add keeps the selection")
        << "click List1 0; type txtFavAddress d; type txtFavname D; press cmdAdd"
        << "a b c d" << "A B C D" << 0 << "d" << "D" << "D";
    QTest::newRow("Update") << "click List2 1; type txtFavname X; press cmdChange"
        << "a b c" << "A X C" << -1 << "" << "" << "";
    QTest::newRow("Delete") << "click List1 0; press cmdDelete"
        << "b c" << "B C" << -1 << "" << "" << "";
    QTest::newRow("Up") << "click List2 2; press Command1"
        << "a c b" << "A C B" << 1 << "c" << "C" << "DU";
    QTest::newRow("Down") << "click List1 0; press Command2"
        << "b a c" << "B A C" << 1 << "a" << "A" << "DU";
    QTest::newRow("Up on the first") << "click List1 0; press Command1"
        << "a b c" << "A B C" << 0 << "a" << "A" << "DU";
    QTest::newRow("Down on the last") << "click List2 2; press Command2"
        << "a b c" << "A B C" << 2 << "c" << "C" << "DU";
    QTest::newRow("disabled buttons do nothing") << "press cmdDelete; press cmdChange; press cmdAdd"
        << "a b c" << "A B C" << -1 << "" << "" << "";
    // clang-format on
}

void tst_frmDelFav::commands()
{
    QFETCH(QString, script);
    QFETCH(QString, addresses);
    QFETCH(QString, names);
    QFETCH(int, selected);
    QFETCH(QString, address);
    QFETCH(QString, name);
    QFETCH(QString, buttons);
    Editor e;
    e.show();
    QTRY_VERIFY(e.w->isActiveWindow());
    const frmDelFav &w = *e.w;

    Run(*e.w, script);

    QCOMPARE(Items(w.List1), addresses);
    QCOMPARE(Items(w.List2), names);
    QCOMPARE(SelectedRow(w.List1), selected);
    QCOMPARE(SelectedRow(w.List2), selected);
    QCOMPARE(w.txtFavAddress->text(), address);
    QCOMPARE(w.txtFavname->text(), name);
    QCOMPARE(Buttons(w), buttons);
    // Nothing reaches the files before the window closes.
    QCOMPARE(e.favorites(), Lines("a b c"));
    QVERIFY(e.reloadedFrom.isEmpty());
}

void tst_frmDelFav::keyPressEnablesAddPasteDoesNot_data()
{
    QTest::addColumn<QString>("box");
    QTest::newRow("txtFavname") << "txtFavname";
    QTest::newRow("txtFavAddress") << "txtFavAddress";
}

void tst_frmDelFav::keyPressEnablesAddPasteDoesNot()
{
    QFETCH(QString, box);
    Editor e;
    e.show();
    QTRY_VERIFY(e.w->isActiveWindow());
    auto *edit = e.w->findChild<QLineEdit *>(box);

    QTest::mouseClick(edit, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), edit);
    // What the box's own menu does on Paste: no key is pressed.
    QGuiApplication::clipboard()->setText("pasted");
    edit->paste();
    QCOMPARE(edit->text(), QString("pasted"));
    QVERIFY(!e.w->cmdAdd->isEnabled());
    // A modifier held alone types nothing.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Shift);
    QVERIFY(!e.w->cmdAdd->isEnabled());

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_X);
    QVERIFY(e.w->cmdAdd->isEnabled());
    QCOMPARE(edit->text(), QString("pastedx"));
}

void tst_frmDelFav::closingSavesThenReloads_data()
{
    QTest::addColumn<QString>("closer");
    QTest::newRow("Done") << "cmdDone";
    QTest::newRow("Cancel") << "Command3";
    QTest::newRow("close box") << "";
}

void tst_frmDelFav::closingSavesThenReloads()
{
    QFETCH(QString, closer);
    Editor e("a b c d", "A B C D");
    e.show();
    QTRY_VERIFY(e.w->isActiveWindow());

    Run(*e.w, "click List2 3; press Command1; press Command1; press Command1");
    QCOMPARE(Items(e.w->List1), QString("d a b c"));
    if (closer.isEmpty())
        QVERIFY(e.w->close());
    else
        QTest::mouseClick(e.w->findChild<QWidget *>(closer), Qt::LeftButton);

    QVERIFY(!e.w->isVisible());
    QCOMPARE(e.favorites(), Lines("d a b c"));
    QCOMPARE(e.names(), Lines("D A B C"));
    // LoadFavList once, after both files were written.
    QCOMPARE(e.reloadedFrom, QList<QByteArray> {Lines("d a b c") + "|" + Lines("D A B C")});
    QVERIFY(e.dialogs.messages.isEmpty());
}

void tst_frmDelFav::doneWithoutFilesCreatesTwoEmptyFiles()
{
    Editor e {QString(), QString()};
    e.show();
    QTRY_VERIFY(e.w->isActiveWindow());
    QCOMPARE(e.w->List1->count(), 0);
    QCOMPARE(e.w->List2->count(), 0);

    QTest::mouseClick(e.w->cmdDone, Qt::LeftButton);

    QVERIFY(!e.w->isVisible());
    QCOMPARE(e.favorites(), QByteArray());
    QCOMPARE(e.names(), QByteArray());
    QCOMPARE(e.reloadedFrom.size(), 1);
}

void tst_frmDelFav::favoriteAddedWhileOpenSurvives()
{
    Editor e;
    e.show();
    QTRY_VERIFY(e.w->isActiveWindow());
    // The main window adds the page it shows while the editor is open.
    QVERIFY(AddFavorite(e.dir.path(), "x", "X").ok());

    Run(*e.w, "click List1 0; press cmdDelete; click List1 1; press Command1");
    QTest::mouseClick(e.w->cmdDone, Qt::LeftButton);

    QVERIFY(!e.w->isVisible());
    QCOMPARE(e.favorites(), Lines("c b x"));
    QCOMPARE(e.names(), Lines("C B X"));
}

void tst_frmDelFav::deleteTakesTheFavoriteOutOfTheMainWindow()
{
    Editor e("a b c", "A B C");
    e.show();
    QTRY_VERIFY(e.w->isActiveWindow());
    // The main window's lists, as its LoadFavList filled them.
    QStringList mainAddresses {"a", "b", "c"};
    QStringList mainNames {"A", "B", "C"};

    // Moved first, so the editor's row is no longer the main window's.
    Run(*e.w, "click List1 2; press Command1; press Command1; press cmdDelete");

    QCOMPARE(Items(e.w->List1), QString("a b"));
    QCOMPARE(e.removed, QStringList {"c|C"});
    const QStringList pair = e.removed.first().split('|');
    const int at = FindFavorite(FavoriteEntries(mainAddresses), FavoriteEntries(mainNames), pair[0],
                                pair[1]);
    QCOMPARE(at, 2);
    mainAddresses.removeAt(at);
    mainNames.removeAt(at);
    QCOMPARE(mainAddresses, QStringList({"a", "b"}));
    QCOMPARE(mainNames, QStringList({"A", "B"}));
    // The files wait for the window to close.
    QCOMPARE(e.favorites(), Lines("a b c"));
}

void tst_frmDelFav::writeFailureKeepsTheWindowOpen_data()
{
    QTest::addColumn<QString>("blocked");
    QTest::addColumn<QString>("how");
    QTest::newRow("folder in place of Favorites") << "Favorites"
                                                  << "folder";
    QTest::newRow("folder in place of FavName") << "FavName"
                                                << "folder";
    QTest::newRow("FavName not writable") << "FavName"
                                          << "link";
}

void tst_frmDelFav::writeFailureKeepsTheWindowOpen()
{
    QFETCH(QString, blocked);
    QFETCH(QString, how);
    Editor e;
    e.show();
    QTRY_VERIFY(e.w->isActiveWindow());
    Run(*e.w, "click List1 2; press Command1");
    const QString blockedPath = e.dir.filePath(blocked);
    BlockFile(blockedPath, how);
    const QString other = blocked == "Favorites" ? "FavName" : "Favorites";
    const QByteArray otherBefore = ReadAll(e.dir.filePath(other));

    QTest::mouseClick(e.w->cmdDone, Qt::LeftButton);

    // Told once, calmly, naming the file; nothing written, nothing lost.
    QVERIFY(e.w->isVisible());
    QCOMPARE(e.dialogs.titles, QStringList {"QuorBrowser"});
    QCOMPARE(e.dialogs.messages.size(), 1);
    QVERIFY2(e.dialogs.messages[0].contains(QDir::toNativeSeparators(blockedPath)),
             qPrintable(e.dialogs.messages[0]));
    QCOMPARE(ReadAll(e.dir.filePath(other)), otherBefore);
    QVERIFY(e.reloadedFrom.isEmpty());
    QCOMPARE(Items(e.w->List1), QString("a c b"));
    QCOMPARE(Items(e.w->List2), QString("A C B"));
    QCOMPARE(SelectedRow(e.w->List1), 1);

    // Once the file can be written, closing again saves everything.
    Unblock(blockedPath);
    QTest::mouseClick(e.w->cmdDone, Qt::LeftButton);
    QVERIFY(!e.w->isVisible());
    QCOMPARE(e.dialogs.messages.size(), 1);
    QCOMPARE(e.favorites(), Lines("a c b"));
    QCOMPARE(e.names(), Lines("A C B"));
    QCOMPARE(e.reloadedFrom.size(), 1);
}

void tst_frmDelFav::longEntriesShownShortAndKeptWhole_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("order"); // the favorites after Done, by their letters
    QTest::addColumn<QString>("typedAddress"); // what replaced the long address; empty: none

    QTest::newRow("opened and closed") << ""
                                       << "a L c"
                                       << "";
    QTest::newRow("moved") << "click List1 1; press Command1"
                           << "L a c"
                           << "";
    QTest::newRow("selected and updated as shown") << "click List2 1; press cmdChange"
                                                   << "a L c"
                                                   << "";
    QTest::newRow("another deleted") << "click List1 2; press cmdDelete"
                                     << "a L"
                                     << "";
    QTest::newRow("address typed over")
        << "click List1 1; type txtFavAddress http://127.0.0.1:9/typed; press cmdChange"
        << "a L c"
        << "http://127.0.0.1:9/typed";
}

void tst_frmDelFav::longEntriesShownShortAndKeptWhole()
{
    QFETCH(QString, script);
    QFETCH(QString, order);
    QFETCH(QString, typedAddress);
    // A megabyte address and name (past what a text box holds), the name in single-byte text.
    const QByteArray longAddress = "http://127.0.0.1:9/" + QByteArray(1 << 20, 'x') + "/end";
    const QByteArray longName = "Caf\xE9 " + QByteArray(1 << 20, 'n') + " end";
    const QMap<QString, QByteArray> addressLine {{"a", "\"http://127.0.0.1:9/a\"\r\n"},
                                                 {"L", '"' + longAddress + "\"\r\n"},
                                                 {"c", "\"http://127.0.0.1:9/c\"\r\n"}};
    const QMap<QString, QByteArray> nameLine {
        {"a", "\"A\"\r\n"}, {"L", '"' + longName + "\"\r\n"}, {"c", "\"C\"\r\n"}};
    Editor e {QString(), QString()};
    WriteAll(e.dir.filePath("Favorites"), addressLine["a"] + addressLine["L"] + addressLine["c"]);
    WriteAll(e.dir.filePath("FavName"), nameLine["a"] + nameLine["L"] + nameLine["c"]);
    e.open();
    e.show();
    QTRY_VERIFY(e.w->isActiveWindow());

    // Shown as their start and an ellipsis.
    const QString shownAddress = QString::fromLatin1(longAddress.left(200)) + QChar(0x2026);
    const QString shownName = QString::fromLatin1(longName.left(200)) + QChar(0x2026);
    QCOMPARE(e.w->List1->item(1)->text(), shownAddress);
    QCOMPARE(e.w->List2->item(1)->text(), shownName);
    ClickRow(e.w->List1, 1);
    QCOMPARE(e.w->txtFavAddress->text(), shownAddress);
    QCOMPARE(e.w->txtFavname->text(), shownName);
    ClickRow(e.w->List1, 0);

    Run(*e.w, script);
    QTest::mouseClick(e.w->cmdDone, Qt::LeftButton);
    QVERIFY(!e.w->isVisible());

    QByteArray addresses, names;
    for (const QString &letter : order.split(' ')) {
        addresses += letter == "L" && !typedAddress.isEmpty()
            ? '"' + typedAddress.toLatin1() + "\"\r\n"
            : addressLine[letter];
        names += nameLine[letter];
    }
    QVERIFY(e.favorites() == addresses); // QCOMPARE would print megabytes
    QVERIFY(e.names() == names);
}

QTEST_MAIN(tst_frmDelFav)
#include "tst_frmDelFav.moc"
