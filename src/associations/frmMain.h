#pragma once

#include <QString>
#include <QWidget>

class FileAssociations;
class QCheckBox;
class QLabel;
class QPushButton;
class UserDialogs;

// The association wizard: makes the program the opener of *.jpg, *.gif, *.html and *.htm
// files, or takes that away again. Modeless and without an owner.
class frmMain : public QWidget
{
    Q_OBJECT
public:
    // executablePath: the program that the desktop is to start with a document.
    frmMain(FileAssociations *associations, UserDialogs *dialogs, const QString &executablePath,
            QWidget *parent = nullptr);

    // Screen pixels for a length in twips at the given logical dots per inch.
    static int TwipsToPixels(int twips, qreal dotsPerInch);
    // The illustration of Image1, at its own size.
    static QPixmap DrawIllustration();

    void Form_Load();
    void cmdAssociate_Click();
    void cmdUnAssociate_Click();
    void cmdclose_Click();

    QLabel *Label2 = nullptr;
    QPushButton *cmdAssociate = nullptr;
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QCheckBox *Check3 = nullptr;
    QCheckBox *Check4 = nullptr;
    QPushButton *cmdclose = nullptr;
    QPushButton *cmdUnAssociate = nullptr;
    QLabel *Image1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void Place(QWidget *control, int left, int top, int width, int height);
    void FitFont();

    FileAssociations *m_associations;
    UserDialogs *m_dialogs;
    QString m_executablePath;
    // Loaded when shown, until closed: a window shown again after closing loads anew.
    bool m_loaded = false;
};
