#pragma once

#include <QString>

class Registry;

// Taking an association away again, and telling the shell: the rules of
// services/win/Associations.h for the program's texts.

// Deletes the extension's key (".jpg") under HKEY_CLASSES_ROOT; the program's class key stays.
// True when the key is gone, also when there was none.
bool RemoveAssociation(Registry &registry, const QString &extension);

// Tells the shell that file associations changed, so that it shows and opens files by the new
// ones at once. Does nothing where there is no such shell.
void NotifyAssociationChange();
