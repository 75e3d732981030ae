// The layout of the window for its size and bars, the View menu's bar toggles, Full Screen and
// the way back to the normal arrangement.

#include "browser/frmBrowser.h"

#include "browser/FindBar.h"
#include "browser/Layout.h"
#include "webview/WebView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QToolBar>

void frmBrowser::PlaceTopBars()
{
    // The bars aligned to the top stack in this order and take the full client width.
    const int width = centralWidget()->width();
    int y = 0;
    for (QWidget *bar :
         {static_cast<QWidget *>(tbToolBar), picAddress, static_cast<QWidget *>(Toolbar1)}) {
        if (bar->isHidden())
            continue;
        const int h = bar == picAddress ? picAddress->height() : bar->sizeHint().height();
        bar->setGeometry(0, y, width, h);
        y += h;
    }
}

void frmBrowser::Form_Resize()
{
    // Nested runs come from the window's own width correction; a few levels are plenty.
    if (m_layoutDepth > 2)
        return;
    ++m_layoutDepth;
    const double tx = TwipsPerPixelX();
    const double ty = TwipsPerPixelY();

    LayoutInput in;
    in.W = frameGeometry().width() * tx;
    const int minimumWidth = PixelsX(MinimumWindowWidth) - (frameGeometry().width() - width());
    if (minimumWidth > 0 && minimumSize().width() != minimumWidth)
        setMinimumWidth(minimumWidth);
    if (in.W < MinimumWindowWidth && windowState() == Qt::WindowNoState)
        resize(qMax(minimumWidth, 1), height());

    PlaceTopBars();
    in.SW = centralWidget()->width() * tx;
    in.SH = centralWidget()->height() * ty;
    in.W = frameGeometry().width() * tx;
    in.TB = tbToolBar->sizeHint().height() * ty;
    in.PA = picAddress->height() * ty;
    in.ST = txtStatus->height() * ty;
    in.T1 = Toolbar1->sizeHint().height() * ty;
    in.toolBarMark = mnuToolBAr->isChecked();
    in.addressBarMark = mnuAddressBar->isChecked();
    in.statusBarMark = mnuStatusbar->isChecked();
    in.fileMenuVisible = mnuFile->menuAction()->isVisible();
    in.lbladdWidth = lbladd->width() * tx;
    in.lblFavWidth = lblFav->width() * tx;
    in.progressWidth = ProgressBar1->width() * tx;
    in.picture1Width = Picture1->width() * tx;
    in.picture1Height = Picture1->height() * ty;
    in.pictureWidth = Picture2->width() * tx;
    in.pictureHeight = Picture2->height() * ty;
    const LayoutResult r = ComputeLayout(in);

    // A place the control cannot take (a negative size, while the window is smaller than its
    // bars) is skipped and the control stays where it was.
    auto place = [&](QWidget *w, const Placement &p) {
        QRect g = w->geometry();
        if (p.left)
            g.moveLeft(PixelsX(*p.left));
        if (p.top)
            g.moveTop(PixelsY(*p.top));
        if (p.width && *p.width >= 0)
            g.setWidth(PixelsX(*p.width));
        if (p.height && *p.height >= 0)
            g.setHeight(PixelsY(*p.height));
        w->setGeometry(g);
    };
    HideFavorites();
    place(List1, r.List1);
    place(brwWebBrowser, r.brwWebBrowser);
    place(txtStatus, r.txtStatus);
    place(ProgressBar1, r.ProgressBar1);
    place(cboAddress, r.cboAddress);
    place(cboBookMarks, r.cboBookMarks);
    place(lblCanceled, r.lblCanceled);
    if (r.fullScreen) {
        place(cboAddress2, r.cboAddress2);
        for (QLabel *p : {static_cast<QLabel *>(Picture2), Picture3, Picture4, Picture5, Picture6})
            place(p, r.activityPictures);
    } else {
        place(Picture1, r.Picture1);
    }
    // The progress bar lies over the status line's right end.
    ProgressBar1->raise();
    PlaceFindBar();
    PlaceZoomLabel();
    --m_layoutDepth;
}

void frmBrowser::mnuToolBAr_Click()
{
    const bool on = !mnuToolBAr->isChecked();
    mnuToolBAr->setChecked(on);
    tbToolBar->setVisible(on);
    Form_Resize();
}

void frmBrowser::mnuAddressBar_Click()
{
    const bool on = !mnuAddressBar->isChecked();
    mnuAddressBar->setChecked(on);
    picAddress->setVisible(on);
    Form_Resize();
}

void frmBrowser::mnuStatusbar_Click()
{
    if (mnuStatusbar->isChecked()) {
        mnuStatusbar->setChecked(false);
        txtStatus->hide();
        StatusLineHidden = 1;
        ProgressBar1->hide();
    } else {
        mnuStatusbar->setChecked(true);
        txtStatus->show();
        StatusLineHidden = 0;
    }
    Form_Resize();
}

void frmBrowser::SetMenusVisible(bool visible)
{
    for (QMenu *m : {mnuFile, mnuEdit, mnuView, mnuHelp, mnuPreferences, mnuFavorites})
        m->menuAction()->setVisible(visible);
    // With every menu hidden there is no menu bar at all.
    menuBar()->setVisible(visible);
}

void frmBrowser::ShowFullScreenArrangement()
{
    StatusLineHidden = 1;
    mnuToolBAr->setChecked(false);
    mnuAddressBar->setChecked(false);
    mnuStatusbar->setChecked(false);
    picAddress->hide();
    tbToolBar->hide();
    txtStatus->hide();
    ProgressBar1->hide();
    SetMenusVisible(false);
    DrawActivityPictures();
    Toolbar1->show();
    UpdateStopKey();
}

bool frmBrowser::InFullScreenArrangement() const
{
    // The small toolbar is there in full screen only.
    return Toolbar1 && !Toolbar1->isHidden();
}

void frmBrowser::mnuFullScreen_Click()
{
    ShowFullScreenArrangement();
    // The resize this causes lays the window out on the way; the run below places it for the
    // final state.
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    settings.FullScreen = 1;
    Form_Resize();
}

void frmBrowser::NormalView()
{
    Toolbar1->hide();
    settings.FullScreen = 0;
    StatusLineHidden = 0;
    mnuToolBAr->setChecked(true);
    mnuAddressBar->setChecked(true);
    mnuStatusbar->setChecked(true);
    picAddress->show();
    tbToolBar->show();
    txtStatus->show();
    SetMenusVisible(true);
    UpdateStopKey();
    Form_Resize();
}

void frmBrowser::PlaceFindBar()
{
    if (!findBar || findBar->isHidden())
        return;
    const int bottom = txtStatus->isVisible() ? txtStatus->y() : centralWidget()->height();
    const int height = findBar->sizeHint().height();
    const FindBarPlace p = PlaceFindBarAbove(brwWebBrowser->y(), bottom, height);
    findBar->setGeometry(0, p.barTop, centralWidget()->width(), height);
    brwWebBrowser->resize(brwWebBrowser->width(), p.viewHeight);
    findBar->raise();
}
