// The address boxes (typed addresses and picks from the list), the four page slots with their
// Go to and Set Current as commands, and the fixed destinations: Support and the logos.

#include "browser/frmBrowser.h"

#include "services/UserDialogs.h"
#include "settings/AppFolder.h"
#include "webview/WebView.h"

#include <QComboBox>
#include <QDir>

void frmBrowser::AddressBox_Click(QComboBox *box)
{
    HideFavorites();
    if (UpdatingAddressLists)
        return;
    timTimer.start();
    brwWebBrowser->Navigate(box->currentText());
}

void frmBrowser::AddressBox_KeyPress(QComboBox *box, int keyAscii)
{
    HideFavorites();
    if (keyAscii == 13)
        AddressBox_Click(box);
}

void frmBrowser::cboAddress_Click()
{
    AddressBox_Click(cboAddress);
}

void frmBrowser::cboAddress_KeyPress(int keyAscii)
{
    AddressBox_KeyPress(cboAddress, keyAscii);
}

void frmBrowser::cboAddress_Change()
{
    HideFavorites();
}

void frmBrowser::cboAddress_GotFocus()
{
    HideFavorites();
}

void frmBrowser::cboAddress2_Click()
{
    AddressBox_Click(cboAddress2);
}

void frmBrowser::cboAddress2_KeyPress(int keyAscii)
{
    AddressBox_KeyPress(cboAddress2, keyAscii);
}

void frmBrowser::cboAddress2_Change()
{
    HideFavorites();
}

void frmBrowser::cboAddress2_GotFocus()
{
    HideFavorites();
}

void frmBrowser::GoToPage(PageSlot slot)
{
    const QString address = ReadPageFile(m_env.appFolder, slot);
    if (!address.isEmpty())
        brwWebBrowser->Navigate(address);
    else if (slot == PageSlot::Search)
        brwWebBrowser->GoSearch();
    else
        brwWebBrowser->GoHome();
}

void frmBrowser::SetCurrentAs(PageSlot slot)
{
    if (WritePageFile(m_env.appFolder, slot, brwWebBrowser->LocationURL()))
        return;
    // The search page fails silently; a home page says so once, and the page stored before
    // stays in use.
    if (slot != PageSlot::Search)
        CommonDialog1->MessageBox(
            this,
            QStringLiteral("The home page could not be saved, because the file %1 cannot be "
                           "written. The home page set before stays in use.")
                .arg(QDir::toNativeSeparators(
                    AppFilePath(m_env.appFolder, PageFileWriteName(slot)))),
            QLatin1String(ProductTitle));
}

void frmBrowser::mnuSupport_Click()
{
    brwWebBrowser->Navigate(m_env.supportPage);
}

void frmBrowser::Picture1_Click()
{
    brwWebBrowser->Navigate(m_env.homeSite);
}

void frmBrowser::Picture2_Click()
{
    brwWebBrowser->Navigate(m_env.homeSite);
}
