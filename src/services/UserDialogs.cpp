#include "services/UserDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

void QtUserDialogs::MessageBox(QWidget *parent, const QString &text, const QString &title)
{
    QMessageBox::information(parent, title, text, QMessageBox::Ok);
}

QString QtUserDialogs::OpenFileName(QWidget *parent)
{
    return QFileDialog::getOpenFileName(parent, QString(), QString(),
                                        QStringLiteral("All Files (*.*)"));
}
