#include "FakeWebView.h"
#include "info/frmAbout.h"
#include "info/frmTip.h"
#include "services/SystemInformation.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolTip>
#include <QtTest>

class tst_InfoWindows : public QObject
{
    Q_OBJECT
private slots:
    void aboutLabels();
    void mailLinkKeepsThePage();
    void systemInfoStartsTheTool();
    void tipButtons_data();
    void tipButtons();
    void reopenedTipsStartOver();
};

void tst_InfoWindows::aboutLabels()
{
    FakeWebView view;
    const QString engine
        = "Qt WebEngine 6.4.2, Chromium 102.0.5005.177, security fixes to Chromium 108.0.5359.94";
    frmAbout about(&view, "support@example.com", nullptr, engine);
    QCOMPARE(about.windowTitle(), QString("About"));
    QCOMPARE(about.lblTitle->text(), QString("QuorBrowser"));
    QCOMPARE(about.lblVersion->text(), frmAbout::VersionText());
    QVERIFY(QRegularExpression("^Version (0|[1-9]\\d*)\\.(0|[1-9]\\d*)\\.(0|[1-9]\\d*)$")
                .match(about.lblVersion->text())
                .hasMatch());
    QCOMPARE(about.lblDescription->text(),
             QString("This program is an Internet Browser for navigating the World Wide Web (WWW). "
                     "It is designed to defeat Pop-Up windows by not allowing the subsequent "
                     "window(s) to be generated."));
    QCOMPARE(about.lblMailTo->toolTip(), QString("Click to send email"));
    QVERIFY(about.lblMailTo->font().underline());
    QCOMPARE(about.cmdOK->text(), QString("OK"));
    QCOMPARE(about.cmdSysInfo->text(), QString("&System Info..."));
    // The engine shows where the pointer rests on the version, and to screen readers; the
    // version's own text stays as designed.
    QCOMPARE(about.lblVersion->toolTip(), engine);
    QCOMPARE(about.lblVersion->accessibleDescription(), engine);
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    const QPoint onVersion = about.lblVersion->rect().center();
    QHelpEvent hover(QEvent::ToolTip, onVersion, about.lblVersion->mapToGlobal(onVersion));
    QApplication::sendEvent(about.lblVersion, &hover);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), engine);
    QToolTip::hideText();
}

void tst_InfoWindows::mailLinkKeepsThePage()
{
    FakeWebView view;
    view.followNavigate = false;
    view.SetLocation("http://127.0.0.1:9/", "Page");
    frmAbout about(&view, "support@example.com");
    about.show();
    QTest::mouseClick(about.lblMailTo, Qt::LeftButton);
    QCOMPARE(view.calls, QStringList {"Navigate:mailto:" + about.lblMailTo->text()});
    QCOMPARE(view.LocationURL(), QString("http://127.0.0.1:9/"));
    QTest::mouseClick(about.cmdOK, Qt::LeftButton);
    QVERIFY(!about.isVisible());
}

void tst_InfoWindows::systemInfoStartsTheTool()
{
    struct RecordingSystemInformation : SystemInformation
    {
        QList<QWidget *> asked;
        void StartSysInfo(QWidget *parent) override { asked << parent; }
    } sysInfo;
    FakeWebView view;
    frmAbout about(&view, "support@example.com", &sysInfo);
    about.show();
    QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);
    QCOMPARE(sysInfo.asked, QList<QWidget *> {&about});
    QVERIFY(view.calls.isEmpty());
}

void tst_InfoWindows::tipButtons_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("text");
    QTest::newRow("Allow Parent")
        << "Command7"
        << "Allow Parent"
        << "When this is checked it will allow the browser to open subsequent windows. The "
           "windows will only open when they are clicked on via a link in the Web page. This "
           "option will still stop the pop-ups from materializing.";
    QTest::newRow("Cancel All") << "Command6"
                                << "Cancel All"
                                << "When this is checked it will not allow the browser to open any "
                                   "subsequent windows or allow the pop-ups from materializing.";
    QTest::newRow("Allow All") << "Command8"
                               << "Allow All"
                               << "When this is checked it will allow all windows to open.";
    QTest::newRow("Associate")
        << "Command1"
        << "Associate"
        << "The Associate File form makes setting up file associations easy. This sets files "
           "with the extensions you select (*.html *.gif *.jpg and so on) open with "
           "QuorBrowser when selected. It will also change the icon displayed to the "
           "associated application.";
    QTest::newRow("Start Up") << "Command3"
                              << "Start Up"
                              << "Check Home to start the browser with your home page. Check Blank "
                                 "to start the browser with no page displayed.";
    QTest::newRow("Extra Extra")
        << "Command4"
        << "Extra Extra"
        << "The Extra buttons on the browser are simply additional quick access home buttons.";
}

void tst_InfoWindows::tipButtons()
{
    QFETCH(QString, button);
    QFETCH(QString, caption);
    QFETCH(QString, text);
    frmTip tip;
    QCOMPARE(tip.windowTitle(), QString("Help Topics"));
    QCOMPARE(tip.Label2->text(), QString(frmTip::OnLoadText));
    auto *b = tip.findChild<QPushButton *>(button);
    QVERIFY(b);
    QCOMPARE(b->text(), caption);
    b->click();
    QCOMPARE(tip.Label2->text(), text);
    b->click();
    QCOMPARE(tip.Label2->text(), text);
}

void tst_InfoWindows::reopenedTipsStartOver()
{
    auto *tip = new frmTip;
    tip->show();
    tip->Command8->click();
    QCOMPARE(tip->Label1->text(), QString("Did you know..."));
    QCOMPARE(tip->Frame1->title(), QString("Pop-Ups"));
    tip->cmdDone->click();
    QVERIFY(!tip->isVisible());
    delete tip;
    frmTip again;
    QCOMPARE(again.Label2->text(), QString(frmTip::OnLoadText));
}

QTEST_MAIN(tst_InfoWindows)
#include "tst_InfoWindows.moc"
