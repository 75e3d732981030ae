#pragma once

#include <QProxyStyle>

// The desktop's own style, except for the pictures of the keys that show what does not fit in
// the menu bar and the toolbars: the style reads those from picture files, which loads every
// picture format the system has before the first window is up. These are drawn, and only when
// first shown.
class ProgramStyle : public QProxyStyle
{
public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option,
                       const QWidget *widget) const override;
};
