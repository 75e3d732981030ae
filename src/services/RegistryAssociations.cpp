#include "services/RegistryAssociations.h"

#include "services/Module3.h"
#include "services/Module4.h"

RegistryAssociations::RegistryAssociations(Registry &registry, std::function<void()> notifyShell)
    : m_registry(registry)
    , m_notifyShell(notifyShell ? std::move(notifyShell)
                                : std::function<void()>([] { ::NotifyAssociationChange(); }))
{ }

bool RegistryAssociations::CreateAssociation(const QString &executablePath,
                                             const QString &extension)
{
    // The shell runs the command as written, so it must name the program with the platform's
    // separators; Qt hands paths around with forward slashes.
    QString path = executablePath;
    path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return ::CreateAssociation(m_registry, path, extension);
}

bool RegistryAssociations::RemoveAssociation(const QString &extension)
{
    return ::RemoveAssociation(m_registry, extension);
}

void RegistryAssociations::NotifyAssociationChange()
{
    m_notifyShell();
}
