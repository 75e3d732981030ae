#pragma once

#include <QString>
#include <QStringList>

class ProcessLauncher;
class Registry;
class QWidget;
class UserDialogs;

// The platform's system information tool, for About's "System Info" button.
class SystemInformation
{
public:
    virtual ~SystemInformation() = default;
    // Starts the tool, or tells the user that there is none.
    virtual void StartSysInfo(QWidget *parent) = 0;
};

// The first of a few known system information programs found on PATH.
class PathSystemInformation : public SystemInformation
{
public:
    // programs: the names looked for, in order; by default DefaultPrograms().
    PathSystemInformation(ProcessLauncher &launcher, UserDialogs &dialogs,
                          const QStringList &programs = DefaultPrograms());
    static QStringList DefaultPrograms();
    void StartSysInfo(QWidget *parent) override;

private:
    ProcessLauncher &m_launcher;
    UserDialogs &m_dialogs;
    QStringList m_programs;
};

// The tool that the registry names (services/win/SysInfoLookup.h): its full path under the
// MSINFO key, else the folder under the shared tools' locations.
class RegistrySystemInformation : public SystemInformation
{
public:
    RegistrySystemInformation(Registry &registry, ProcessLauncher &launcher, UserDialogs &dialogs);
    void StartSysInfo(QWidget *parent) override;

private:
    Registry &m_registry;
    ProcessLauncher &m_launcher;
    UserDialogs &m_dialogs;
};
