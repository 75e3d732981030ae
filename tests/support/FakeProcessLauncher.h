#pragma once

#include "services/ProcessLauncher.h"

#include <QList>

// Records the programs it is asked to start instead of starting them; answers as told.
class FakeProcessLauncher : public ProcessLauncher
{
public:
    struct Started
    {
        QString program;
        QStringList arguments;
        WindowStyle style;
    };
    bool Launch(const QString &program, const QStringList &arguments, WindowStyle style) override
    {
        launched.append({program, arguments, style});
        return succeeds;
    }

    QList<Started> launched;
    bool succeeds = true;
};
