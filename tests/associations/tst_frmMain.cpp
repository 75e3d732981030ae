#include "FakeFileAssociations.h"
#include "FakeUserDialogs.h"
#include "IsolatedHome.h"
#include "associations/frmMain.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <QtTest>

static IsolatedHome isolatedHome;

static const QString Program = "/opt/Quor Browser/QuorBrowser";

// Messages go into the same log as the association calls, so their order shows.
class LoggingDialogs : public FakeUserDialogs
{
public:
    explicit LoggingDialogs(QStringList *log)
        : m_log(log)
    { }
    void MessageBox(QWidget *parent, const QString &text, const QString &title) override
    {
        FakeUserDialogs::MessageBox(parent, text, title);
        *m_log << QStringLiteral("Message ") + text;
    }

private:
    QStringList *m_log;
};

class tst_frmMain : public QObject
{
    Q_OBJECT

private slots:
    void twipsToPixels_data();
    void twipsToPixels();
    void controls_data();
    void controls();
    void window();
    void tabOrder();
    void associate_data();
    void associate();
    void unassociate_data();
    void unassociate();
    void boxesClearedAtEveryLoad();
    void done();
};

void tst_frmMain::twipsToPixels_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<qreal>("dpi");
    QTest::addColumn<int>("pixels");
    QTest::newRow("width at 96") << 3045 << 96.0 << 203;
    QTest::newRow("height at 96") << 2640 << 96.0 << 176;
    QTest::newRow("one inch at 120") << 1440 << 120.0 << 120;
    QTest::newRow("rounded down") << 1215 << 120.0 << 101;
    QTest::newRow("half rounded up") << 375 << 144.0 << 38;
}

void tst_frmMain::twipsToPixels()
{
    QFETCH(int, twips);
    QFETCH(qreal, dpi);
    QFETCH(int, pixels);
    QCOMPARE(frmMain::TwipsToPixels(twips, dpi), pixels);
}

void tst_frmMain::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("Label2") << "Label2"
                            << "Associate extension with QuorBrowser" << QRect(187, 120, 2670, 195);
    QTest::newRow("cmdAssociate") << "cmdAssociate"
                                  << "Associate Files" << QRect(120, 1680, 1215, 375);
    QTest::newRow("Check1") << "Check1"
                            << "Jpg" << QRect(2160, 480, 735, 195);
    QTest::newRow("Check2") << "Check2"
                            << "Gif" << QRect(2160, 720, 615, 195);
    QTest::newRow("Check3") << "Check3"
                            << "Html" << QRect(2160, 960, 615, 195);
    QTest::newRow("Check4") << "Check4"
                            << "Htm" << QRect(2160, 1200, 615, 195);
    QTest::newRow("cmdclose") << "cmdclose"
                              << "Done" << QRect(915, 2160, 1215, 375);
    QTest::newRow("cmdUnAssociate") << "cmdUnAssociate"
                                    << "UnAssociate" << QRect(1680, 1680, 1215, 375);
    QTest::newRow("Image1") << "Image1"
                            << "" << QRect(480, 480, 1095, 975);
}

void tst_frmMain::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QRect, twips);

    FakeFileAssociations associations;
    FakeUserDialogs dialogs;
    frmMain w(&associations, &dialogs, Program);
    auto *control = w.findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget(), &w);
    const qreal x = w.screen()->logicalDotsPerInchX();
    const qreal y = w.screen()->logicalDotsPerInchY();
    QCOMPARE(control->geometry(),
             QRect(frmMain::TwipsToPixels(twips.x(), x), frmMain::TwipsToPixels(twips.y(), y),
                   frmMain::TwipsToPixels(twips.width(), x),
                   frmMain::TwipsToPixels(twips.height(), y)));
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        QCOMPARE(button->text(), caption);
    else if (!caption.isEmpty())
        QCOMPARE(qobject_cast<QLabel *>(control)->text(), caption);
    // The caption is shown whole.
    QVERIFY2(control->fontMetrics().horizontalAdvance(caption) < control->width(),
             qPrintable(control->font().toString()));
    if (!caption.isEmpty())
        QCOMPARE(control->accessibleName(), caption);
    else
        QVERIFY(!control->accessibleName().isEmpty());
}

void tst_frmMain::window()
{
    FakeFileAssociations associations;
    FakeUserDialogs dialogs;
    frmMain w(&associations, &dialogs, Program);
    QCOMPARE(w.windowTitle(), QString("Association Wizard"));
    QVERIFY(!w.parentWidget());
    const QSize client(frmMain::TwipsToPixels(3045, w.screen()->logicalDotsPerInchX()),
                       frmMain::TwipsToPixels(2640, w.screen()->logicalDotsPerInchY()));
    QCOMPARE(w.minimumSize(), client);
    QCOMPARE(w.maximumSize(), client);
    QVERIFY(!(w.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(w.windowFlags() & Qt::WindowCloseButtonHint);

    w.show();
    QTRY_VERIFY(w.windowHandle() && w.windowHandle()->isExposed());
    QVERIFY(!w.isModal());
    QCOMPARE(w.size(), client);
    const QPoint centre = w.screen()->availableGeometry().center();
    QVERIFY2((w.frameGeometry().center() - centre).manhattanLength() <= 2,
             qPrintable(QString("window centre %1,%2, screen centre %3,%4")
                            .arg(w.frameGeometry().center().x())
                            .arg(w.frameGeometry().center().y())
                            .arg(centre.x())
                            .arg(centre.y())));
    const QPixmap picture = w.Image1->pixmap();
    QCOMPARE(picture.size(), QSize(211, 190));
    QVERIFY(w.Image1->hasScaledContents());
}

void tst_frmMain::tabOrder()
{
    FakeFileAssociations associations;
    FakeUserDialogs dialogs;
    frmMain w(&associations, &dialogs, Program);
    const QList<QWidget *> expected
        = {w.cmdAssociate, w.Check1, w.Check2, w.Check3, w.Check4, w.cmdclose, w.cmdUnAssociate};
    QList<QWidget *> chain;
    QWidget *next = w.cmdAssociate;
    do {
        if (next->focusPolicy() & Qt::TabFocus)
            chain << next;
        next = next->nextInFocusChain();
    } while (next != w.cmdAssociate && chain.size() < 20);
    QCOMPARE(chain, expected);
}

void tst_frmMain::associate_data()
{
    QTest::addColumn<QList<bool>>("ticked");
    QTest::addColumn<QStringList>("failing");
    QTest::addColumn<QStringList>("expected");

    const QString create = "Create %1 for " + Program;
    QTest::newRow("nothing ticked: only the notification")
        << QList<bool> {false, false, false, false} << QStringList() << QStringList {"Notify"};
    QTest::newRow("all four in order") << QList<bool> {true, true, true, true} << QStringList()
                                       << QStringList {create.arg("jpg"),
                                                       "Message Successful *.Jpg Association",
                                                       create.arg("gif"),
                                                       "Message Successful *.Gif Association",
                                                       create.arg("html"),
                                                       "Message Successful *.Html Association",
                                                       create.arg("htm"),
                                                       "Message Successful *.htm Association",
                                                       "Notify"};
    QTest::newRow("a failure goes on with the next")
        << QList<bool> {true, true, false, true} << QStringList {"gif"}
        << QStringList {create.arg("jpg"), "Message Successful *.Jpg Association",
                        create.arg("gif"), "Message Failed *.Gif Association ",
                        create.arg("htm"), "Message Successful *.htm Association",
                        "Notify"};
    QTest::newRow("every failure text")
        << QList<bool> {true, true, true, true} << QStringList {"jpg", "gif", "html", "htm"}
        << QStringList {create.arg("jpg"),
                        "Message Failed *.Jpg Association ",
                        create.arg("gif"),
                        "Message Failed *.Gif Association ",
                        create.arg("html"),
                        "Message Failed *.Html Association ",
                        create.arg("htm"),
                        "Message Failed *.htm Association ",
                        "Notify"};
}

void tst_frmMain::associate()
{
    QFETCH(QList<bool>, ticked);
    QFETCH(QStringList, failing);
    QFETCH(QStringList, expected);

    FakeFileAssociations associations;
    associations.failing = QSet<QString>(failing.begin(), failing.end());
    LoggingDialogs dialogs(associations.log);
    frmMain w(&associations, &dialogs, Program);
    w.show();
    const QList<QCheckBox *> boxes = {w.Check1, w.Check2, w.Check3, w.Check4};
    for (int i = 0; i < boxes.size(); ++i) {
        if (ticked[i])
            QTest::mouseClick(boxes[i], Qt::LeftButton);
    }
    QTest::mouseClick(w.cmdAssociate, Qt::LeftButton);
    QCOMPARE(associations.calls, expected);
    for (const QString &title : dialogs.titles)
        QCOMPARE(title, QString("Association Wizard"));
    // The boxes stay as they were, for the next command.
    for (int i = 0; i < boxes.size(); ++i)
        QCOMPARE(boxes[i]->isChecked(), ticked[i]);
}

void tst_frmMain::unassociate_data()
{
    QTest::addColumn<QList<bool>>("ticked");
    QTest::addColumn<QStringList>("failing");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("nothing ticked: only the notification")
        << QList<bool> {false, false, false, false} << QStringList() << QStringList {"Notify"};
    QTest::newRow("all four in order")
        << QList<bool> {true, true, true, true} << QStringList()
        << QStringList {"Remove .jpg",  "Message Successful *.jpg UnAssociation",
                        "Remove .gif",  "Message Successful *.gif UnAssociation",
                        "Remove .html", "Message Successful *.html UnAssociation",
                        "Remove .htm",  "Message Successful *.htm UnAssociation",
                        "Notify"};
    QTest::newRow("a failure is told, not reported as success")
        << QList<bool> {false, true, true, false} << QStringList {".html"}
        << QStringList {"Remove .gif", "Message Successful *.gif UnAssociation", "Remove .html",
                        "Message Failed *.html UnAssociation", "Notify"};
}

void tst_frmMain::unassociate()
{
    QFETCH(QList<bool>, ticked);
    QFETCH(QStringList, failing);
    QFETCH(QStringList, expected);

    FakeFileAssociations associations;
    associations.failing = QSet<QString>(failing.begin(), failing.end());
    LoggingDialogs dialogs(associations.log);
    frmMain w(&associations, &dialogs, Program);
    w.show();
    const QList<QCheckBox *> boxes = {w.Check1, w.Check2, w.Check3, w.Check4};
    for (int i = 0; i < boxes.size(); ++i)
        boxes[i]->setChecked(ticked[i]);
    QTest::mouseClick(w.cmdUnAssociate, Qt::LeftButton);
    QCOMPARE(associations.calls, expected);
    for (const QString &title : dialogs.titles)
        QCOMPARE(title, QString("Association Wizard"));
}

void tst_frmMain::boxesClearedAtEveryLoad()
{
    FakeFileAssociations associations;
    FakeUserDialogs dialogs;
    frmMain w(&associations, &dialogs, Program);
    const QList<QCheckBox *> boxes = {w.Check1, w.Check2, w.Check3, w.Check4};
    w.show();
    for (QCheckBox *box : boxes)
        QVERIFY(!box->isChecked());
    for (QCheckBox *box : boxes)
        box->setChecked(true);
    // Shown again while open: nothing is loaded anew.
    w.show();
    for (QCheckBox *box : boxes)
        QVERIFY(box->isChecked());
    // Closed and opened again: a new load.
    w.close();
    w.show();
    for (QCheckBox *box : boxes)
        QVERIFY(!box->isChecked());
}

void tst_frmMain::done()
{
    FakeFileAssociations associations;
    FakeUserDialogs dialogs;
    auto *w = new frmMain(&associations, &dialogs, Program);
    w->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<frmMain> alive(w);
    w->show();
    QTRY_VERIFY(w->windowHandle() && w->windowHandle()->isExposed());
    QTest::mouseClick(w->cmdclose, Qt::LeftButton);
    QTRY_VERIFY(alive.isNull());
    QCOMPARE(associations.calls, QStringList());
    QCOMPARE(dialogs.messages, QStringList());
}

QTEST_MAIN(tst_frmMain)
#include "tst_frmMain.moc"
