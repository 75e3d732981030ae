// Following the web view: the status line, the progress bar and the activity pictures, the
// Back and Forward keys, the caption, and both address lists.

#include "browser/frmBrowser.h"

#include "browser/AddressList.h"
#include "settings/StartupTrace.h"
#include "webview/WebView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QToolBar>

void frmBrowser::SetCaption(const QString &text)
{
    // A page can change its title or its address in a loop; the caption keeps a pace the window
    // manager can follow.
    m_caption.Set(text);
}

void frmBrowser::SetPageCaption(bool loadDone)
{
    SetCaption(brwWebBrowser->LocationName()
               + QLatin1String(loadDone ? CaptionSuffixDone : CaptionSuffixLoading));
}

void frmBrowser::brwWebBrowser_StatusTextChange(const QString &text)
{
    // The view ends a stopped load with "Done" too; the status line keeps saying why it ended.
    if (!(m_stopped && text == QLatin1String("Done")))
        txtStatus->setText(text);
    if (StatusLineHidden == 1 || txtStatus->isHidden()) {
        SetCaption(text);
        if (text.isEmpty() || text == QLatin1String("Done"))
            SetPageCaption(false);
    }
}

void frmBrowser::brwWebBrowser_CommandStateChange(int command, bool enable)
{
    QString key;
    if (command == WebView::CSC_NAVIGATEBACK)
        key = QStringLiteral("Back");
    else if (command == WebView::CSC_NAVIGATEFORWARD)
        key = QStringLiteral("Forward");
    else
        return;
    for (QToolBar *bar : {tbToolBar, Toolbar1})
        Button(bar, key)->setEnabled(enable);
}

void frmBrowser::brwWebBrowser_DownloadBegin()
{
    m_stopped = false;
    HideFavorites();
    brwWebBrowser->show();
    if (StatusLineHidden == 1) {
        ProgressBar1->hide();
    } else {
        ProgressBar1->show();
        ProgressBar1->setValue(1);
    }
    Timer1.start();
    Timer4.start();
    UpdateStopKey();
}

void frmBrowser::brwWebBrowser_DownloadComplete()
{
    TraceStartup("page loaded");
    SetPageCaption(true);
    Timer1.stop();
    Timer4.stop();
    Picture2->show();
    for (QLabel *p : {Picture3, Picture4, Picture5, Picture6})
        p->hide();
    if (StatusLineHidden != 1)
        ProgressBar1->setValue(100);
    ProgressBar1->hide();
    UpdateStopKey();
}

void frmBrowser::brwWebBrowser_NavigateComplete2()
{
    SetPageCaption(false);
    const QString url = brwWebBrowser->LocationURL();
    for (QComboBox *box : {cboAddress, cboAddress2}) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        UpdatingAddressLists = true;
        box->clear();
        box->addItems(UpdateAddressList(items, url));
        box->setCurrentIndex(0);
        // Selecting the top entry is a click on the box; the flag keeps it from navigating.
        AddressBox_Click(box);
        UpdatingAddressLists = false;
    }
}

void frmBrowser::brwWebBrowser_TitleChange(const QString &title)
{
    Q_UNUSED(title); // the caption names the page as LocationName() does, as at every load
    // During a load the caption follows the load's events and its end shows the title then; a
    // title the page sets later (a script) shows at once, paced like every caption change.
    if (brwWebBrowser->Busy() || Timer1.isActive())
        return;
    SetPageCaption(true);
}

void frmBrowser::Timer1_Timer()
{
    if (ProgressBar1->value() == 100)
        ProgressBar1->setValue(1);
    ProgressBar1->setValue(ProgressBar1->value() + 1);
}

void frmBrowser::Timer4_Timer()
{
    QLabel *const pictures[] = {Picture2, Picture3, Picture4, Picture5, Picture6};
    for (int i = 0; i < 5; ++i) {
        if (pictures[i]->isHidden())
            continue;
        pictures[i]->hide();
        pictures[i == 4 ? 1 : i + 1]->show();
        return;
    }
}

void frmBrowser::timTimer_Timer()
{
    if (brwWebBrowser->Busy())
        return;
    timTimer.stop();
    SetPageCaption(true);
}
