#include "services/SystemInformation.h"

#include "services/ProcessLauncher.h"
#include "services/UserDialogs.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace {

void ShowUnavailable(UserDialogs &dialogs, QWidget *parent)
{
    dialogs.MessageBox(parent, QStringLiteral("System Information Is Unavailable At This Time"),
                       QStringLiteral("QuorBrowser"));
}

} // namespace

PathSystemInformation::PathSystemInformation(ProcessLauncher &launcher, UserDialogs &dialogs,
                                             const QStringList &programs)
    : m_launcher(launcher)
    , m_dialogs(dialogs)
    , m_programs(programs)
{ }

QStringList PathSystemInformation::DefaultPrograms()
{
    return {QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
            QStringLiteral("gnome-system-monitor")};
}

void PathSystemInformation::StartSysInfo(QWidget *parent)
{
    for (const QString &program : m_programs) {
        const QString path = QStandardPaths::findExecutable(program);
        if (!path.isEmpty() && m_launcher.Launch(path, {}, ProcessLauncher::WindowStyle::Normal))
            return;
    }
    ShowUnavailable(m_dialogs, parent);
}

RegistrySystemInformation::RegistrySystemInformation(Registry &registry, ProcessLauncher &launcher,
                                                     UserDialogs &dialogs)
    : m_registry(registry)
    , m_launcher(launcher)
    , m_dialogs(dialogs)
{ }

void RegistrySystemInformation::StartSysInfo(QWidget *parent)
{
    QString path;
    if (!GetKeyValue(m_registry, RegistryRoot::LocalMachine,
                     QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                     QStringLiteral("PATH"), path)) {
        QString folder;
        if (GetKeyValue(m_registry, RegistryRoot::LocalMachine,
                        QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                        QStringLiteral("MSINFO"), folder)
            && QFileInfo::exists(folder + QStringLiteral("\\MSINFO32.EXE")))
            path = folder + QStringLiteral("\\MSINFO32.EXE");
    }
    // A value that is no text names no tool, and a tool that will not start is as good as none.
    if (!path.isEmpty() && m_launcher.Launch(path, {}, ProcessLauncher::WindowStyle::Normal))
        return;
    ShowUnavailable(m_dialogs, parent);
}

bool GetKeyValue(Registry &registry, RegistryRoot root, const QString &keyName,
                 const QString &valueName, QString &keyVal)
{
    keyVal.clear();
    RegistryKey key = 0;
    if (registry.OpenKey(root, keyName, RegistryLookupAccess, &key) != RegistryResult::Success)
        return false;
    QByteArray data(KeyValueBufferSize, '\0');
    quint32 type = 0;
    const bool read = registry.QueryValue(key, valueName, &type, &data) == RegistryResult::Success;
    if (read) {
        const int nul = data.indexOf('\0');
        if (nul >= 0)
            data.truncate(nul);
        if (type == RegistryStringType)
            keyVal = QString::fromLocal8Bit(data);
    }
    registry.CloseKey(key);
    return read;
}
