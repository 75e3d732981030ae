#include "app/PlatformServices.h"

#include "associations/XdgAssociations.h"
#include "services/NativeWindows.h"
#include "services/PosixSocketLayer.h"
#include "services/ProcessLauncher.h"
#include "services/SystemInformation.h"

#include <unistd.h>

// A freedesktop desktop: associations in the user's mimeapps.list, the first system information
// program found on PATH.
struct PlatformServices::Parts
{
    explicit Parts(UserDialogs &dialogs)
        : associations(launcher, XdgAssociations::DataHome(), XdgAssociations::ConfigHome())
        , sysInfo(launcher, dialogs)
    { }

    DetachedProcessLauncher launcher;
    PosixSocketLayer sockets;
    XdgAssociations associations;
    PathSystemInformation sysInfo;
    PlatformNativeWindows windows;
};

PlatformServices::PlatformServices(UserDialogs &dialogs)
    : m_parts(std::make_unique<Parts>(dialogs))
{ }

PlatformServices::~PlatformServices() = default;

ProcessLauncher &PlatformServices::Launcher()
{
    return m_parts->launcher;
}

FileAssociations &PlatformServices::Associations()
{
    return m_parts->associations;
}

SystemInformation &PlatformServices::SysInfo()
{
    return m_parts->sysInfo;
}

SocketLayer &PlatformServices::Sockets()
{
    return m_parts->sockets;
}

NativeWindows &PlatformServices::Windows()
{
    return m_parts->windows;
}

bool PlatformServices::RunningAsRoot()
{
    return ::geteuid() == 0;
}
