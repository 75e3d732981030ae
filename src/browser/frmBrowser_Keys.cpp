// What a person expects of a browser beyond the menus: the usual keys, zoom, find in the page
// and the downloads. All of it sits around the window as designed: the menu bar, the bars and
// the layout stay as they are.

#include "browser/frmBrowser.h"

#include "forms/DesignedForm.h"

#include "browser/DownloadText.h"
#include "browser/FindBar.h"
#include "browser/Layout.h"
#include "browser/PageZoom.h"
#include "browser/frmDownloads.h"
#include "services/DesktopOpener.h"
#include "services/UserDialogs.h"
#include "webview/WebView.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QToolButton>

namespace {

// One row per key of the window: the keys, and what they run.
struct KeyRow
{
    const char *name;
    std::initializer_list<const char *> keys;
    void (frmBrowser::*handler)();
};

} // namespace

void frmBrowser::BuildKeys()
{
    using F = frmBrowser;
    static const KeyRow rows[] = {
        {"keyAddress", {"Ctrl+L", "Alt+D", "F6"}, &F::FocusAddressBox},
        {"keyBack", {"Alt+Left"}, &F::KeyBack},
        {"keyForward", {"Alt+Right"}, &F::KeyForward},
        {"keyReload", {"Ctrl+R"}, &F::mnuRefresh_Click}, // F5 is the menu's own
        {"keyNew", {"Ctrl+N"}, &F::mnuNew_Click},
        {"keyClose", {"Ctrl+W", "Ctrl+Q"}, &F::mnuExit_Click},
        {"keyZoomIn", {"Ctrl++", "Ctrl+=", "Ctrl+Shift++"}, &F::ZoomIn}, // plus is shifted =
        {"keyZoomOut", {"Ctrl+-"}, &F::ZoomOut},
        {"keyZoomReset", {"Ctrl+0"}, &F::ZoomReset},
        {"keyFind", {"Ctrl+F"}, &F::ShowFindBar},
        {"keyFindNext", {"F3"}, &F::FindNext},
        {"keyFindPrevious", {"Shift+F3"}, &F::FindPrevious},
        {"keyDownloads", {"Ctrl+J"}, &F::ShowDownloads},
        {"keyStop", {"Esc"}, &F::KeyStop},
        // The menu's F11 is gone with the menu bar in full screen; this one stands in for it
        // there, and leaves as the Normal View key does.
        {"keyFullScreen", {"F11"}, &F::NormalView},
    };
    for (const KeyRow &row : rows) {
        auto *key = new QAction(this);
        key->setObjectName(QLatin1String(row.name));
        QList<QKeySequence> sequences;
        for (const char *k : row.keys)
            sequences << QKeySequence(QLatin1String(k));
        key->setShortcuts(sequences);
        key->setShortcutContext(Qt::WindowShortcut);
        connect(key, &QAction::triggered, this, row.handler);
        addAction(key);
        if (key->objectName() == QLatin1String("keyStop"))
            keyStop = key;
        if (key->objectName() == QLatin1String("keyFullScreen"))
            keyFullScreen = key;
    }
    // Esc is the page's own but while a load runs, while the find bar has the keys, or in full
    // screen. F11 is the menu's but in full screen: two keys for it at once would both go dead.
    keyStop->setEnabled(false);
    keyFullScreen->setEnabled(false);

    findBar = new FindBar(centralWidget());
    connect(findBar, &FindBar::Find, this, &frmBrowser::findBar_Find);
    connect(findBar, &FindBar::Closed, this, &frmBrowser::findBar_Closed);
    connect(brwWebBrowser, &WebView::FindTextResult, this,
            &frmBrowser::brwWebBrowser_FindTextResult);

    // The zoom, while it is not 100%, at the right of the status line, left of the progress bar.
    lblZoom = new QLabel(txtStatus);
    lblZoom->setObjectName(QStringLiteral("lblZoom"));
    lblZoom->hide();
    connect(brwWebBrowser, &WebView::ZoomWheel, this, &frmBrowser::brwWebBrowser_ZoomWheel);

    connect(brwWebBrowser, &WebView::FileDownloadStarted, this,
            &frmBrowser::brwWebBrowser_FileDownloadStarted);
}

void frmBrowser::UpdateStopKey()
{
    if (!keyStop)
        return;
    const bool fullScreen = InFullScreenArrangement();
    keyStop->setEnabled(brwWebBrowser->Busy() || Timer1.isActive() || fullScreen
                        || (findBar->isVisible() && findBar->isAncestorOf(focusWidget())));
    keyFullScreen->setEnabled(fullScreen);
}

void frmBrowser::FocusAddressBox()
{
    // The box the person sees: the small one in full screen.
    QComboBox *box = cboAddress2->isVisible() || picAddress->isHidden() ? cboAddress2 : cboAddress;
    if (!box->isVisible())
        box = cboAddress->isVisible() ? cboAddress : cboAddress2;
    HideFavorites();
    box->setFocus(Qt::ShortcutFocusReason);
    box->lineEdit()->selectAll();
}

void frmBrowser::KeyBack()
{
    HideFavorites();
    timTimer.start();
    brwWebBrowser->GoBack();
}

void frmBrowser::KeyForward()
{
    HideFavorites();
    timTimer.start();
    brwWebBrowser->GoForward();
}

void frmBrowser::KeyStop()
{
    if (findBar->isVisible() && findBar->isAncestorOf(focusWidget())) {
        findBar->cmdCloseFind->click();
        return;
    }
    if (brwWebBrowser->Busy() || Timer1.isActive()) {
        StopButton();
        return;
    }
    // Full screen is left last, when nothing else would take Esc: an open menu or list keeps
    // the keys while it is up, the find bar closes and a load stops first. A page cannot tell
    // ahead whether it wants Esc, so in full screen the window has it, as during a load.
    if (InFullScreenArrangement())
        NormalView();
}

void frmBrowser::SetZoom(double factor)
{
    brwWebBrowser->SetZoomFactor(factor);
    ShowZoom();
}

void frmBrowser::ZoomIn()
{
    SetZoom(NextZoom(brwWebBrowser->ZoomFactor(), 1));
}

void frmBrowser::ZoomOut()
{
    SetZoom(NextZoom(brwWebBrowser->ZoomFactor(), -1));
}

void frmBrowser::ZoomReset()
{
    SetZoom(1.0);
}

void frmBrowser::brwWebBrowser_ZoomWheel(int steps)
{
    SetZoom(NextZoom(brwWebBrowser->ZoomFactor(), steps));
}

void frmBrowser::ShowZoom()
{
    const QString text = ZoomText(brwWebBrowser->ZoomFactor());
    lblZoom->setText(text);
    lblZoom->setVisible(!text.isEmpty());
    PlaceZoomLabel();
}

void frmBrowser::PlaceZoomLabel()
{
    if (!lblZoom)
        return;
    const int width = lblZoom->isVisible() ? lblZoom->sizeHint().width() + 6 : 0;
    lblZoom->setGeometry(txtStatus->width() - ProgressBar1->width() - width, 0, width,
                         txtStatus->height());
    // The status text stops short of it.
    txtStatus->setTextMargins(0, 0, width ? width + ProgressBar1->width() : 0, 0);
}

void frmBrowser::ShowFindBar()
{
    HideFavorites();
    const bool wasHidden = findBar->isHidden();
    findBar->Open();
    if (wasHidden)
        Form_Resize();
    UpdateStopKey();
}

void frmBrowser::FindNext()
{
    if (findBar->isHidden() || findBar->Text().isEmpty())
        ShowFindBar();
    else
        findBar_Find(findBar->Text(), false, findBar->chkHighlight->isChecked());
}

void frmBrowser::FindPrevious()
{
    if (findBar->isHidden() || findBar->Text().isEmpty())
        ShowFindBar();
    else
        findBar_Find(findBar->Text(), true, findBar->chkHighlight->isChecked());
}

void frmBrowser::findBar_Find(const QString &text, bool backward, bool highlightAll)
{
    brwWebBrowser->FindText(text, backward, highlightAll);
}

void frmBrowser::findBar_Closed()
{
    Form_Resize();
    brwWebBrowser->setFocus(Qt::OtherFocusReason);
    UpdateStopKey();
}

void frmBrowser::brwWebBrowser_FindTextResult(int active, int total)
{
    findBar->ShowResult(active, total);
}

void frmBrowser::ShowDownloads()
{
    if (!DownloadsWindow) {
        static PlatformDesktopOpener platform;
        DownloadsWindow = new frmDownloads(m_env.opener ? m_env.opener : &platform, CommonDialog1);
        DownloadsWindow->setAttribute(Qt::WA_DeleteOnClose, false); // this run's list stays
        connect(DownloadsWindow, &frmDownloads::DownloadEnded, this,
                &frmBrowser::DownloadsWindow_DownloadEnded);
        // Over the browser window, where the person is looking.
        DownloadsWindow->move(frameGeometry().center() - DownloadsWindow->rect().center());
    }
    BringToFront(DownloadsWindow);
}

void frmBrowser::brwWebBrowser_FileDownloadStarted(Download *download)
{
    ShowDownloads();
    DownloadsWindow->Add(download);
    brwWebBrowser_StatusTextChange(QStringLiteral("Downloading ")
                                   + QFileInfo(download->Path()).fileName());
}

void frmBrowser::DownloadsWindow_DownloadEnded(Download *download)
{
    const QString name = QFileInfo(download->Path()).fileName();
    QString text;
    switch (download->CurrentState()) {
    case Download::State::Completed:
        text = QStringLiteral("Download complete: ") + name;
        break;
    case Download::State::Cancelled:
        text = QStringLiteral("Download cancelled: ") + name;
        break;
    case Download::State::Failed:
    case Download::State::Running:
        text = QStringLiteral("Download failed: ") + name;
        break;
    }
    brwWebBrowser_StatusTextChange(text);
}

bool frmBrowser::MayClose()
{
    if (m_unloaded || !DownloadsWindow || DownloadsWindow->RunningCount() == 0)
        return true;
    if (!m_closeWithoutAsking
        && !CommonDialog1->Question(this, QLatin1String(DownloadRunningQuestion),
                                    QLatin1String(ProductTitle)))
        return false;
    DownloadsWindow->CancelAll();
    return true;
}

void frmBrowser::CloseWithoutAsking()
{
    m_closeWithoutAsking = true;
    close();
}
