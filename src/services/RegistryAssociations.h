#pragma once

#include "services/FileAssociations.h"

#include <functional>

class Registry;

// Associations kept in the registry under HKEY_CLASSES_ROOT, as a Windows shell reads them.
class RegistryAssociations : public FileAssociations
{
public:
    // notifyShell: tells the shell that associations changed; by default the system's shell.
    explicit RegistryAssociations(Registry &registry, std::function<void()> notifyShell = {});

    bool CreateAssociation(const QString &executablePath, const QString &extension) override;
    bool RemoveAssociation(const QString &extension) override;
    void NotifyAssociationChange() override;

private:
    Registry &m_registry;
    std::function<void()> m_notifyShell;
};
