#include "services/Module3.h"

#include "services/Registry.h"

#ifdef Q_OS_WIN
#include <qt_windows.h>
#include <shlobj.h>
#endif

bool RemoveAssociation(Registry &registry, const QString &extension)
{
    // An empty name would take the whole root with it.
    if (extension.isEmpty())
        return false;
    const long result = registry.DeleteKey(RegistryRoot::ClassesRoot, extension);
    return result == RegistryResult::Success || result == RegistryResult::FileNotFound;
}

void NotifyAssociationChange()
{
#ifdef Q_OS_WIN
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
#endif
}
