#include "services/ProcessInstanceStarter.h"

#include <QCoreApplication>

bool ProcessInstanceStarter::StartInstance()
{
    return m_launcher.Launch(m_program.isEmpty() ? QCoreApplication::applicationFilePath()
                                                 : m_program,
                             {}, ProcessLauncher::WindowStyle::MinimizedWithFocus);
}
