#include "settings/SaveFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <cstdio>
#include <unistd.h>
#endif

bool WriteFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool IsLeftoverSaveName(const QString &name, const QStringList &fileNames)
{
    // The temporary file's name is the file's, a dot and six letters or digits.
    if (name.size() < 8 || name.at(name.size() - 7) != QLatin1Char('.'))
        return false;
    for (qsizetype i = name.size() - 6; i < name.size(); ++i)
        if (!name.at(i).isLetterOrNumber() || name.at(i).unicode() > 127)
            return false;
    const QString base = name.left(name.size() - 7);
    for (QString file : fileNames) {
        while (file.startsWith(QLatin1Char('\\')) || file.startsWith(QLatin1Char('/')))
            file.remove(0, 1);
        if (base.compare(file, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

int RemoveLeftoverSaves(const QString &folder, const QStringList &fileNames,
                        const QDateTime &notAfter)
{
    int removed = 0;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo &f : files) {
        if (IsLeftoverSaveName(f.fileName(), fileNames) && f.lastModified() < notAfter
            && QFile::remove(f.filePath()))
            ++removed;
    }
    return removed;
}

bool WriteFileThrough(const QString &path, const QByteArray &bytes,
                      const std::function<void()> &afterOpen)
{
    return WriteFileThrough(path, QByteArrayList {bytes}, afterOpen);
}

bool WriteFileThrough(const QString &path, const QByteArrayList &pieces,
                      const std::function<void()> &afterOpen)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    if (afterOpen)
        afterOpen();
    for (const QByteArray &piece : pieces) {
        if (file.write(piece) != piece.size())
            return false;
    }
    // On the disk before anything that names it as complete is written.
    if (!file.flush())
        return false;
#ifdef Q_OS_WIN
    return _commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

bool ReplaceFile(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(to).utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
    return std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}
