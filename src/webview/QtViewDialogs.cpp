#include "webview/QtViewDialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

void QtViewDialogs::Alert(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::information(parent, title, text);
}

bool QtViewDialogs::Confirm(QWidget *parent, const QString &title, const QString &text)
{
    return QMessageBox::question(parent, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Ok)
        == QMessageBox::Ok;
}

bool QtViewDialogs::Prompt(QWidget *parent, const QString &title, const QString &text,
                           QString *value)
{
    bool ok = false;
    const QString answer
        = QInputDialog::getText(parent, title, text, QLineEdit::Normal, *value, &ok);
    if (ok)
        *value = answer;
    return ok;
}

bool QtViewDialogs::Authenticate(QWidget *parent, const QString &site, const QString &realm,
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

bool QtViewDialogs::AcceptCertificate(QWidget *parent, const QString &address,
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

QString QtViewDialogs::SaveFileName(QWidget *parent, const QString &suggestedPath)
{
    return QFileDialog::getSaveFileName(parent, QObject::tr("Save As"), suggestedPath);
}

bool QtViewDialogs::PrintDialog(QWidget *parent, QPrinter *printer)
{
    QPrintDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

bool QtViewDialogs::PageSetupDialog(QWidget *parent, QPrinter *printer)
{
    QPageSetupDialog dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
}
