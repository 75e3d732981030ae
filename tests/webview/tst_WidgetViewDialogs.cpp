#include "webview/WidgetViewDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <QtTest>

// The real dialogs behind the view's questions: what each returns for what the person does.
class tst_WidgetViewDialogs : public QObject
{
    Q_OBJECT

private slots:
    void Answers_data();
    void Answers();
    void StopOffer_data();
    void StopOffer();
    void ClosingTheWindowAnswers();
};

enum class Ask {
    Alert,
    Confirm,
    Prompt,
    Authenticate,
    AcceptCertificate,
    OpenExternally,
    SaveFileName,
    Print,
    PageSetup
};
enum class Do { Enter, Escape, FillAndEnter, ClickYes, TickStopAndEnter };
Q_DECLARE_METATYPE(Ask)
Q_DECLARE_METATYPE(Do)

// Runs what the person does on the next modal dialog, once it is up.
static void OnNextModal(Do action, const QString &fill, QString *shownText)
{
    auto *poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action, fill, shownText] {
        // A page's dialogs leave the window's close free: they are active, not modal.
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            modal = qobject_cast<QDialog *>(QApplication::activeWindow());
        if (!modal)
            return;
        poll->deleteLater();
        poll->stop();
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            *shownText = box->windowTitle() + QLatin1Char('|') + box->text();
        switch (action) {
        case Do::Enter:
            QTest::keyClick(modal, Qt::Key_Return);
            break;
        case Do::Escape:
            QTest::keyClick(modal, Qt::Key_Escape);
            break;
        case Do::FillAndEnter:
            if (auto *files = qobject_cast<QFileDialog *>(modal)) {
                files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(fill);
            } else {
                const QStringList values = fill.split(QLatin1Char('/'));
                const QList<QLineEdit *> fields = modal->findChildren<QLineEdit *>();
                for (int i = 0; i < fields.size() && i < values.size(); ++i)
                    fields.at(i)->setText(values.at(i));
            }
            QTest::keyClick(modal, Qt::Key_Return);
            break;
        case Do::ClickYes:
            qobject_cast<QMessageBox *>(modal)->button(QMessageBox::Yes)->click();
            break;
        case Do::TickStopAndEnter:
            for (QCheckBox *stop : modal->findChildren<QCheckBox *>())
                if (stop->text() == QLatin1String(ViewDialogs::StopMoreText))
                    stop->setChecked(true);
            QTest::keyClick(modal, Qt::Key_Return);
            break;
        }
    });
    poll->start();
}

void tst_WidgetViewDialogs::Answers_data()
{
    QTest::addColumn<Ask>("ask");
    QTest::addColumn<Do>("action");
    QTest::addColumn<QString>("fill"); // field values, "/" between fields
    QTest::addColumn<bool>("result");
    QTest::addColumn<QString>("value"); // what came back in the fields; "$DIR" the temp folder

    QTest::newRow("alert") << Ask::Alert << Do::Enter << "" << true << "";
    QTest::newRow("confirm, OK") << Ask::Confirm << Do::Enter << "" << true << "";
    QTest::newRow("confirm, cancelled") << Ask::Confirm << Do::Escape << "" << false << "";
    QTest::newRow("prompt, answered")
        << Ask::Prompt << Do::FillAndEnter << "typed" << true << "typed";
    QTest::newRow("prompt, cancelled") << Ask::Prompt << Do::Escape << "" << false << "default";
    QTest::newRow("log-in given") << Ask::Authenticate << Do::FillAndEnter << "quor/secret" << true
                                  << "quor/secret";
    QTest::newRow("log-in cancelled") << Ask::Authenticate << Do::Escape << "" << false << "/";
    // A certificate problem is refused unless the person says yes.
    QTest::newRow("certificate, Enter refuses")
        << Ask::AcceptCertificate << Do::Enter << "" << false << "";
    QTest::newRow("certificate, yes") << Ask::AcceptCertificate << Do::ClickYes << "" << true << "";
    // Another program is started only when the person says yes.
    QTest::newRow("another program, Enter refuses")
        << Ask::OpenExternally << Do::Enter << "" << false << "";
    QTest::newRow("another program, yes")
        << Ask::OpenExternally << Do::ClickYes << "" << true << "";
    QTest::newRow("save as, named") << Ask::SaveFileName << Do::FillAndEnter << "$DIR/named.mhtml"
                                    << true << "$DIR/named.mhtml";
    QTest::newRow("save as, cancelled") << Ask::SaveFileName << Do::Escape << "" << false << "";
    QTest::newRow("print, OK") << Ask::Print << Do::Enter << "" << true << "";
    QTest::newRow("print, cancelled") << Ask::Print << Do::Escape << "" << false << "";
    QTest::newRow("page setup, OK") << Ask::PageSetup << Do::Enter << "" << true << "";
    QTest::newRow("page setup, cancelled") << Ask::PageSetup << Do::Escape << "" << false << "";
}

void tst_WidgetViewDialogs::Answers()
{
    QFETCH(Ask, ask);
    QFETCH(Do, action);
    QFETCH(QString, fill);
    QFETCH(bool, result);
    QFETCH(QString, value);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    fill.replace(QLatin1String("$DIR"), dir.path());
    value.replace(QLatin1String("$DIR"), dir.path());

    WidgetViewDialogs dialogs;
    QString shown;
    OnNextModal(action, fill, &shown);
    bool got = true;
    QString back;
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("out.pdf")));
    switch (ask) {
    case Ask::Alert:
        dialogs.Alert(nullptr, QStringLiteral("127.0.0.1"), QStringLiteral("Hello"));
        QCOMPARE(shown, QStringLiteral("127.0.0.1|Hello"));
        break;
    case Ask::Confirm:
        got = dialogs.Confirm(nullptr, QStringLiteral("127.0.0.1"), QStringLiteral("Sure?"));
        QCOMPARE(shown, QStringLiteral("127.0.0.1|Sure?"));
        break;
    case Ask::Prompt:
        back = QStringLiteral("default");
        got = dialogs.Prompt(nullptr, QStringLiteral("127.0.0.1"), QStringLiteral("Name?"), &back);
        break;
    case Ask::Authenticate: {
        QString user, password;
        got = dialogs.Authenticate(nullptr, QStringLiteral("127.0.0.1"), QStringLiteral("Realm"),
                                   &user, &password);
        back = user + QLatin1Char('/') + password;
        break;
    }
    case Ask::AcceptCertificate:
        got = dialogs.AcceptCertificate(nullptr, QStringLiteral("https://127.0.0.1/"),
                                        QStringLiteral("self-signed"));
        QVERIFY2(shown.contains(QLatin1String("https://127.0.0.1/"))
                     && shown.contains(QLatin1String("self-signed")),
                 qPrintable(shown));
        break;
    case Ask::OpenExternally:
        got = dialogs.OpenExternally(nullptr, QStringLiteral("x-quor-test:hello"));
        QVERIFY2(shown.contains(QLatin1String("x-quor-test:hello")), qPrintable(shown));
        break;
    case Ask::SaveFileName:
        back = dialogs.SaveFileName(nullptr, dir.filePath(QStringLiteral("suggested.mhtml")));
        got = !back.isEmpty();
        break;
    case Ask::Print:
        got = dialogs.PrintDialog(nullptr, &printer);
        break;
    case Ask::PageSetup:
        got = dialogs.PageSetupDialog(nullptr, &printer);
        break;
    }
    QCOMPARE(got, result);
    QCOMPARE(back, value);
    QVERIFY(!QApplication::activeModalWidget());
}

void tst_WidgetViewDialogs::StopOffer_data()
{
    QTest::addColumn<Ask>("ask");
    QTest::addColumn<Do>("action");
    QTest::addColumn<bool>("stopped");
    QTest::newRow("alert, taken") << Ask::Alert << Do::TickStopAndEnter << true;
    QTest::newRow("alert, not taken") << Ask::Alert << Do::Enter << false;
    QTest::newRow("confirm, taken") << Ask::Confirm << Do::TickStopAndEnter << true;
    QTest::newRow("prompt, taken") << Ask::Prompt << Do::TickStopAndEnter << true;
    QTest::newRow("prompt, cancelled") << Ask::Prompt << Do::Escape << false;
}

void tst_WidgetViewDialogs::StopOffer()
{
    QFETCH(Ask, ask);
    QFETCH(Do, action);
    QFETCH(bool, stopped);
    WidgetViewDialogs dialogs;
    QString shown;
    OnNextModal(action, QString(), &shown);
    bool stop = !stopped;
    QString value;
    switch (ask) {
    case Ask::Alert:
        dialogs.Alert(nullptr, "127.0.0.1", "again", &stop);
        break;
    case Ask::Confirm:
        dialogs.Confirm(nullptr, "127.0.0.1", "again?", &stop);
        break;
    default:
        dialogs.Prompt(nullptr, "127.0.0.1", "again?", &value, &stop);
        break;
    }
    QCOMPARE(stop, stopped);
}

void tst_WidgetViewDialogs::ClosingTheWindowAnswers()
{
    // The page's window closes while its dialog is up: the dialog goes, as cancelled.
    QWidget window;
    window.resize(400, 300);
    window.show();
    QTRY_VERIFY(window.windowHandle() && window.windowHandle()->isExposed());
    auto *page = new QWidget(&window);
    QTimer::singleShot(0, &window, [&window] {
        QTRY_VERIFY(!window.isEnabled()); // no other input meanwhile
        window.close();
    });
    WidgetViewDialogs dialogs;
    QString value = QStringLiteral("kept");
    QVERIFY(!dialogs.Prompt(page, "127.0.0.1", "Name?", &value));
    QCOMPARE(value, QStringLiteral("kept"));
    QVERIFY(window.isEnabled());
}

QTEST_MAIN(tst_WidgetViewDialogs)
#include "tst_WidgetViewDialogs.moc"
