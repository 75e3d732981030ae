#include "webview/CaptionThrottle.h"

#include <QtTest>

// A caption that a page changes in a loop keeps a pace the window manager can follow, and ends
// on the last title.
class tst_CaptionThrottle : public QObject
{
    Q_OBJECT
private slots:
    void aFewGoThroughAtOnce()
    {
        QStringList shown;
        CaptionThrottle t([&](const QString &c) { shown << c; });
        t.Set("a");
        t.Set("b");
        t.Set("b"); // no change, nothing to do
        QCOMPARE(shown, (QStringList {"a", "b"}));
        QCOMPARE(t.Latest(), QString("b"));
    }

    void aLoopShowsOnlyTheLatest()
    {
        QStringList shown;
        CaptionThrottle t([&](const QString &c) { shown << c; });
        for (int i = 0; i < 10000; ++i)
            t.Set(QString::number(i));
        QCOMPARE(shown.size(), CaptionThrottle::ChangesPerSecond);
        QCOMPARE(t.Latest(), QString("9999"));
        QTRY_COMPARE(shown.last(), QString("9999"));
        QCOMPARE(shown.size(), CaptionThrottle::ChangesPerSecond + 1);
        // Back to the first caption while the last is still to come: that one shows.
        for (int i = 0; i < 10; ++i)
            t.Set(QString::number(i));
        t.Set("9999");
        QTRY_COMPARE(t.Latest(), QString("9999"));
        QTRY_COMPARE(shown.last(), QString("9999"));
    }
};

QTEST_GUILESS_MAIN(tst_CaptionThrottle)
#include "tst_CaptionThrottle.moc"
