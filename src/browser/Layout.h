#pragma once

#include <optional>

// Everything here is in twips (1/1440 inch).
constexpr double MinimumWindowWidth = 4200;

struct LayoutInput
{
    double SW = 0; // client width
    double SH = 0; // client height
    double W = 0; // outer window width
    double TB = 0; // height of the main toolbar
    double PA = 0; // height of the address strip
    double ST = 0; // height of the status line
    double T1 = 0; // height of the full-screen toolbar
    bool toolBarMark = true;
    bool addressBarMark = true;
    bool statusBarMark = true;
    bool fileMenuVisible = true;

    double lbladdWidth = 990;
    double lblFavWidth = 1095;
    double progressWidth = 2640;
    double picture1Width = 480;
    double picture1Height = 480;
    double pictureWidth = 240; // each of the five activity pictures
    double pictureHeight = 240;
};

struct Placement
{
    std::optional<double> left, top, width, height;
};

struct LayoutResult
{
    bool fullScreen = false;
    std::optional<double> windowWidth; // set when the window must be widened to the minimum
    Placement brwWebBrowser;
    Placement List1;
    Placement txtStatus;
    Placement ProgressBar1;
    Placement cboAddress;
    Placement cboBookMarks;
    Placement lblCanceled;
    Placement Picture1; // normal arrangement only
    Placement cboAddress2; // full screen only
    Placement activityPictures; // Picture2 to Picture6, full screen only
};

// The place of every control the layout sets, for a window of these sizes and bars. A value the
// window cannot take (a negative size) is still returned; the window skips it.
LayoutResult ComputeLayout(const LayoutInput &in);

// The find bar, while open, takes the bottom of the page's place: it ends at bottom (the top of
// the status line, or the client area's bottom while the status line is hidden) and the page
// ends where it begins. In pixels.
struct FindBarPlace
{
    int barTop = 0;
    int viewHeight = 0;
};
FindBarPlace PlaceFindBarAbove(int viewTop, int bottom, int barHeight);
