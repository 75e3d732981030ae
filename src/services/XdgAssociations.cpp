#include "services/XdgAssociations.h"

#include "services/ProcessLauncher.h"
#include "services/XdgFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

QString UserFolder(const char *variable, const QString &fallbackUnderHome)
{
    const QString value = qEnvironmentVariable(variable);
    // The rules ignore a relative path.
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return value;
    return QDir::homePath() + QLatin1Char('/') + fallbackUnderHome;
}

bool WriteWhole(const QString &path, const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

// The file's content; empty for a file that is not there. False when it is there but cannot be
// read, so that nobody writes it anew from nothing.
bool ReadWhole(const QString &path, QByteArray *bytes)
{
    bytes->clear();
    if (!QFileInfo::exists(path))
        return true;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return file.error() == QFileDevice::NoError;
}

} // namespace

XdgAssociations::XdgAssociations(ProcessLauncher &launcher, const QString &dataHome,
                                 const QString &configHome)
    : m_launcher(launcher)
    , m_dataHome(dataHome)
    , m_configHome(configHome)
{ }

QString XdgAssociations::DataHome()
{
    return UserFolder("XDG_DATA_HOME", QStringLiteral(".local/share"));
}

QString XdgAssociations::ConfigHome()
{
    return UserFolder("XDG_CONFIG_HOME", QStringLiteral(".config"));
}

QString XdgAssociations::ApplicationsFolder() const
{
    return m_dataHome + QStringLiteral("/applications");
}

QString XdgAssociations::DesktopEntryPath() const
{
    return ApplicationsFolder() + QLatin1Char('/') + QLatin1String(DesktopEntryId);
}

QString XdgAssociations::MimeAppsListPath() const
{
    return m_configHome + QStringLiteral("/mimeapps.list");
}

bool XdgAssociations::CreateAssociation(const QString &executablePath, const QString &extension)
{
    const QString mimeType = MimeTypeForExtension(extension);
    if (mimeType.isEmpty())
        return false;
    if (!WriteWhole(DesktopEntryPath(), DesktopEntry(executablePath)))
        return false;
    QByteArray list;
    if (!ReadWhole(MimeAppsListPath(), &list))
        return false;
    return WriteWhole(MimeAppsListPath(),
                      SetDefaultApplication(list, mimeType, QLatin1String(DesktopEntryId)));
}

bool XdgAssociations::RemoveAssociation(const QString &extension)
{
    const QString mimeType = MimeTypeForExtension(extension);
    if (mimeType.isEmpty())
        return false;
    QByteArray list;
    if (!ReadWhole(MimeAppsListPath(), &list))
        return false;
    const QByteArray changed
        = RemoveDefaultApplication(list, mimeType, QLatin1String(DesktopEntryId));
    return changed == list || WriteWhole(MimeAppsListPath(), changed);
}

void XdgAssociations::NotifyAssociationChange()
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
    if (tool.isEmpty() || !QFileInfo(ApplicationsFolder()).isDir())
        return;
    m_launcher.Launch(tool, {ApplicationsFolder()}, ProcessLauncher::WindowStyle::Normal);
}
