#pragma once

#include <QFont>

#include <functional>

class QWidget;

// What the designed windows (frmBrowser, frmDelFav, frmMain) share: their lengths are given in
// twips, 1440 to the inch, and a secondary window asked for again comes to the front.

// The program's name, the title of the designed windows' messages.
inline constexpr char ProductTitleText[] = "QuorBrowser";

// Twips in one pixel at the given logical dots per inch; a screen that tells none counts as 96.
double TwipsPerPixel(double dotsPerInch);
// Twips in one pixel on the widget's screen (the primary screen's before it has one), across
// and down.
double TwipsPerPixelX(const QWidget *widget);
double TwipsPerPixelY(const QWidget *widget);
// The most pixels a widget's length may be (QWIDGETSIZE_MAX).
inline constexpr int MostPixels = (1 << 24) - 1;
// Whole pixels for a length in twips, within [minimum, maximum]: halves round away from zero. A
// stored length may be anything, far beyond any screen or not a number at all; the result is
// always a sane pixel count.
int PixelsForTwips(double twips, double twipsPerPixel, int minimum = -MostPixels,
                   int maximum = MostPixels);

// The designed lengths suit the small type the windows were drawn with; another system's type
// may run wider. font at the sizes from largest down in steps of step, the first at which fits
// holds, else the first at or below smallest.
QFont FitFontSize(QFont font, qreal largest, qreal smallest, qreal step,
                  const std::function<bool(const QFont &)> &fits);

// A secondary window is shown again, not opened twice: shown, raised and given the focus.
void BringToFront(QWidget *window);
