#pragma once

#include "services/DesktopOpener.h"

#include <QStringList>

// Records what it was asked to open.
class FakeDesktopOpener : public DesktopOpener
{
public:
    bool Open(const QString &path) override
    {
        opened << path;
        return succeeds;
    }
    QStringList opened;
    bool succeeds = true;
};
