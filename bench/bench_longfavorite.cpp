// A favorites file with one enormous entry (a damaged or hostile file): how long the main
// window's list, the editor's opening and its Done take with it. Each step runs once; the
// files hold a 50 MB address and a 50 MB name among ordinary entries.
#include "BrowserHarness.h"
#include "favorites/frmDelFav.h"
#include "settings/TextFields.h"

#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QtTest>

class bench_longfavorite : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void mainWindowList();
    void editorOpenAndDone();

private:
    QByteArray m_addresses;
    QByteArray m_names;
};

namespace {

constexpr qsizetype LongEntry = 50 * 1024 * 1024;

void Put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

void Report(const char *step, const QElapsedTimer &t)
{
    qInfo("%s: %lld ms", step, t.elapsed());
}

} // namespace

void bench_longfavorite::initTestCase()
{
    const QByteArray longAddress = "http://127.0.0.1:9/" + QByteArray(LongEntry, 'a');
    const QByteArray longName = QByteArray(LongEntry, 'n');
    m_addresses = SerializeTextField("http://127.0.0.1:9/first") + '"' + longAddress + "\"\r\n"
        + SerializeTextField("http://127.0.0.1:9/last");
    m_names = SerializeTextField("First") + '"' + longName + "\"\r\n" + SerializeTextField("Last");
}

void bench_longfavorite::mainWindowList()
{
    Harness h;
    Put(h.path("Favorites"), m_addresses);
    Put(h.path("FavName"), m_names);
    h.start();
    QElapsedTimer t;
    t.start();
    QBENCHMARK_ONCE
    {
        QTest::mouseClick(h.w->lbladd, Qt::LeftButton);
        QVERIFY(h.w->List1->isVisible());
        QApplication::processEvents();
    }
    Report("open the list", t);
}

void bench_longfavorite::editorOpenAndDone()
{
    Harness h;
    Put(h.path("Favorites"), m_addresses);
    Put(h.path("FavName"), m_names);
    h.start();
    QElapsedTimer t;
    t.start();
    QBENCHMARK_ONCE
    {
        h.w->mnuEditFav->trigger();
        QApplication::processEvents();
    }
    Report("open the editor", t);
    if (qEnvironmentVariableIsSet("BENCH_STOP_AFTER_OPEN"))
        return;
    QPointer<frmDelFav> editor = h.w->DelFavWindow;
    QVERIFY(editor);
    t.restart();
    editor->List1->setCurrentRow(1);
    editor->List1_Click();
    QApplication::processEvents();
    Report("select the long entry", t);
    t.restart();
    editor->cmdDone_Click();
    QVERIFY(editor->isHidden());
    Report("Done", t);
    QCOMPARE(QFileInfo(h.path("Favorites")).size(), m_addresses.size());
}

QTEST_MAIN(bench_longfavorite)
#include "bench_longfavorite.moc"
