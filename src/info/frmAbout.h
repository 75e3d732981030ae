#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class SystemInformation;
class WebView;

// Help > About: the program's title, version and purpose, and a mail link to the maker.
class frmAbout : public QWidget
{
    Q_OBJECT
public:
    // view: the main window's web view, which opens the mail link.
    // supportMail: the maker's support address, shown and mailed to.
    // sysInfo: starts the system information tool; may be null.
    // engineVersion: the web engine on one line (EngineVersionLine); shown over the version,
    // as its tooltip and accessible description, so the designed window keeps its texts.
    frmAbout(WebView *view, const QString &supportMail, SystemInformation *sysInfo = nullptr,
             const QString &engineVersion = QString(), QWidget *parent = nullptr);

    // "Version " and the program's version, as the About and splash windows show it.
    static QString VersionText();

    void Form_Load();
    void cmdOK_Click();
    void lblMailTo_Click();
    void cmdSysInfo_Click();

    QLabel *Image1 = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    QLabel *lblMailTo = nullptr;
    QLabel *lblDisclaimer = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    WebView *m_view;
    SystemInformation *m_sysInfo;
};
