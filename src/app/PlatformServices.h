#pragma once

#include <memory>

class FileAssociations;
class NativeWindows;
class ProcessLauncher;
class SocketLayer;
class SystemInformation;
class UserDialogs;

// The edges of the platform the program runs on, made once by main() and handed in: where the
// desktop keeps file associations, the system information tool, the socket layer, the window
// system's windows and the starting of other programs. Which platform's set is built is chosen
// by the build: one source file per platform defines the parts (PlatformServicesPosix.cpp,
// PlatformServicesWindows.cpp).
class PlatformServices
{
public:
    // dialogs: where the services' messages to the person go (System Info's "unavailable").
    explicit PlatformServices(UserDialogs &dialogs);
    ~PlatformServices();
    PlatformServices(const PlatformServices &) = delete;
    PlatformServices &operator=(const PlatformServices &) = delete;

    ProcessLauncher &Launcher() { return *m_launcher; }
    FileAssociations &Associations() { return *m_associations; }
    SystemInformation &SysInfo() { return *m_sysInfo; }
    SocketLayer &Sockets() { return *m_sockets; }
    NativeWindows &Windows() { return *m_windows; }

    // Whether the process runs with the rights of the system's administrator account, under
    // which the engine refuses its sandbox.
    static bool RunningAsRoot();

private:
    // The platform's own objects, made by its source file, which points the members below at
    // them.
    struct Parts;
    std::unique_ptr<Parts> m_parts;
    ProcessLauncher *m_launcher = nullptr;
    FileAssociations *m_associations = nullptr;
    SystemInformation *m_sysInfo = nullptr;
    SocketLayer *m_sockets = nullptr;
    NativeWindows *m_windows = nullptr;
};
