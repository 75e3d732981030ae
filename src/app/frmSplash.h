#pragma once

#include <QWidget>

class QFrame;
class QLabel;
class QPushButton;

// The splash window: product, maker and version, shown from Help > Splash only.
class frmSplash : public QWidget
{
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr);

    void Form_Load();
    // Help > Splash: the OK button shows, so the window can be closed.
    void ShowFromMenu();
    void cmdOK_Click();

    QFrame *fraMainFrame = nullptr;
    QLabel *Image1 = nullptr;
    QLabel *lblProductName = nullptr;
    QLabel *lblCompanyProduct = nullptr;
    QLabel *lblPlatform = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblCompany = nullptr;
    QLabel *lblCopyright = nullptr;
    QPushButton *cmdOK = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
};
