#pragma once

#include <QString>

// Opens a file or a folder with the program the desktop has for it.
class DesktopOpener
{
public:
    virtual ~DesktopOpener() = default;
    // False when the desktop has nothing to open it with.
    virtual bool Open(const QString &path) = 0;
};

// The desktop's own opener.
class PlatformDesktopOpener : public DesktopOpener
{
public:
    bool Open(const QString &path) override;
};
