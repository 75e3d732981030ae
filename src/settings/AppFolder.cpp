#include "settings/AppFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString ChooseApplicationFolder(const QString &executableFolder, bool executableFolderWritable,
                                const QString &homeVariable, const QString &userDataFolder)
{
    if (!homeVariable.isEmpty())
        return QDir::cleanPath(homeVariable);
    if (executableFolderWritable)
        return executableFolder;
    return QDir::cleanPath(userDataFolder + QStringLiteral("/QuorBrowser"));
}

QString ApplicationFolder()
{
    const QString exeFolder = QCoreApplication::applicationDirPath();
    const QString folder = ChooseApplicationFolder(
        exeFolder, QFileInfo(exeFolder).isWritable(), qEnvironmentVariable("QUORBROWSER_HOME"),
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    QDir().mkpath(folder);
    return QDir(folder).absolutePath();
}

QString AppFilePath(const QString &folder, const QString &name)
{
    QString bare = name;
    while (bare.startsWith(QLatin1Char('\\')) || bare.startsWith(QLatin1Char('/')))
        bare.remove(0, 1);
    const QDir dir(folder);
    // Sorted, so two files whose names differ only in case always resolve to the same one, for
    // reading and for writing alike, whatever spelling asks.
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(bare, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return dir.filePath(bare);
}
