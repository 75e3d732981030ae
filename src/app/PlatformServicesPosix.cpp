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
    , m_launcher(&m_parts->launcher)
    , m_associations(&m_parts->associations)
    , m_sysInfo(&m_parts->sysInfo)
    , m_sockets(&m_parts->sockets)
    , m_windows(&m_parts->windows)
{ }

PlatformServices::~PlatformServices() = default;

bool PlatformServices::RunningAsRoot()
{
    return ::geteuid() == 0;
}
