#include "app/frmSplash.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

class tst_frmSplash : public QObject
{
    Q_OBJECT
private slots:
    void labels();
    void okShowsOnlyWhenOpenedFromMenu();
    void centredOnTheScreenAndOnTop();
};

void tst_frmSplash::centredOnTheScreenAndOnTop()
{
    frmSplash s;
    s.ShowFromMenu();
    const QRect screen = s.screen()->availableGeometry();
    QVERIFY(qAbs(s.geometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(s.geometry().center().y() - screen.center().y()) <= 1);
    // Over the browser window shown after it.
    QVERIFY(s.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

void tst_frmSplash::labels()
{
    frmSplash s;
    QCOMPARE(s.windowTitle(), QString());
    // No title bar, where the window system would write the program's name for an empty title.
    QVERIFY(s.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(s.lblProductName->text(), QString("QuorBrowser"));
    QCOMPARE(s.lblProductName->font().family(), QString("Comic Sans MS"));
    QCOMPARE(s.lblCompanyProduct->text(), QString("Ombrane Software"));
    QCOMPARE(s.lblCompany->text(), QString("Ombrane Software"));
    QCOMPARE(s.lblPlatform->text(), QString("Windows 95/98/2000/NT"));
    QVERIFY(
        QRegularExpression("^Version \\d+\\.\\d+\\.\\d+$").match(s.lblVersion->text()).hasMatch());
    QVERIFY(s.cmdOK->isHidden());
}

void tst_frmSplash::okShowsOnlyWhenOpenedFromMenu()
{
    frmSplash s;
    for (int time = 0; time < 2; ++time) {
        s.ShowFromMenu();
        QVERIFY(s.isVisible());
        QVERIFY(!s.cmdOK->isHidden());
        QTest::mouseClick(s.cmdOK, Qt::LeftButton);
        QVERIFY(!s.isVisible());
        QVERIFY(s.cmdOK->isHidden());
    }
}

QTEST_MAIN(tst_frmSplash)
#include "tst_frmSplash.moc"
