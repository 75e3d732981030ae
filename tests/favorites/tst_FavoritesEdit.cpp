#include "favorites/FavoritesEdit.h"

#include <QtTest>

class tst_FavoritesEdit : public QObject
{
    Q_OBJECT
private slots:
    void commands_data();
    void commands();
    void findFavorite_data();
    void findFavorite();
};

namespace {

// Runs "select 1; address x; name X; key; add; update; delete; up; down" on the edit. "address"
// and "name" put text into a box without a key press.
void Run(FavoritesEdit &edit, const QString &script)
{
    for (const QString &step : script.split(';', Qt::SkipEmptyParts)) {
        const QString command = step.trimmed().section(' ', 0, 0);
        const QString argument = step.trimmed().section(' ', 1);
        if (command == "select")
            SelectFavorite(edit, argument.toInt());
        else if (command == "address")
            edit.address = argument;
        else if (command == "name")
            edit.name = argument;
        else if (command == "key")
            TypeInFavorite(edit);
        else if (command == "add")
            AddToFavorites(edit);
        else if (command == "update")
            UpdateFavorite(edit);
        else if (command == "delete")
            DeleteFavorite(edit);
        else if (command == "up")
            MoveFavoriteUp(edit);
        else if (command == "down")
            MoveFavoriteDown(edit);
        else
            QFAIL(qPrintable("unknown step " + step));
    }
}

// The enabled ones of Delete, Update and Add, as "D", "U" and "A".
QString Buttons(const FavoritesEdit &edit)
{
    return QString(edit.deleteEnabled ? "D" : "") + (edit.updateEnabled ? "U" : "")
        + (edit.addEnabled ? "A" : "");
}

} // namespace

void tst_FavoritesEdit::commands_data()
{
    QTest::addColumn<QString>("start"); // addresses; each name is its address in capitals
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("addresses");
    QTest::addColumn<QString>("names");
    QTest::addColumn<int>("selected");
    QTest::addColumn<QString>("address"); // txtFavAddress
    QTest::addColumn<QString>("name"); // txtFavname
    QTest::addColumn<QString>("buttons");

    // clang-format off
    QTest::newRow("at open")
        << "a b c" << "" << "a b c" << "A B C" << -1 << "" << "" << "";
    QTest::newRow("a click selects the row in both lists and fills the boxes")
        << "a b c" << "select 1" << "a b c" << "A B C" << 1 << "b" << "B" << "DU";
    QTest::newRow("a key press enables Add")
        << "a b c" << "key" << "a b c" << "A B C" << -1 << "" << "" << "A";
    QTest::newRow("Add appends the boxes at the end and keeps them")
        << "a b c" << "address d; name D; key; add"
        << "a b c d" << "A B C D" << -1 << "d" << "D" << "";
    QTest::newRow("Add twice in a row adds once")
        << "a b c" << "address d; name D; key; add; add"
        << "a b c d" << "A B C D" << -1 << "d" << "D" << "";
    QTest::newRow("Add with only a name does nothing")
        << "a b c" << "name D; key; add" << "a b c" << "A B C" << -1 << "" << "D" << "A";
    QTest::newRow("Add with only an address does nothing")
        << "a b c" << "address d; key; add" << "a b c" << "A B C" << -1 << "d" << "" << "A";
    QTest::newRow("Add keeps the selection and Delete")
        << "a b c" << "select 0; address d; name D; key; add"
        << "a b c d" << "A B C D" << 0 << "d" << "D" << "D";
    QTest::newRow("Add into empty lists")
        << "" << "address d; name D; key; add" << "d" << "D" << -1 << "d" << "D" << "";
    QTest::newRow("Update replaces in place, empties the boxes, clears the selection")
        << "a b c" << "select 1; address x; name X; key; update"
        << "a x c" << "A X C" << -1 << "" << "" << "";
    QTest::newRow("Update without a selection does nothing")
        << "a b c" << "address x; name X; key; update"
        << "a b c" << "A B C" << -1 << "x" << "X" << "A";
    QTest::newRow("Update with an empty box does nothing")
        << "a b c" << "select 1; name; update" << "a b c" << "A B C" << 1 << "b" << "" << "DU";
    QTest::newRow("Delete removes the selected favorite")
        << "a b c" << "select 1; key; delete" << "a c" << "A C" << -1 << "" << "" << "";
    QTest::newRow("Delete the last one left")
        << "a" << "select 0; delete" << "" << "" << -1 << "" << "" << "";
    QTest::newRow("Delete without a selection does nothing")
        << "a b c" << "key; delete" << "a b c" << "A B C" << -1 << "" << "" << "A";
    QTest::newRow("Up moves the favorite and keeps it selected")
        << "a b c" << "select 2; up" << "a c b" << "A C B" << 1 << "c" << "C" << "DU";
    QTest::newRow("Up three times from the bottom")
        << "a b c d" << "select 3; up; up; up" << "d a b c" << "D A B C" << 0 << "d" << "D"
        << "DU";
    QTest::newRow("Up on the first does nothing")
        << "a b c" << "select 0; up" << "a b c" << "A B C" << 0 << "a" << "A" << "DU";
    QTest::newRow("Down moves the favorite and keeps it selected")
        << "a b c" << "select 0; down" << "b a c" << "B A C" << 1 << "a" << "A" << "DU";
    QTest::newRow("Down on the last does nothing")
        << "a b c" << "select 2; down" << "a b c" << "A B C" << 2 << "c" << "C" << "DU";
    QTest::newRow("Up and Down without a selection do nothing")
        << "a b c" << "up; down" << "a b c" << "A B C" << -1 << "" << "" << "";
    QTest::newRow("a move after Add takes the boxes over from the moved favorite")
        << "a b c" << "select 1; address d; name D; key; add; up"
        << "b a c d" << "B A C D" << 0 << "b" << "B" << "DU";
    // clang-format on
}

void tst_FavoritesEdit::commands()
{
    QFETCH(QString, start);
    QFETCH(QString, script);
    QFETCH(QString, addresses);
    QFETCH(QString, names);
    QFETCH(int, selected);
    QFETCH(QString, address);
    QFETCH(QString, name);
    QFETCH(QString, buttons);

    FavoritesEdit edit;
    edit.addresses = FavoriteEntries(start.split(' ', Qt::SkipEmptyParts));
    edit.names = FavoriteEntries(start.toUpper().split(' ', Qt::SkipEmptyParts));
    Run(edit, script);

    QCOMPARE(FavoriteTexts(edit.addresses), addresses.split(' ', Qt::SkipEmptyParts));
    QCOMPARE(FavoriteTexts(edit.names), names.split(' ', Qt::SkipEmptyParts));
    QCOMPARE(edit.selected, selected);
    QCOMPARE(edit.address.text(), address);
    QCOMPARE(edit.name.text(), name);
    QCOMPARE(Buttons(edit), buttons);
}

void tst_FavoritesEdit::findFavorite_data()
{
    QTest::addColumn<QStringList>("addresses");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("position");

    const QStringList a {"a", "b", "b", "c"};
    const QStringList n {"A", "B1", "B2", "C"};
    QTest::newRow("found") << a << n << "c"
                           << "C" << 3;
    QTest::newRow("same address, the name decides") << a << n << "b"
                                                    << "B2" << 2;
    QTest::newRow("name of another favorite") << a << n << "a"
                                              << "C" << -1;
    QTest::newRow("identical pairs: the first")
        << QStringList {"x", "x"} << QStringList {"X", "X"} << "x"
        << "X" << 0;
    QTest::newRow("address without a name") << a << QStringList {"A"} << "b"
                                            << "" << -1;
}

void tst_FavoritesEdit::findFavorite()
{
    QFETCH(QStringList, addresses);
    QFETCH(QStringList, names);
    QFETCH(QString, address);
    QFETCH(QString, name);
    QFETCH(int, position);
    QCOMPARE(FindFavorite(FavoriteEntries(addresses), FavoriteEntries(names), address, name),
             position);
}

QTEST_GUILESS_MAIN(tst_FavoritesEdit)
#include "tst_FavoritesEdit.moc"
