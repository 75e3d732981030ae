#include "app/ProcessInstanceStarter.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

bool ProcessInstanceStarter::StartInstance()
{
    QProcess process;
    process.setProgram(m_program.isEmpty() ? QCoreApplication::applicationFilePath() : m_program);
    process.setArguments({});
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(StartMinimizedVariable), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    return process.startDetached(&m_lastPid);
}
