#include "webview/WidgetViewDialogs.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QWindow>

namespace {

// A page's dialog over its window, answered before the page goes on. It does not block the
// window's close: a page that shows dialog after dialog must not lock the person in. The window
// takes no other input meanwhile; the dialog goes once its window closes or the program ends.
int RunOverWindow(QDialog &dialog, QWidget *parent)
{
    QPointer<QWidget> window = parent ? parent->window() : nullptr;
    const bool wasEnabled = window && window->isEnabled();
    if (window) {
        window->setEnabled(false);
        dialog.winId();
        if (dialog.windowHandle() && window->windowHandle())
            dialog.windowHandle()->setTransientParent(window->windowHandle());
        dialog.adjustSize();
        dialog.move(window->frameGeometry().center() - dialog.rect().center());
    }
    QEventLoop loop;
    int result = QDialog::Rejected;
    QObject::connect(&dialog, &QDialog::finished, &loop, [&](int r) {
        result = r;
        loop.quit();
    });
    // Closing the window answers the dialog: Cancel.
    struct CloseWatch : QObject
    {
        QDialog *dialog;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Hide || e->type() == QEvent::Close)
                dialog->reject();
            return false;
        }
    } watch;
    watch.dialog = &dialog;
    if (window) {
        window->installEventFilter(&watch);
        QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
    }
    dialog.setWindowModality(Qt::NonModal);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    loop.exec();
    if (window) {
        window->removeEventFilter(&watch);
        if (wasEnabled)
            window->setEnabled(true);
    }
    return result;
}

// The offer to stop the page's dialogs, when it is to be made.
void OfferStop(QMessageBox &box, bool *stopMore)
{
    if (stopMore)
        box.setCheckBox(new QCheckBox(QLatin1String(ViewDialogs::StopMoreText)));
}

void TakeStop(const QMessageBox &box, bool *stopMore)
{
    if (stopMore)
        *stopMore = box.checkBox() && box.checkBox()->isChecked();
}

} // namespace

void WidgetViewDialogs::Alert(QWidget *parent, const QString &title, const QString &text,
                              bool *stopMore)
{
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok);
    OfferStop(box, stopMore);
    RunOverWindow(box, parent);
    TakeStop(box, stopMore);
}

bool WidgetViewDialogs::Confirm(QWidget *parent, const QString &title, const QString &text,
                                bool *stopMore)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Ok | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Ok);
    OfferStop(box, stopMore);
    RunOverWindow(box, parent);
    TakeStop(box, stopMore);
    return box.clickedButton() == box.button(QMessageBox::Ok);
}

bool WidgetViewDialogs::Prompt(QWidget *parent, const QString &title, const QString &text,
                               QString *value, bool *stopMore)
{
    QDialog dialog;
    dialog.setWindowTitle(title);
    auto *form = new QFormLayout(&dialog);
    auto *message = new QLabel(text);
    message->setWordWrap(true);
    form->addRow(message);
    auto *txtValue = new QLineEdit(*value);
    form->addRow(txtValue);
    QCheckBox *stop = nullptr;
    if (stopMore) {
        stop = new QCheckBox(QLatin1String(ViewDialogs::StopMoreText));
        form->addRow(stop);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    const bool ok = RunOverWindow(dialog, parent) == QDialog::Accepted;
    if (stopMore)
        *stopMore = stop->isChecked();
    if (ok)
        *value = txtValue->text();
    return ok;
}

bool WidgetViewDialogs::Authenticate(QWidget *parent, const QString &site, const QString &realm,
                                     QString *user, QString *password)
{
    QDialog dialog(parent);
    dialog.setWindowTitle(QObject::tr("Log in"));
    auto *form = new QFormLayout(&dialog);
    auto *message = new QLabel(realm.isEmpty()
                                   ? QObject::tr("%1 asks for a user name and password.").arg(site)
                                   : QObject::tr("%1 asks for a user name and password "
                                                 "for \"%2\".")
                                         .arg(site, realm));
    message->setWordWrap(true);
    form->addRow(message);
    auto *txtUser = new QLineEdit(*user);
    auto *txtPassword = new QLineEdit(*password);
    txtPassword->setEchoMode(QLineEdit::Password);
    form->addRow(QObject::tr("User name:"), txtUser);
    form->addRow(QObject::tr("Password:"), txtPassword);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    form->addRow(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    *user = txtUser->text();
    *password = txtPassword->text();
    return true;
}

bool WidgetViewDialogs::AcceptCertificate(QWidget *parent, const QString &address,
                                          const QString &problem)
{
    QMessageBox box(QMessageBox::Warning, QObject::tr("Certificate problem"),
                    QObject::tr("The certificate of %1 cannot be trusted:\n%2\n\n"
                                "Go on to the page anyway?")
                        .arg(address, problem),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No); // refusing is the safe answer
    return box.exec() == QMessageBox::Yes;
}

namespace {

// The name of the desktop's program for a link's scheme, as its desktop entry gives it; empty
// when the desktop names none or cannot say.
QString HandlerName(const QString &scheme)
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"),
                 QStringLiteral("x-scheme-handler/") + scheme});
    if (!query.waitForFinished(2000)) {
        query.kill();
        query.waitForFinished(1000);
        return QString();
    }
    const QString id = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
    if (id.isEmpty() || id.contains(QLatin1Char('/')))
        return QString();
    const QString entry = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id);
    QFile file(entry);
    if (entry.isEmpty() || !file.open(QIODevice::ReadOnly))
        return QString();
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inEntry = line == QLatin1String("[Desktop Entry]");
        else if (inEntry && line.startsWith(QLatin1String("Name=")))
            return line.mid(5).trimmed();
    }
    return QString();
}

} // namespace

bool WidgetViewDialogs::OpenExternally(QWidget *parent, const QString &address)
{
    const QString scheme = QUrl(address).scheme();
    const QString program = HandlerName(scheme);
    QMessageBox box(
        QMessageBox::Question, QObject::tr("Open with another program"),
        program.isEmpty()
            ? QObject::tr("Open this link with the program for \"%1:\" links?\n%2")
                  .arg(scheme, address.left(300))
            : QObject::tr("Open this link with %1?\n%2").arg(program, address.left(300)),
        QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::No); // another program is not the page's to start
    return box.exec() == QMessageBox::Yes;
}

QString WidgetViewDialogs::SaveFileName(QWidget *parent, const QString &suggestedPath)
{
    return QFileDialog::getSaveFileName(parent, QObject::tr("Save As"), suggestedPath);
}

bool WidgetViewDialogs::PrintDialog(QWidget *parent, QPrinter *printer)
{
    QPrintDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool WidgetViewDialogs::PageSetupDialog(QWidget *parent, QPrinter *printer)
{
    QPageSetupDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}
