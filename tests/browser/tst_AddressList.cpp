#include "browser/AddressList.h"

#include <QtTest>

class tst_AddressList : public QObject
{
    Q_OBJECT
private slots:
    void update_data();
    void update();
    void framesRaiseItSeveralTimes();
};

void tst_AddressList::update_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("address");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("empty list") << QStringList {} << "http://a/" << QStringList {"http://a/"};
    QTest::newRow("new address") << QStringList {"http://b/", "http://c/"} << "http://a/"
                                 << QStringList {"http://a/", "http://b/", "http://c/"};
    QTest::newRow("already on top") << QStringList {"http://a/", "http://b/"} << "http://a/"
                                    << QStringList {"http://a/", "http://b/"};
    QTest::newRow("further down") << QStringList {"http://b/", "http://c/", "http://a/",
                                                  "http://d/"}
                                  << "http://a/"
                                  << QStringList {"http://a/", "http://b/", "http://c/",
                                                  "http://d/"};
    QTest::newRow("differs only in case") << QStringList {"http://a/Page"} << "http://a/page"
                                          << QStringList {"http://a/page", "http://a/Page"};
    QTest::newRow("empty address")
        << QStringList {"http://a/"} << "" << QStringList {"", "http://a/"};
}

void tst_AddressList::update()
{
    QFETCH(QStringList, before);
    QFETCH(QString, address);
    QFETCH(QStringList, after);
    QCOMPARE(UpdateAddressList(before, address), after);
}

void tst_AddressList::framesRaiseItSeveralTimes()
{
    QStringList list {"http://old/"};
    for (int i = 0; i < 3; ++i)
        list = UpdateAddressList(list, "http://framed/");
    QCOMPARE(list, (QStringList {"http://framed/", "http://old/"}));
}

QTEST_GUILESS_MAIN(tst_AddressList)
#include "tst_AddressList.moc"
