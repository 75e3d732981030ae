#include "browser/Layout.h"

#include <QtGlobal>
#include <cmath>

LayoutResult ComputeLayout(const LayoutInput &in)
{
    LayoutResult r;
    double W = in.W;
    if (W < MinimumWindowWidth) {
        W = MinimumWindowWidth;
        r.windowWidth = W;
    }

    // Shared by both placements: the web view's width, the status line, the progress bar over
    // its right end, the address box widths and the notice label.
    r.brwWebBrowser.left = 0;
    r.brwWebBrowser.width = in.SW;
    r.txtStatus.left = 0;
    r.txtStatus.width = in.SW;
    r.txtStatus.top = in.SH - in.ST;
    r.ProgressBar1.top = in.SH - in.ST;
    r.ProgressBar1.left = in.SW - in.progressWidth;
    r.cboAddress.width = in.SW - (in.lbladdWidth + 2600);
    r.cboBookMarks.width = in.SW - (in.lblFavWidth + 2600);
    r.lblCanceled.left = W - 2500;

    r.fullScreen
        = !in.toolBarMark && !in.addressBarMark && !in.statusBarMark && !in.fileMenuVisible;
    if (r.fullScreen) {
        r.brwWebBrowser.top = in.T1;
        r.brwWebBrowser.height = in.SH - in.T1;
        r.cboAddress2.width = W - 6500;
        r.List1.top = in.T1;
        r.List1.left = 5760 - 2000; // under the full-screen address box
        r.activityPictures.left = W - (in.pictureWidth + 200);
        r.activityPictures.top = (in.T1 - in.pictureHeight) / 2 - 10;
        return r;
    }

    const double tb = in.toolBarMark ? in.TB : 0;
    const double pa = in.addressBarMark ? in.PA : 0;
    const double st = in.statusBarMark ? in.ST : 0;
    // The view starts 35 twips below a shown address strip without losing those 35 twips of
    // height: they lie under the status line or below the client area.
    r.brwWebBrowser.top = tb + (in.addressBarMark ? pa + 35 : 0);
    r.brwWebBrowser.height = in.SH - (tb + pa + st);
    r.List1.top = tb; // the top edge of the address strip
    r.List1.left = 1200; // the left edge of the address box
    r.Picture1.left = W - (in.picture1Width + 200);
    r.Picture1.top = (in.TB - in.picture1Height) / 2 - 10;
    return r;
}

FindBarPlace PlaceFindBarAbove(int viewTop, int bottom, int barHeight)
{
    FindBarPlace p;
    // A window too small for both keeps the bar and gives the page nothing.
    p.barTop = qMax(viewTop, bottom - barHeight);
    p.viewHeight = p.barTop - viewTop;
    return p;
}
