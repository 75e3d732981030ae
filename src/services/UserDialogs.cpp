#include "services/UserDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

void QtUserDialogs::MessageBox(QWidget *parent, const QString &text, const QString &title)
{
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

QString QtUserDialogs::OpenFileName(QWidget *parent, const QString &folder)
{
    return QFileDialog::getOpenFileName(parent, QString(), folder, QStringLiteral("All Files (*)"));
}

bool QtUserDialogs::Question(QWidget *parent, const QString &text, const QString &title)
{
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No)
        == QMessageBox::Yes;
}
