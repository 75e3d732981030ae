#pragma once

#include "services/win/Registry.h"

#include <string>

// Making the program the opener of a file kind under HKEY_CLASSES_ROOT, taking that away
// again, and telling the shell.
namespace win {

// The class name under which the program registers: the path's last component, after the last
// backslash, without surrounding spaces and without one trailing NUL.
std::wstring ExeNameFromPath(const std::wstring &path);

// The command the shell runs to open a document: the quoted path, so that a folder with blanks
// stays one program name, and the document in place of %1.
std::wstring OpenCommand(const std::wstring &path);

// Writes the extension's key naming the class, and the class's open command and icon.
// extension: "jpg" or ".jpg". Stops at the first failing call; what was written before it
// stays. True when every call succeeded.
bool CreateAssociation(Registry &registry, const std::wstring &path, const std::wstring &extension);

// Deletes the extension's key (".jpg"); the program's class key stays. True when the key is
// gone, also when there was none.
bool RemoveAssociation(Registry &registry, const std::wstring &extension);

// Tells the shell that file associations changed, so that it shows and opens files by the new
// ones at once. Does nothing where there is no such shell.
void NotifyAssociationChange();

} // namespace win
