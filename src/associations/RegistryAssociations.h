#pragma once

#include "associations/FileAssociations.h"

#include <functional>

class Registry;

// Associations kept in the registry under HKEY_CLASSES_ROOT, as a Windows shell reads them: the
// rules of services/win/Associations.h for the program's texts.
class RegistryAssociations : public FileAssociations
{
public:
    // notifyShell: tells the shell that associations changed; by default the system's shell.
    explicit RegistryAssociations(Registry &registry, std::function<void()> notifyShell = {});

    // The class name under which the program registers: the path's last component, after the
    // last backslash, without surrounding spaces and without one trailing NUL.
    static QString ExeNameFromPath(const QString &path);

    // Writes the extension's key naming the class, and the class's open command (the quoted
    // path) and icon. extension: "jpg" or ".jpg". Stops at the first failing call; what was
    // written before it stays. True when every call succeeded.
    bool CreateAssociation(const QString &executablePath, const QString &extension) override;
    // Deletes the extension's key (".jpg"); the program's class key stays. True when the key is
    // gone, also when there was none.
    bool RemoveAssociation(const QString &extension) override;
    void NotifyAssociationChange() override;

private:
    Registry &m_registry;
    std::function<void()> m_notifyShell;
};
