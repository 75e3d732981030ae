#include "associations/XdgAssociations.h"

#include "associations/XdgFiles.h"
#include "services/ProcessLauncher.h"
#include "settings/SaveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    return WriteFileAtomically(path, bytes);
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

// An entry earlier versions of the wizard wrote under the installed entry's id: it hides the
// installed one, and outlives the program's removal.
void RemoveOldWizardEntry(const QString &applicationsFolder)
{
    const QString path = applicationsFolder + QLatin1Char('/') + QLatin1String(DesktopEntryId);
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)
        && file.readLine().startsWith("# Written by QuorBrowser's Association Wizard.")) {
        file.close();
        QFile::remove(path);
    }
}

} // namespace

XdgAssociations::XdgAssociations(ProcessLauncher &launcher, const QString &dataHome,
                                 const QString &configHome, const QStringList &dataDirs)
    : m_launcher(launcher)
    , m_dataHome(dataHome)
    , m_configHome(configHome)
    , m_dataDirs(dataDirs)
{ }

QStringList XdgAssociations::DataDirs()
{
    QStringList dirs;
    for (const QString &dir : qEnvironmentVariable("XDG_DATA_DIRS").split(QLatin1Char(':')))
        if (QDir::isAbsolutePath(dir))
            dirs << dir;
    if (dirs.isEmpty())
        dirs = QStringList {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    return dirs;
}

QString XdgAssociations::InstalledEntryFor(const QString &executablePath) const
{
    const QString ours = QFileInfo(executablePath).canonicalFilePath();
    for (const QString &dir : m_dataDirs) {
        QByteArray entry;
        const QString path = dir + QStringLiteral("/applications/") + QLatin1String(DesktopEntryId);
        if (!QFileInfo(path).isFile() || !ReadWhole(path, &entry))
            continue;
        QString program = DesktopEntryProgram(entry);
        if (!program.contains(QLatin1Char('/')))
            program = QStandardPaths::findExecutable(program);
        if (!ours.isEmpty() && QFileInfo(program).canonicalFilePath() == ours)
            return QLatin1String(DesktopEntryId);
    }
    return QString();
}

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
    return ApplicationsFolder() + QLatin1Char('/') + QLatin1String(PortableEntryId);
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
    QByteArray list;
    if (!ReadWhole(MimeAppsListPath(), &list))
        return false;
    RemoveOldWizardEntry(ApplicationsFolder());
    QString id = InstalledEntryFor(executablePath);
    if (id.isEmpty()) {
        // A copy that is not installed: an entry of its own, with every type it was given.
        id = QLatin1String(PortableEntryId);
        QByteArray entry;
        if (!ReadWhole(DesktopEntryPath(), &entry))
            return false;
        QStringList types = DesktopEntryMimeTypes(entry);
        types << mimeType;
        if (!WriteWhole(DesktopEntryPath(), DesktopEntry(executablePath, types)))
            return false;
    }
    list = SetDefaultApplication(list, mimeType, id);
    list = SetDefaultApplication(list, mimeType, id, AddedAssociationsGroup);
    return WriteWhole(MimeAppsListPath(), list);
}

bool XdgAssociations::RemoveAssociation(const QString &extension)
{
    const QString mimeType = MimeTypeForExtension(extension);
    if (mimeType.isEmpty())
        return false;
    QByteArray list;
    if (!ReadWhole(MimeAppsListPath(), &list))
        return false;
    QByteArray changed = list;
    for (const char *id : {DesktopEntryId, PortableEntryId}) {
        for (const char *group : {DefaultApplicationsGroup, AddedAssociationsGroup})
            changed = RemoveDefaultApplication(changed, mimeType, QLatin1String(id), group);
    }
    if (changed != list && !WriteWhole(MimeAppsListPath(), changed))
        return false;
    RemoveOldWizardEntry(ApplicationsFolder());

    // The wizard's own entry: without the type, unless every entry of the program opens it;
    // gone once nothing names it.
    QByteArray entry;
    if (!QFileInfo(DesktopEntryPath()).isFile() || !ReadWhole(DesktopEntryPath(), &entry))
        return true;
    if (!NamesApplication(changed, QLatin1String(PortableEntryId)))
        return QFile::remove(DesktopEntryPath());
    QStringList types = DesktopEntryMimeTypes(entry);
    if (QString::fromLatin1(BrowserMimeTypes).split(QLatin1Char(';')).contains(mimeType)
        || !types.removeAll(mimeType))
        return true;
    const QString program = DesktopEntryProgram(entry);
    return WriteWhole(DesktopEntryPath(), DesktopEntry(program, types));
}

void XdgAssociations::NotifyAssociationChange()
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
    if (tool.isEmpty() || !QFileInfo(ApplicationsFolder()).isDir())
        return;
    m_launcher.Launch(tool, {ApplicationsFolder()}, ProcessLauncher::WindowStyle::Normal);
}
