#include "browser/DownloadText.h"
#include "browser/Layout.h"
#include "browser/PageZoom.h"

#include <QtTest>

// The plain rules beside the window: zoom steps, what the Downloads window says of a download,
// and where the find bar goes.
class tst_PageZoom : public QObject
{
    Q_OBJECT
private slots:
    void nextZoom_data()
    {
        QTest::addColumn<double>("current");
        QTest::addColumn<int>("steps");
        QTest::addColumn<double>("next");
        QTest::newRow("in from 100") << 1.0 << 1 << 1.1;
        QTest::newRow("out from 100") << 1.0 << -1 << 0.9;
        QTest::newRow("two in") << 1.0 << 2 << 1.25;
        QTest::newRow("in at the top stays") << 5.0 << 1 << 5.0;
        QTest::newRow("out at the bottom stays") << 0.25 << -1 << 0.25;
        QTest::newRow("many out stop at the bottom") << 1.0 << -50 << 0.25;
        QTest::newRow("between steps, in: the next above") << 1.17 << 1 << 1.25;
        QTest::newRow("between steps, out: the next below") << 1.17 << -1 << 1.1;
        QTest::newRow("a third is a step") << 0.33 << 1 << 0.5;
        QTest::newRow("beyond the top comes back in") << 9.0 << -1 << 5.0;
        QTest::newRow("not a number is 100") << qQNaN() << 1 << 1.1;
    }
    void nextZoom()
    {
        QFETCH(double, current);
        QFETCH(int, steps);
        QFETCH(double, next);
        QCOMPARE(NextZoom(current, steps), next);
    }

    void zoomText_data()
    {
        QTest::addColumn<double>("factor");
        QTest::addColumn<QString>("text");
        QTest::newRow("100 says nothing") << 1.0 << "";
        QTest::newRow("almost 100 says nothing") << 1.001 << "";
        QTest::newRow("in") << 1.25 << "Zoom 125%";
        QTest::newRow("out") << 0.67 << "Zoom 67%";
    }
    void zoomText()
    {
        QFETCH(double, factor);
        QFETCH(QString, text);
        QCOMPARE(ZoomText(factor), text);
    }

    void sizeText_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing") << qint64(0) << "0 bytes";
        QTest::newRow("bytes") << qint64(1023) << "1023 bytes";
        QTest::newRow("kilobytes") << qint64(1536) << "1.5 KB";
        QTest::newRow("hundreds of kilobytes") << qint64(300 * 1024) << "300 KB";
        QTest::newRow("megabytes") << qint64(12 * 1024 * 1024) << "12.0 MB";
        QTest::newRow("gigabytes") << qint64(1288490189) << "1.20 GB";
        QTest::newRow("negative is nothing") << qint64(-5) << "0 bytes";
    }
    void sizeText()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, text);
        QCOMPARE(SizeText(bytes), text);
    }

    void downloadLine_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<qint64>("received");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<double>("speed");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("text");
        const int running = int(Download::State::Running);
        QTest::newRow("running") << running << qint64(1536 * 1024) << qint64(4 * 1024 * 1024)
                                 << 300.0 * 1024 << ""
                                 << "1.5 MB of 4.0 MB, 300 KB/s";
        QTest::newRow("size not known") << running << qint64(2048) << qint64(-1) << 1024.0 << ""
                                        << "2.0 KB, 1.0 KB/s";
        QTest::newRow("no speed yet") << running << qint64(0) << qint64(4096) << 0.0 << ""
                                      << "0 bytes of 4.0 KB";
        QTest::newRow("done") << int(Download::State::Completed) << qint64(4 * 1024 * 1024)
                              << qint64(4 * 1024 * 1024) << 0.0 << ""
                              << "4.0 MB, done";
        QTest::newRow("cancelled")
            << int(Download::State::Cancelled) << qint64(10) << qint64(100) << 5.0 << ""
            << "Cancelled";
        QTest::newRow("failed with a reason") << int(Download::State::Failed) << qint64(10)
                                              << qint64(100) << 0.0 << "Network disconnected"
                                              << "Failed: Network disconnected";
        QTest::newRow("failed without")
            << int(Download::State::Failed) << qint64(10) << qint64(100) << 0.0 << ""
            << "Failed";
    }
    void downloadLine()
    {
        QFETCH(int, state);
        QFETCH(qint64, received);
        QFETCH(qint64, total);
        QFETCH(double, speed);
        QFETCH(QString, reason);
        QFETCH(QString, text);
        QCOMPARE(DownloadLineText(Download::State(state), received, total, speed, reason), text);
    }

    void permille_data()
    {
        QTest::addColumn<qint64>("received");
        QTest::addColumn<qint64>("total");
        QTest::addColumn<int>("permille");
        QTest::newRow("half") << qint64(50) << qint64(100) << 500;
        QTest::newRow("unknown size") << qint64(50) << qint64(-1) << -1;
        QTest::newRow("empty file") << qint64(0) << qint64(0) << 1000;
        QTest::newRow("more than said") << qint64(150) << qint64(100) << 1000;
        QTest::newRow("large file, no overflow")
            << qint64(3) * 1024 * 1024 * 1024 << qint64(6) * 1024 * 1024 * 1024 << 500;
    }
    void permille()
    {
        QFETCH(qint64, received);
        QFETCH(qint64, total);
        QFETCH(int, permille);
        QCOMPARE(DownloadPermille(received, total), permille);
    }

    void findBarPlace_data()
    {
        QTest::addColumn<int>("viewTop");
        QTest::addColumn<int>("bottom");
        QTest::addColumn<int>("barHeight");
        QTest::addColumn<int>("barTop");
        QTest::addColumn<int>("viewHeight");
        QTest::newRow("above the status line") << 70 << 400 << 30 << 370 << 300;
        QTest::newRow("window too small for both") << 70 << 80 << 30 << 70 << 0;
    }
    void findBarPlace()
    {
        QFETCH(int, viewTop);
        QFETCH(int, bottom);
        QFETCH(int, barHeight);
        QFETCH(int, barTop);
        QFETCH(int, viewHeight);
        const FindBarPlace p = PlaceFindBarAbove(viewTop, bottom, barHeight);
        QCOMPARE(p.barTop, barTop);
        QCOMPARE(p.viewHeight, viewHeight);
    }
};

QTEST_GUILESS_MAIN(tst_PageZoom)
#include "tst_PageZoom.moc"
