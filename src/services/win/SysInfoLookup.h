#pragma once

#include "services/win/Registry.h"

#include <cstddef>
#include <functional>
#include <string>

// Where the registry says the system information tool is, for About's "System Info" button.
namespace win {

// The room GetKeyValue reads a value into, its NUL included.
inline constexpr std::size_t KeyValueBufferSize = 1024;

// The key whose value "PATH" is the tool's full path.
inline constexpr char MsInfoKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
// The key whose value "MSINFO" is the folder that holds the tool.
inline constexpr char SharedToolsLocationKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";
// The tool's file in that folder.
inline constexpr char MsInfoFileName[] = "\\MSINFO32.EXE";

// Reads the text value valueName of the key keyName under root into keyVal, opening the key
// with RegistryLookupAccess. True when the value was read; keyVal then holds it up to its first
// NUL, or nothing when it is not a text. False, with keyVal empty, when the key cannot be
// opened or the value cannot be read (also when it does not fit in KeyValueBufferSize bytes).
bool GetKeyValue(Registry &registry, RegistryRoot root, const std::string &keyName,
                 const std::string &valueName, std::string &keyVal);

// The tool's path: the full path registered under MsInfoKey; else, when that cannot be read,
// the registered folder followed by MsInfoFileName if fileExists says that file is there.
// Empty when neither names a tool (a full path that is no text names none either).
std::string FindSysInfoTool(Registry &registry,
                            const std::function<bool(const std::string &path)> &fileExists);

} // namespace win
