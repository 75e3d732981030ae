#pragma once

#include "services/NativeWindows.h"

#include <QSet>

// A window system in which a test destroys windows from outside; every other window exists.
class FakeNativeWindows : public NativeWindows
{
public:
    bool Exists(const QWindow *window) override
    {
        ++asked;
        return window && !gone.contains(window);
    }

    QSet<const QWindow *> gone;
    int asked = 0;
};
