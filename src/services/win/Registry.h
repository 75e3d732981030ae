#pragma once

#include <cstdint>
#include <string>

// The predefined roots the program reads and writes under.
enum class RegistryRoot {
    ClassesRoot, // HKEY_CLASSES_ROOT: file associations
    LocalMachine, // HKEY_LOCAL_MACHINE: where the system information tool is registered
};

// An open key, as handed out by OpenKey and CreateKey.
using RegistryKey = std::uintptr_t;

// Results of registry calls, with the platform's values.
namespace RegistryResult {
inline constexpr long Success = 0;
inline constexpr long FileNotFound = 2;
inline constexpr long AccessDenied = 5;
inline constexpr long MoreData = 234; // the value does not fit in the buffer
} // namespace RegistryResult

// The type of a text value.
inline constexpr std::uint32_t RegistryStringType = 1; // REG_SZ

// Read access (query value, enumerate subkeys, notify, read control): what the system
// information look-up asks for when it opens a key. It only reads; asking for write rights
// under HKEY_LOCAL_MACHINE is refused to a person who is not an administrator, and System Info
// would then never start.
inline constexpr std::uint32_t RegistryLookupAccess = 0x20019;

// The system registry, as the association wizard and the About window use it. Every call
// answers RegistryResult::Success or the platform's error code.
//
// What the wizard writes names the program's own path, which may hold any character, so those
// calls take wide texts. The look-ups read what other programs registered into a buffer
// measured in bytes, so they take texts in the system's code page.
class Registry
{
public:
    virtual ~Registry() = default;
    // Creates the key under root, with any missing keys above it, or opens it when it exists.
    virtual long CreateKey(RegistryRoot root, const std::wstring &subKey, RegistryKey *key) = 0;
    // Sets the default (unnamed) text value of key's subKey, created when missing; an empty
    // subKey sets the key's own.
    virtual long SetValue(RegistryKey key, const std::wstring &subKey, const std::wstring &data)
        = 0;
    // Deletes the key under root with everything below it.
    virtual long DeleteKey(RegistryRoot root, const std::wstring &subKey) = 0;
    // Opens an existing key.
    virtual long OpenKey(RegistryRoot root, const std::string &subKey, std::uint32_t access,
                         RegistryKey *key)
        = 0;
    // Reads a value: on entry data's size is the room there is; on success data holds the
    // value's bytes as stored (a text with its NUL) and type its type. MoreData when it does
    // not fit.
    virtual long QueryValue(RegistryKey key, const std::string &valueName, std::uint32_t *type,
                            std::string *data)
        = 0;
    virtual long CloseKey(RegistryKey key) = 0;
};
