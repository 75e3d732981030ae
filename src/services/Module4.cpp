#include "services/Module4.h"

#include "services/Registry.h"

namespace {

QString TrimSpaces(const QString &text)
{
    int start = 0;
    int end = text.size();
    while (start < end && text.at(start) == QLatin1Char(' '))
        ++start;
    while (end > start && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(start, end - start);
}

// Creates the key and sets its (or its subkey's) default value; the key is closed again.
bool WriteDefaultValue(Registry &registry, const QString &keyName, const QString &subKey,
                       const QString &data)
{
    RegistryKey key = 0;
    if (registry.CreateKey(RegistryRoot::ClassesRoot, keyName, &key) != RegistryResult::Success)
        return false;
    const bool written = registry.SetValue(key, subKey, data) == RegistryResult::Success;
    registry.CloseKey(key);
    return written;
}

} // namespace

QString ExeNameFromPath(const QString &path)
{
    QString name = TrimSpaces(path.mid(path.lastIndexOf(QLatin1Char('\\')) + 1));
    if (name.endsWith(QChar(0)))
        name.chop(1);
    return name;
}

QString OpenCommand(const QString &path)
{
    return QLatin1Char('"') + path + QStringLiteral("\" %1");
}

bool CreateAssociation(Registry &registry, const QString &path, const QString &extension)
{
    const QString className = ExeNameFromPath(path);
    const QString key
        = extension.contains(QLatin1Char('.')) ? extension : QLatin1Char('.') + extension;
    return WriteDefaultValue(registry, key, QString(), className)
        && WriteDefaultValue(registry, className, QStringLiteral("shell\\open\\command"),
                             OpenCommand(path))
        && WriteDefaultValue(registry, className, QStringLiteral("DefaultIcon"), path);
}
