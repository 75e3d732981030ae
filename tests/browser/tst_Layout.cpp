#include "browser/Layout.h"
#include "forms/DesignedForm.h"

#include <QtTest>
#include <limits>

// The design sizes of the window, in twips.
static LayoutInput Design()
{
    LayoutInput in;
    in.SW = 9570;
    in.SH = 6315;
    in.W = 9690;
    in.TB = 690;
    in.PA = 345;
    in.ST = 285;
    in.T1 = 360;
    return in;
}

class tst_Layout : public QObject
{
    Q_OBJECT
private slots:
    void designExample();
    void twipsToPixels_data();
    void twipsToPixels();
    void webViewByBars_data();
    void webViewByBars();
    void fullScreen();
    void fullScreenNeedsHiddenMenus();
    void minimumWidth_data();
    void minimumWidth();
    void tooSmallGivesNegativeHeight();
};

void tst_Layout::designExample()
{
    const LayoutResult r = ComputeLayout(Design());
    QVERIFY(!r.fullScreen);
    QCOMPARE(*r.brwWebBrowser.top, 1070.0);
    QCOMPARE(*r.brwWebBrowser.height, 4995.0);
    QCOMPARE(*r.brwWebBrowser.left, 0.0);
    QCOMPARE(*r.brwWebBrowser.width, 9570.0);
    QCOMPARE(*r.txtStatus.top, 6030.0);
    QCOMPARE(*r.txtStatus.width, 9570.0);
    QCOMPARE(*r.ProgressBar1.left, 6930.0);
    QCOMPARE(*r.ProgressBar1.top, 6030.0);
    QCOMPARE(*r.cboAddress.width, 5980.0);
    QCOMPARE(*r.cboBookMarks.width, 9570.0 - (1095 + 2600));
    QCOMPARE(*r.lblCanceled.left, 9690.0 - 2500);
    QCOMPARE(*r.Picture1.top, 95.0);
    QCOMPARE(*r.Picture1.left, 9690.0 - 680);
    QCOMPARE(*r.List1.top, 690.0);
    QCOMPARE(*r.List1.left, 1200.0);
    QVERIFY(!r.windowWidth);
    QVERIFY(!r.cboAddress2.width);
    QVERIFY(!r.activityPictures.top);
}

void tst_Layout::webViewByBars_data()
{
    QTest::addColumn<bool>("toolBar");
    QTest::addColumn<bool>("addressBar");
    QTest::addColumn<bool>("statusBar");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("height");
    const double SH = 6315, TB = 690, PA = 345, ST = 285;
    QTest::newRow("toolbar only") << true << false << false << TB << SH - TB;
    QTest::newRow("toolbar, address") << true << true << false << TB + PA + 35 << SH - (TB + PA);
    QTest::newRow("toolbar, status") << true << false << true << TB << SH - (TB + ST);
    QTest::newRow("all three") << true << true << true << TB + PA + 35 << SH - (TB + PA + ST);
    QTest::newRow("none") << false << false << false << 0.0 << SH;
    QTest::newRow("address, status") << false << true << true << PA + 35 << SH - (PA + ST);
    QTest::newRow("address only") << false << true << false << PA + 35 << SH - PA;
    QTest::newRow("status only") << false << false << true << 0.0 << SH - ST;
}

void tst_Layout::webViewByBars()
{
    QFETCH(bool, toolBar);
    QFETCH(bool, addressBar);
    QFETCH(bool, statusBar);
    QFETCH(double, top);
    QFETCH(double, height);
    LayoutInput in = Design();
    in.toolBarMark = toolBar;
    in.addressBarMark = addressBar;
    in.statusBarMark = statusBar;
    const LayoutResult r = ComputeLayout(in);
    // All bars off from the View menu leaves the menu bar: still the normal placement.
    QVERIFY(!r.fullScreen);
    QCOMPARE(*r.brwWebBrowser.top, top);
    QCOMPARE(*r.brwWebBrowser.height, height);
    QCOMPARE(*r.txtStatus.top, 6315.0 - 285);
    QCOMPARE(*r.Picture1.top, 95.0);
}

void tst_Layout::fullScreen()
{
    LayoutInput in = Design();
    in.toolBarMark = in.addressBarMark = in.statusBarMark = false;
    in.fileMenuVisible = false;
    const LayoutResult r = ComputeLayout(in);
    QVERIFY(r.fullScreen);
    QCOMPARE(*r.brwWebBrowser.top, 360.0);
    QCOMPARE(*r.brwWebBrowser.height, 6315.0 - 360);
    QCOMPARE(*r.brwWebBrowser.width, 9570.0);
    QCOMPARE(*r.cboAddress2.width, 9690.0 - 6500);
    QCOMPARE(*r.List1.top, 360.0);
    QCOMPARE(*r.List1.left, 5760.0 - 2000);
    QCOMPARE(*r.activityPictures.top, 50.0);
    QCOMPARE(*r.activityPictures.left, 9690.0 - 440);
    // The hidden bars are still placed, so they come back in place.
    QCOMPARE(*r.txtStatus.top, 6030.0);
    QCOMPARE(*r.cboAddress.width, 5980.0);
    QVERIFY(!r.Picture1.top);
}

void tst_Layout::fullScreenNeedsHiddenMenus()
{
    LayoutInput in = Design();
    in.toolBarMark = in.addressBarMark = in.statusBarMark = false;
    in.fileMenuVisible = false;
    in.statusBarMark = true; // one bar on: never the full-screen placement
    QVERIFY(!ComputeLayout(in).fullScreen);
}

void tst_Layout::minimumWidth_data()
{
    QTest::addColumn<double>("W");
    QTest::addColumn<bool>("widened");
    QTest::newRow("narrower") << 3000.0 << true;
    QTest::newRow("just under") << 4199.0 << true;
    QTest::newRow("exactly") << 4200.0 << false;
    QTest::newRow("wider") << 9690.0 << false;
}

void tst_Layout::minimumWidth()
{
    QFETCH(double, W);
    QFETCH(bool, widened);
    LayoutInput in = Design();
    in.W = W;
    const LayoutResult r = ComputeLayout(in);
    QCOMPARE(bool(r.windowWidth), widened);
    if (widened) {
        QCOMPARE(*r.windowWidth, 4200.0);
        QCOMPARE(*r.lblCanceled.left, 4200.0 - 2500);
    }
}

void tst_Layout::tooSmallGivesNegativeHeight()
{
    LayoutInput in = Design();
    in.SH = 600; // smaller than the bars
    const LayoutResult r = ComputeLayout(in);
    QVERIFY(*r.brwWebBrowser.height < 0); // the window skips it
    QCOMPARE(*r.brwWebBrowser.top, 1070.0);
}

void tst_Layout::twipsToPixels_data()
{
    QTest::addColumn<double>("twips");
    QTest::addColumn<int>("pixels");
    // At 96 dots per inch a pixel is 15 twips; the window may be 1 to 1920 pixels wide.
    QTest::newRow("as stored") << 13470.0 << 898;
    QTest::newRow("rounded") << 13478.0 << 899;
    QTest::newRow("zero") << 0.0 << 1;
    QTest::newRow("negative") << -600.0 << 1;
    QTest::newRow("larger than any screen") << 1e12 << 1920;
    QTest::newRow("beyond every integer") << 1e300 << 1920;
    QTest::newRow("far negative") << -1e300 << 1;
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << 1920;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 1;
}

void tst_Layout::twipsToPixels()
{
    QFETCH(double, twips);
    QFETCH(int, pixels);
    QCOMPARE(PixelsForTwips(twips, 15, 1, 1920), pixels);
}

QTEST_GUILESS_MAIN(tst_Layout)
#include "tst_Layout.moc"
