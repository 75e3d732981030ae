#include "associations/RegistryAssociations.h"

#include "services/win/Associations.h"

RegistryAssociations::RegistryAssociations(Registry &registry, std::function<void()> notifyShell)
    : m_registry(registry)
    , m_notifyShell(notifyShell ? std::move(notifyShell)
                                : std::function<void()>([] { win::NotifyAssociationChange(); }))
{ }

QString RegistryAssociations::ExeNameFromPath(const QString &path)
{
    return QString::fromStdWString(win::ExeNameFromPath(path.toStdWString()));
}

bool RegistryAssociations::CreateAssociation(const QString &executablePath,
                                             const QString &extension)
{
    // The shell runs the command as written, so it must name the program with the platform's
    // separators; Qt hands paths around with forward slashes.
    QString path = executablePath;
    path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return win::CreateAssociation(m_registry, path.toStdWString(), extension.toStdWString());
}

bool RegistryAssociations::RemoveAssociation(const QString &extension)
{
    return win::RemoveAssociation(m_registry, extension.toStdWString());
}

void RegistryAssociations::NotifyAssociationChange()
{
    m_notifyShell();
}
