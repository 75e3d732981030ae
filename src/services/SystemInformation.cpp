#include "services/SystemInformation.h"

#include "services/ProcessLauncher.h"
#include "services/UserDialogs.h"
#include "services/win/SysInfoLookup.h"

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
    // The registry's texts are in the system's code page.
    const std::string tool = win::FindSysInfoTool(m_registry, [](const std::string &path) {
        return QFileInfo::exists(QString::fromLocal8Bit(path.data(), qsizetype(path.size())));
    });
    const QString path = QString::fromLocal8Bit(tool.data(), qsizetype(tool.size()));
    // A tool that will not start is as good as none.
    if (!path.isEmpty() && m_launcher.Launch(path, {}, ProcessLauncher::WindowStyle::Normal))
        return;
    ShowUnavailable(m_dialogs, parent);
}
