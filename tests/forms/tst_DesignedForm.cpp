#include "forms/DesignedForm.h"

#include <QWidget>
#include <QWindow>
#include <QtTest>

class tst_DesignedForm : public QObject
{
    Q_OBJECT

private slots:
    void twipsPerPixel_data();
    void twipsPerPixel();
    void pixelsForTwips_data();
    void pixelsForTwips();
    void fitFontSize_data();
    void fitFontSize();
    void bringToFrontShowsAndActivates();
};

void tst_DesignedForm::twipsPerPixel_data()
{
    QTest::addColumn<double>("dpi");
    QTest::addColumn<double>("expected");
    QTest::newRow("96") << 96.0 << 15.0;
    QTest::newRow("120") << 120.0 << 12.0;
    QTest::newRow("144") << 144.0 << 10.0;
    QTest::newRow("72") << 72.0 << 20.0;
    QTest::newRow("a screen that tells none") << 0.0 << 15.0;
    QTest::newRow("a screen that tells nonsense") << -5.0 << 15.0;
}

void tst_DesignedForm::twipsPerPixel()
{
    QFETCH(double, dpi);
    QFETCH(double, expected);
    QCOMPARE(TwipsPerPixel(dpi), expected);
}

void tst_DesignedForm::pixelsForTwips_data()
{
    QTest::addColumn<double>("twips");
    QTest::addColumn<double>("twipsPerPixel");
    QTest::addColumn<int>("pixels");
    QTest::newRow("one inch at 96") << 1440.0 << 15.0 << 96;
    QTest::newRow("rounded down") << 1215.0 << 12.0 << 101;
    QTest::newRow("half rounded up") << 375.0 << 10.0 << 38;
    QTest::newRow("half of a negative away from zero") << -375.0 << 10.0 << -38;
    QTest::newRow("zero") << 0.0 << 15.0 << 0;
    QTest::newRow("a fraction of a twip") << 7.4 << 15.0 << 0;
}

void tst_DesignedForm::pixelsForTwips()
{
    QFETCH(double, twips);
    QFETCH(double, twipsPerPixel);
    QFETCH(int, pixels);
    QCOMPARE(PixelsForTwips(twips, twipsPerPixel), pixels);
}

void tst_DesignedForm::fitFontSize_data()
{
    QTest::addColumn<qreal>("largest");
    QTest::addColumn<qreal>("smallest");
    QTest::addColumn<qreal>("step");
    QTest::addColumn<qreal>("fitsUpTo"); // the largest size at which the text fits
    QTest::addColumn<qreal>("expected");
    QTest::addColumn<QList<qreal>>("tried");
    QTest::newRow("fits at once") << 8.0 << 6.0 << 0.5 << 10.0 << 8.0 << QList<qreal> {8};
    QTest::newRow("a step down") << 8.0 << 6.0 << 0.5 << 7.6 << 7.5 << QList<qreal> {8, 7.5};
    QTest::newRow("never fits: the smallest, not tried")
        << 7.0 << 6.0 << 0.5 << 1.0 << 6.0 << QList<qreal> {7, 6.5};
    QTest::newRow("quarter steps")
        << 7.0 << 6.0 << 0.25 << 6.3 << 6.25 << QList<qreal> {7, 6.75, 6.5, 6.25};
    QTest::newRow("a floor off the steps")
        << 8.0 << 6.5 << 0.5 << 1.0 << 6.5 << QList<qreal> {8, 7.5, 7};
    QTest::newRow("starting below the floor") << 5.0 << 6.0 << 0.5 << 1.0 << 5.0 << QList<qreal> {};
}

void tst_DesignedForm::fitFontSize()
{
    QFETCH(qreal, largest);
    QFETCH(qreal, smallest);
    QFETCH(qreal, step);
    QFETCH(qreal, fitsUpTo);
    QFETCH(qreal, expected);
    QFETCH(QList<qreal>, tried);

    QList<qreal> asked;
    QFont start;
    start.setFamily(QStringLiteral("Sans"));
    const QFont fitted = FitFontSize(start, largest, smallest, step, [&](const QFont &f) {
        asked << f.pointSizeF();
        return f.pointSizeF() <= fitsUpTo;
    });
    QCOMPARE(fitted.pointSizeF(), expected);
    QCOMPARE(fitted.family(), start.family());
    QCOMPARE(asked, tried);
}

void tst_DesignedForm::bringToFrontShowsAndActivates()
{
    QWidget below;
    QWidget window;
    window.show();
    below.show();
    QTRY_VERIFY(below.windowHandle() && below.windowHandle()->isExposed());
    window.hide();
    QVERIFY(!window.isVisible());

    BringToFront(&window);

    QVERIFY(window.isVisible());
    QTRY_COMPARE(QApplication::activeWindow(), &window);
}

QTEST_MAIN(tst_DesignedForm)
#include "tst_DesignedForm.moc"
