// The toolbars' keys and the document commands of the File, Edit and View menus.

#include "browser/frmBrowser.h"

#include "forms/DesignedForm.h"

#include "associations/frmMain.h"
#include "services/UserDialogs.h"
#include "services/Winsock2.h"
#include "webview/WebView.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

void frmBrowser::tbToolBar_ButtonClick(QAction *button)
{
    ButtonClick(Toolbar::Main, button);
}

void frmBrowser::Toolbar1_ButtonClick(QAction *button)
{
    ButtonClick(Toolbar::FullScreen, button);
}

void frmBrowser::ButtonClick(Toolbar bar, QAction *button)
{
    HideFavorites();
    timTimer.start();
    if (const ToolbarCommand command = CommandForKey(bar, ButtonKey(button)))
        (this->*command)();
}

void frmBrowser::GoBackKey()
{
    brwWebBrowser->GoBack();
}

void frmBrowser::GoForwardKey()
{
    brwWebBrowser->GoForward();
}

void frmBrowser::ToggleIPAddressLabel()
{
    // The pop-up notice shares the label.
    lblCanceled->setText(lblCanceled->text().isEmpty() ? IPAddressText() : QString());
}

void frmBrowser::IPAddressToBox()
{
    cboAddress2->setEditText(IPAddressText());
}

void frmBrowser::StopButton()
{
    m_stopped = true;
    timTimer.stop();
    brwWebBrowser->Stop();
    txtStatus->setText(QStringLiteral("Download Stopped"));
    if (StatusLineHidden != 1)
        ProgressBar1->setValue(100);
    ProgressBar1->hide();
    UpdateStopKey();
}

void frmBrowser::mnuOpen_Click()
{
    const QString name = CommonDialog1->OpenFileName(
        this, m_openFolder.isEmpty() ? QDir::homePath() : m_openFolder);
    if (name.isEmpty())
        return;
    m_openFolder = QFileInfo(name).absolutePath();
    brwWebBrowser->Navigate(name);
}

void frmBrowser::mnuSaveAs_Click()
{
    brwWebBrowser->ExecWB(WebView::OLECMDID_SAVEAS, WebView::OLECMDEXECOPT_PROMPTUSER);
}

void frmBrowser::munPageSetup_Click()
{
    brwWebBrowser->ExecWB(WebView::OLECMDID_PAGESETUP, WebView::OLECMDEXECOPT_PROMPTUSER);
}

void frmBrowser::mnuPrint_Click()
{
    brwWebBrowser->ExecWB(WebView::OLECMDID_PRINT, WebView::OLECMDEXECOPT_PROMPTUSER);
}

void frmBrowser::mnuCut_Click()
{
    QGuiApplication::clipboard()->clear();
    brwWebBrowser->ExecWB(WebView::OLECMDID_CUT, WebView::OLECMDEXECOPT_DONTPROMPTUSER);
}

void frmBrowser::mnuCopy_Click()
{
    QGuiApplication::clipboard()->clear();
    brwWebBrowser->ExecWB(WebView::OLECMDID_COPY, WebView::OLECMDEXECOPT_DONTPROMPTUSER);
}

void frmBrowser::mnuPaste_Click()
{
    brwWebBrowser->ExecWB(WebView::OLECMDID_PASTE, WebView::OLECMDEXECOPT_DONTPROMPTUSER);
}

void frmBrowser::mnuAll_Click()
{
    QGuiApplication::clipboard()->clear();
    brwWebBrowser->ExecWB(WebView::OLECMDID_SELECTALL, WebView::OLECMDEXECOPT_DONTPROMPTUSER);
}

void frmBrowser::mnuRefresh_Click()
{
    brwWebBrowser->Refresh();
}

void frmBrowser::mnuSource_Click()
{
    const QString address = cboAddress->currentText();
    if (!address.isEmpty())
        brwWebBrowser->Navigate(QStringLiteral("view-source:") + address);
}

QString frmBrowser::IPAddressText()
{
    // A lookup that fails has told the person why and gives empty text.
    const QString address
        = m_env.sockets ? GetLocalAddress(*m_env.sockets, *CommonDialog1, this) : QString();
    return QStringLiteral(" IP Address: ") + address;
}

void frmBrowser::mnuAssociate_Click()
{
    if (!AssociateWindow) {
        // Modeless and without an owner, as the other secondary windows.
        AssociateWindow = new frmMain(m_env.associations, CommonDialog1, m_env.associationProgram);
        AssociateWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    BringToFront(AssociateWindow);
}
