#pragma once

#include "associations/FileAssociations.h"

#include <QSet>
#include <QStringList>

// Records what it is asked to do, one line a call, into log (its own calls unless pointed
// elsewhere); associating or taking away the extensions in failing fails.
class FakeFileAssociations : public FileAssociations
{
public:
    bool CreateAssociation(const QString &executablePath, const QString &extension) override
    {
        *log << QStringLiteral("Create ") + extension + QStringLiteral(" for ") + executablePath;
        return !failing.contains(extension);
    }
    bool RemoveAssociation(const QString &extension) override
    {
        *log << QStringLiteral("Remove ") + extension;
        return !failing.contains(extension);
    }
    void NotifyAssociationChange() override { *log << QStringLiteral("Notify"); }

    QStringList calls;
    QStringList *log = &calls;
    QSet<QString> failing;
};
