#pragma once

#include <QString>

class Registry;

// Making the program the opener of a file kind, in the registry: the rules of
// services/win/Associations.h for the program's texts.

// The class name under which the program registers: the path's last component, after the last
// backslash, without surrounding spaces and without one trailing NUL.
QString ExeNameFromPath(const QString &path);

// Writes the extension's key naming the class, and the class's open command (the quoted path)
// and icon, under HKEY_CLASSES_ROOT. extension: "jpg" or ".jpg". Stops at the first failing
// call; what was written before it stays. True when every call succeeded.
bool CreateAssociation(Registry &registry, const QString &path, const QString &extension);
