#include "app/ProcessInstanceStarter.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

bool ProcessInstanceStarter::StartInstance()
{
    QProcess process;
    process.setProgram(QCoreApplication::applicationFilePath());
    process.setArguments({});
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(StartMinimizedVariable), QStringLiteral("1"));
    process.setProcessEnvironment(env);
    return process.startDetached();
}
