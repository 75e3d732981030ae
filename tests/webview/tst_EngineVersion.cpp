#include "webview/EngineVersion.h"

#include <QtTest>

// The engine named on one line, as --version prints it and About shows it.
class tst_EngineVersion : public QObject
{
    Q_OBJECT
private slots:
    void EngineVersionLine_data();
    void EngineVersionLine();
};

void tst_EngineVersion::EngineVersionLine_data()
{
    QTest::addColumn<QString>("qtWebEngine");
    QTest::addColumn<QString>("chromium");
    QTest::addColumn<QString>("securityPatch");
    QTest::addColumn<QString>("line");
    QTest::newRow("Debian 12")
        << "6.4.2"
        << "102.0.5005.177"
        << "108.0.5359.94"
        << "Qt WebEngine 6.4.2, Chromium 102.0.5005.177, security fixes to Chromium 108.0.5359.94";
    QTest::newRow("fixes of the Chromium it is made from")
        << "6.8.2"
        << "122.0.6261.171"
        << "122.0.6261.171"
        << "Qt WebEngine 6.8.2, Chromium 122.0.6261.171, security fixes to Chromium 122.0.6261.171";
    QTest::newRow("a version not told")
        << "6.4.2"
        << "102.0.5005.177"
        << ""
        << "Qt WebEngine 6.4.2, Chromium 102.0.5005.177, security fixes to Chromium unknown";
    QTest::newRow("nothing told") << ""
                                  << ""
                                  << ""
                                  << "Qt WebEngine unknown, Chromium unknown, security fixes to "
                                     "Chromium unknown";
}

void tst_EngineVersion::EngineVersionLine()
{
    QFETCH(QString, qtWebEngine);
    QFETCH(QString, chromium);
    QFETCH(QString, securityPatch);
    QFETCH(QString, line);
    QCOMPARE(::EngineVersionLine({qtWebEngine, chromium, securityPatch}), line);
}

QTEST_GUILESS_MAIN(tst_EngineVersion)
#include "tst_EngineVersion.moc"
