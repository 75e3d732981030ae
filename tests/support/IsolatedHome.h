#pragma once

#include <QDir>
#include <QTemporaryDir>

// Points HOME and the user's XDG folders into a temporary folder for the whole run of a test
// program. Made as a static object, it is in place before the application object exists, so
// nothing the toolkit or a started tool writes reaches the real user's home.
class IsolatedHome
{
public:
    IsolatedHome()
    {
        Point("HOME", QStringLiteral("home"));
        Point("XDG_CONFIG_HOME", QStringLiteral("home/.config"));
        Point("XDG_DATA_HOME", QStringLiteral("home/.local/share"));
        Point("XDG_CACHE_HOME", QStringLiteral("home/.cache"));
    }
    QString Path() const { return m_dir.path(); }

private:
    void Point(const char *variable, const QString &folder)
    {
        const QString path = m_dir.filePath(folder);
        QDir().mkpath(path);
        qputenv(variable, QFile::encodeName(path));
    }

    QTemporaryDir m_dir;
};
