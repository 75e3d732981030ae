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
    // The engine's sandbox does not depend on the account there.
    return false;
}
