#include "app/PlatformServices.h"

#include "associations/RegistryAssociations.h"
#include "services/NativeWindows.h"
#include "services/ProcessLauncher.h"
#include "services/SystemInformation.h"
#include "services/win/SystemWinsock.h"
#include "services/win/WinRegistry.h"
#include "services/win/WinsockLayer.h"

// Windows: the shell reads the file associations from the registry, which also names the
// system information tool.
struct PlatformServices::Parts
{
    explicit Parts(UserDialogs &dialogs)
        : sockets(winsock)
        , associations(registry)
        , sysInfo(registry, launcher, dialogs)
    { }

    DetachedProcessLauncher launcher;
    win::WinRegistry registry;
    win::SystemWinsock winsock;
    win::WinsockLayer sockets;
    RegistryAssociations associations;
    RegistrySystemInformation sysInfo;
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
    // The engine's sandbox does not depend on the account there.
    return false;
}
