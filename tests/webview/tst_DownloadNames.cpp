#include "webview/DownloadNames.h"

#include <QSet>
#include <QtTest>

// A server's suggested name becomes a plain name in the download folder, whatever it holds.
class tst_DownloadNames : public QObject
{
    Q_OBJECT
private slots:
    void plainName_data()
    {
        QTest::addColumn<QString>("suggested");
        QTest::addColumn<QString>("plain");
        QTest::newRow("ordinary") << "report.pdf"
                                  << "report.pdf";
        QTest::newRow("climbs folders") << "../../evil.sh"
                                        << "evil.sh";
        QTest::newRow("hidden file one up") << "../.profile"
                                            << "profile";
        QTest::newRow("backslash folders") << "..\\..\\Windows\\evil.bat"
                                           << "evil.bat";
        QTest::newRow("absolute path") << "/etc/cron.d/job"
                                       << "job";
        QTest::newRow("dot dot only") << ".."
                                      << "download";
        QTest::newRow("ends in a slash") << "folder/"
                                         << "download";
        QTest::newRow("empty") << ""
                               << "download";
        QTest::newRow("spaces only") << "   "
                                     << "download";
        QTest::newRow("control characters") << QString("a\nb\tc\x01.txt") << "a b c_.txt";
        QTest::newRow("direction override")
            << QString::fromUtf8("invoice\u202Efdp.exe") << "invoice_fdp.exe";
        QTest::newRow("characters other systems refuse") << "a:b*c?d\"e<f>g|h.txt"
                                                         << "a_b_c_d_e_f_g_h.txt";
        QTest::newRow("trailing dots and spaces") << "name.txt. . "
                                                  << "name.txt";
        QTest::newRow("leading dots and spaces") << " ..bashrc"
                                                 << "bashrc";
        QTest::newRow("letters beyond ASCII kept") << QString::fromUtf8("Überblick – 東京.pdf")
                                                   << QString::fromUtf8("Überblick – 東京.pdf");
        QTest::newRow("inner dots kept") << "v1.2.3.tar.gz"
                                         << "v1.2.3.tar.gz";
    }
    void plainName()
    {
        QFETCH(QString, suggested);
        QFETCH(QString, plain);
        QCOMPARE(PlainDownloadName(suggested), plain);
    }

    void longNameKeepsItsExtension()
    {
        const QString name = PlainDownloadName(QString(5000, 'x') + ".tar.gz");
        QCOMPARE(name.size(), MaxDownloadNameLength);
        QVERIFY(name.endsWith("x.tar.gz"));
        // A long "extension" is no extension: cut like the rest.
        QCOMPARE(PlainDownloadName("a." + QString(5000, 'y')).size(), MaxDownloadNameLength);
    }

    void freePath_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QString>("path");
        QTest::newRow("free") << "report.pdf" << QStringList() << "/dl/report.pdf";
        QTest::newRow("second copy")
            << "report.pdf" << QStringList {"/dl/report.pdf"} << "/dl/report (1).pdf";
        QTest::newRow("third copy")
            << "report.pdf" << QStringList {"/dl/report.pdf", "/dl/report (1).pdf"}
            << "/dl/report (2).pdf";
        QTest::newRow("no extension") << "README" << QStringList {"/dl/README"} << "/dl/README (1)";
        QTest::newRow("archive keeps both parts")
            << "src.tar.gz" << QStringList {"/dl/src.tar.gz"} << "/dl/src (1).tar.gz";
    }
    void freePath()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, taken);
        QFETCH(QString, path);
        const QSet<QString> used(taken.begin(), taken.end());
        QCOMPARE(FreeDownloadPath("/dl", name, [&](const QString &p) { return used.contains(p); }),
                 path);
    }

    // Whatever the server says, the proposed file is inside the folder.
    void hostileNamesStayInTheFolder()
    {
        for (const char *suggested : {"../../evil.sh", "../.profile", "/tmp/x", "..", "a/../../b",
                                      "\\..\\..\\c", "...", ". ./.. /x"}) {
            const QString path = FreeDownloadPath("/home/p/Downloads", PlainDownloadName(suggested),
                                                  [](const QString &) { return false; });
            QVERIFY2(path.startsWith("/home/p/Downloads/"), qPrintable(path));
            const QString name = path.mid(QString("/home/p/Downloads/").size());
            QVERIFY2(!name.contains('/') && !name.startsWith('.'), qPrintable(path));
        }
    }

    void folderIsMadeWhenMissing()
    {
        QTemporaryDir home;
        qputenv("XDG_CONFIG_HOME", home.filePath("config").toUtf8());
        qputenv("HOME", home.path().toUtf8());
        const QString folder = DownloadFolder();
        QVERIFY2(folder.startsWith(home.path()), qPrintable(folder));
        QVERIFY(QFileInfo(folder).isDir());
    }
};

QTEST_GUILESS_MAIN(tst_DownloadNames)
#include "tst_DownloadNames.moc"
