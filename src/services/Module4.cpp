#include "services/Module4.h"

#include "services/win/Associations.h"

QString ExeNameFromPath(const QString &path)
{
    return QString::fromStdWString(win::ExeNameFromPath(path.toStdWString()));
}

bool CreateAssociation(Registry &registry, const QString &path, const QString &extension)
{
    return win::CreateAssociation(registry, path.toStdWString(), extension.toStdWString());
}
