#include "browser/Pictures.h"

#include <QApplication>
#include <QImage>
#include <QtTest>

// Pictures drawn when first shown rather than when made.
class tst_Pictures : public QObject
{
    Q_OBJECT

private slots:
    void drawnIconWaitsUntilShown();
    void drawnIconLooksLikeItsPicture();
    void toolbarIconIsTheKeysPicture_data();
    void toolbarIconIsTheKeysPicture();
};

void tst_Pictures::drawnIconWaitsUntilShown()
{
    int drawn = 0;
    const QIcon icon = DrawnIcon(20, [&drawn](int s) {
        ++drawn;
        QPixmap pm(s, s);
        pm.fill(Qt::red);
        return pm;
    });
    QCOMPARE(icon.availableSizes(), QList<QSize> {QSize(20, 20)});
    QCOMPARE(icon.actualSize(QSize(64, 64)), QSize(20, 20));
    QCOMPARE(drawn, 0);
    const QPixmap a = icon.pixmap(QSize(20, 20));
    const QPixmap b = icon.pixmap(QSize(20, 20), QIcon::Disabled);
    QCOMPARE(drawn, 1); // drawn once, whatever it is shown as
    QVERIFY(!a.isNull());
    QVERIFY(!b.isNull());
}

void tst_Pictures::drawnIconLooksLikeItsPicture()
{
    const QIcon icon = DrawnIcon(20, [](int s) {
        QPixmap pm(s, s);
        pm.fill(QColor(0, 0, 200));
        return pm;
    });
    const QImage normal = icon.pixmap(QSize(20, 20)).toImage();
    QCOMPARE(normal.size(), QSize(20, 20));
    QCOMPARE(normal.pixelColor(10, 10), QColor(0, 0, 200));
    // Smaller places get the picture scaled down, not cut.
    QCOMPARE(icon.pixmap(QSize(10, 10)).size(), QSize(10, 10));
    // Disabled keys look greyed, as icons made from one picture do.
    const QColor disabled
        = icon.pixmap(QSize(20, 20), QIcon::Disabled).toImage().pixelColor(10, 10);
    QVERIFY(disabled != QColor(0, 0, 200));
    QVERIFY(qAbs(disabled.red() - disabled.blue()) < 100);
}

void tst_Pictures::toolbarIconIsTheKeysPicture_data()
{
    QTest::addColumn<QString>("key");
    for (const char *key : {"Back", "Stop", "Home3", "Add", "IP"})
        QTest::newRow(key) << QString::fromLatin1(key);
}

void tst_Pictures::toolbarIconIsTheKeysPicture()
{
    QFETCH(QString, key);
    const QImage shown = ToolbarIcon(key, 20).pixmap(QSize(20, 20)).toImage();
    const QImage drawn = DrawToolbarPicture(key, 20).toImage();
    QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32),
             drawn.convertToFormat(QImage::Format_ARGB32));
    // Something is drawn.
    bool inked = false;
    for (int y = 0; y < drawn.height() && !inked; ++y)
        for (int x = 0; x < drawn.width() && !inked; ++x)
            inked = qAlpha(drawn.pixel(x, y)) > 0;
    QVERIFY(inked);
}

QTEST_MAIN(tst_Pictures)
#include "tst_Pictures.moc"
