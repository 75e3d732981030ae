#pragma once

#include <QString>

// Where the desktop keeps which program opens which kind of file.
class FileAssociations
{
public:
    virtual ~FileAssociations() = default;
    // Makes the program at executablePath the opener of files with the extension ("jpg").
    // False when that could not be recorded.
    virtual bool CreateAssociation(const QString &executablePath, const QString &extension) = 0;
    // Takes the program off as the opener of files with the extension (".jpg"). False when it
    // could not be taken off.
    virtual bool RemoveAssociation(const QString &extension) = 0;
    // Tells the desktop that associations changed.
    virtual void NotifyAssociationChange() = 0;
};
