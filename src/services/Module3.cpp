#include "services/Module3.h"

#include "services/win/Associations.h"

bool RemoveAssociation(Registry &registry, const QString &extension)
{
    return win::RemoveAssociation(registry, extension.toStdWString());
}

void NotifyAssociationChange()
{
    win::NotifyAssociationChange();
}
