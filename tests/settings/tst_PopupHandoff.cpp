#include "settings/PopupHandoff.h"
#include "settings/TextFields.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class tst_PopupHandoff : public QObject
{
    Q_OBJECT
private slots:
    void steps_data();
    void steps();
};

void tst_PopupHandoff::steps_data()
{
    // Steps in one application folder, each "give <address>", "take <address>", "stuck" (the
    // hand-off file becomes one that reads but cannot be written, whoever runs the test) or
    // "taken <address>" (Popupurl.taken holds it); after each, what the folder says:
    // "<call's answer>|<waiting>|<pending>", the answer 1 or 0, "-" for a step with none.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("after");
    QTest::newRow("nothing given") << QStringList {"take "} << QStringList {"1|0|"};
    QTest::newRow("given, then taken") << QStringList {"give http://a/", "take http://a/"}
                                       << QStringList {"1|1|http://a/", "1|0|"};
    QTest::newRow("the last one given wins") << QStringList {"give http://a/", "give http://b/"}
                                             << QStringList {"1|1|http://a/", "1|1|http://b/"};
    QTest::newRow("a file that cannot be emptied is taken once")
        << QStringList {"stuck", "take stuck"} << QStringList {"-|1|stuck", "0|1|"};
    QTest::newRow("an address taken before is not pending, until given again")
        << QStringList {"give http://a/", "taken http://a/", "give http://a/"}
        << QStringList {"1|1|http://a/", "-|1|", "1|1|http://a/"};
}

void tst_PopupHandoff::steps()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, after);
    QTemporaryDir dir;
    const QString folder = dir.path();
    QString stuck;
    for (int i = 0; i < steps.size(); ++i) {
        const QString verb = steps[i].section(' ', 0, 0);
        QString address = steps[i].section(' ', 1);
        if (address == "stuck")
            address = stuck;
        QString answer = "-";
        if (verb == "give") {
            answer = GiveHandoff(folder, address) ? "1" : "0";
        } else if (verb == "take") {
            answer = TakeHandoff(folder, address) ? "1" : "0";
        } else if (verb == "stuck") {
            QVERIFY(QFile::link("/proc/version", HandoffPath(folder)));
            stuck = ReadFirstField(HandoffPath(folder));
            QVERIFY(!stuck.isEmpty());
        } else if (verb == "taken") {
            QVERIFY(WriteSingleField(folder + "/Popupurl.taken", address));
        }
        QString pending = PendingHandoff(folder);
        if (!stuck.isEmpty() && pending == stuck)
            pending = "stuck";
        QCOMPARE(QString("%1|%2|%3").arg(answer).arg(int(HandoffWaiting(folder))).arg(pending),
                 after[i]);
    }
}

QTEST_GUILESS_MAIN(tst_PopupHandoff)
#include "tst_PopupHandoff.moc"
