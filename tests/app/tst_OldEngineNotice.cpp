#include "TestFiles.h"
#include "app/EngineNotice.h"
#include "app/Module1.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

// The start routine's word about old security fixes, as it shows over the main window: once
// per engine, without blocking, remembered in the application folder.
class tst_OldEngineNotice : public QObject
{
    Q_OBJECT
private slots:
    void saidOncePerEngine_data();
    void saidOncePerEngine();
    void unwritableFolderSaysItEachRun();
    void closedByItsButton();
    void leftoverSavesOfTheFileGo();
};

namespace {

const EngineVersion Bookworm {"6.4.2", "102.0.5005.177", "108.0.5359.94"};
const QDate Today(2026, 12, 10);

// A main window on the screen, and the notice as the start routine would give it there.
struct Start
{
    QWidget window;
    bool saidDuringTheStart = false; // before the event loop ran

    explicit Start(const QString &folder, const EngineVersion &engine = Bookworm)
    {
        window.show();
        TellOldEngine(&window, folder, engine, Today);
        saidDuringTheStart = window.findChild<QMessageBox *>() != nullptr;
        QCoreApplication::sendPostedEvents();
    }
    QMessageBox *Notice() const
    {
        return window.findChild<QMessageBox *>(QStringLiteral("OldEngineNotice"));
    }
};

} // namespace

void tst_OldEngineNotice::saidOncePerEngine_data()
{
    QTest::addColumn<QByteArray>("before"); // the notice file; empty: none
    QTest::addColumn<QString>("securityPatch");
    QTest::addColumn<bool>("said");

    const QByteArray told = SerializeEngineNotice(Bookworm);
    QTest::newRow("first start on an old engine") << QByteArray() << "108.0.5359.94" << true;
    QTest::newRow("this engine told before") << told << "108.0.5359.94" << false;
    QTest::newRow("a damaged file is another engine")
        << QByteArray("\"6.4.2\"\r\n\"10") << "108.0.5359.94" << true;
    QTest::newRow("another engine told before") << told << "109.0.5414.120" << true;
    // 155 came out in October 2026, by four weeks a version past the table.
    QTest::newRow("an engine with recent fixes") << QByteArray() << "155.0.1" << false;
    QTest::newRow("an engine that names no version") << QByteArray() << "" << false;
}

void tst_OldEngineNotice::saidOncePerEngine()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, securityPatch);
    QFETCH(bool, said);
    QTemporaryDir dir;
    const QString file = dir.filePath("EngineNotice");
    if (!before.isEmpty())
        WriteAll(file, before);
    EngineVersion engine = Bookworm;
    engine.chromiumSecurityPatch = securityPatch;

    {
        Start first(dir.path(), engine);
        // The word comes once the event loop runs, after the window shows.
        QVERIFY(!first.saidDuringTheStart);
        QMessageBox *notice = first.Notice();
        QCOMPARE(notice != nullptr, said);
        QCOMPARE(first.window.findChildren<QMessageBox *>().size(), said ? 1 : 0);
        if (said) {
            QVERIFY(notice->isVisible());
            QCOMPARE(notice->text(), OldEngineNoticeText(engine));
            QCOMPARE(notice->windowTitle(), QString("Web Engine Security"));
            // It waits beside the window; nothing is held up until it is answered.
            QVERIFY(!notice->isModal());
            QCOMPARE(QApplication::activeModalWidget(), nullptr);
            QVERIFY(first.window.isEnabled());
            QCOMPARE(ReadAll(file), SerializeEngineNotice(engine));
        } else {
            QCOMPARE(ReadAll(file), before.isEmpty() ? QByteArray("<missing>") : before);
        }
    }
    // The next start with the same engine is quiet.
    Start second(dir.path(), engine);
    QVERIFY(!second.Notice());
}

void tst_OldEngineNotice::unwritableFolderSaysItEachRun()
{
    QTemporaryDir dir;
    WriteAll(dir.filePath("file"), "a file where a folder would be\n");
    const QString folder = dir.filePath("file/app");
    for (int run = 1; run <= 2; ++run) {
        Start start(folder);
        QVERIFY2(start.Notice() && start.Notice()->isVisible(), qPrintable(QString::number(run)));
        QCOMPARE(start.window.findChildren<QMessageBox *>().size(), 1);
    }
    QVERIFY(QFileInfo(dir.filePath("file")).isFile());
}

void tst_OldEngineNotice::closedByItsButton()
{
    QTemporaryDir dir;
    Start start(dir.path());
    QPointer<QMessageBox> notice = start.Notice();
    QVERIFY(notice);
    QAbstractButton *ok = notice->button(QMessageBox::Ok);
    QVERIFY(ok);
    QTest::mouseClick(ok, Qt::LeftButton);
    // Closed and gone; the window stays.
    QTRY_VERIFY(!notice);
    QVERIFY(start.window.isVisible());
}

void tst_OldEngineNotice::leftoverSavesOfTheFileGo()
{
    QTemporaryDir dir;
    WriteAll(dir.filePath("EngineNotice"), SerializeEngineNotice(Bookworm));
    const QDateTime hourAgo = QDateTime::currentDateTime().addSecs(-3600);
    for (const char *name : {"EngineNotice.AbC123", "EngineNotice.Fr35h1", "Notes.AbC123"}) {
        WriteAll(dir.filePath(name), "half a save");
        if (QByteArray(name) != "EngineNotice.Fr35h1") {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::ReadWrite));
            QVERIFY(f.setFileTime(hourAgo, QFileDevice::FileModificationTime));
        }
    }
    Start start(dir.path());
    QVERIFY(!start.Notice());
    // An older one goes; a fresh one may be another instance's save under way.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
             (QStringList {"EngineNotice", "EngineNotice.Fr35h1", "Notes.AbC123"}));
}

QTEST_MAIN(tst_OldEngineNotice)
#include "tst_OldEngineNotice.moc"
