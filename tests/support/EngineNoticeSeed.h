#pragma once

#include "app/EngineNotice.h"

#include <QDir>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>

// The engine a built or installed program runs on, as the second line of its --version names
// it; none when it names none. Asked once per program.
inline std::optional<EngineVersion> ProgramEngine(const QString &program)
{
    static QHash<QString, EngineVersion> known;
    if (known.contains(program))
        return known.value(program);
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    p.start(program, {QStringLiteral("--version")});
    if (!p.waitForFinished(20000)) {
        p.kill();
        p.waitForFinished(5000);
        return std::nullopt;
    }
    static const QRegularExpression line(
        QStringLiteral("^Qt WebEngine (\\S+), Chromium (\\S+), security fixes to Chromium (\\S+)$"),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = line.match(QString::fromLocal8Bit(p.readAllStandardOutput()));
    if (!m.hasMatch())
        return std::nullopt;
    const EngineVersion engine {m.captured(1), m.captured(2), m.captured(3)};
    known.insert(program, engine);
    return engine;
}

// An application folder that has been told about the program's engine already: the program
// started there says nothing about old security fixes, and so behaves as it did before that
// word existed. The tests of the word itself start without it.
inline bool SeedEngineNotice(const QString &appFolder, const QString &program)
{
    const std::optional<EngineVersion> engine = ProgramEngine(program);
    return engine && QDir().mkpath(appFolder) && WriteEngineNotice(appFolder, *engine);
}
