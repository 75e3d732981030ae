#pragma once

#include "services/Registry.h"

#include <QString>
#include <QStringList>

class ProcessLauncher;
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

// The tool that the registry names: its full path under the MSINFO key, else the folder under
// the shared tools' locations.
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

// The room GetKeyValue reads a value into, its NUL included.
inline constexpr int KeyValueBufferSize = 1024;

// Reads the text value valueName of the key keyName under root into keyVal. True when the
// value was read; keyVal then holds it up to its first NUL, or nothing when it is not a text.
// False, with keyVal empty, when the key cannot be opened or the value cannot be read (also
// when it does not fit in KeyValueBufferSize bytes).
bool GetKeyValue(Registry &registry, RegistryRoot root, const QString &keyName,
                 const QString &valueName, QString &keyVal);
