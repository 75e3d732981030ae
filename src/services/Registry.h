#pragma once

#include <QByteArray>
#include <QString>

// The predefined roots the program reads and writes under.
enum class RegistryRoot {
    ClassesRoot, // HKEY_CLASSES_ROOT: file associations
    LocalMachine, // HKEY_LOCAL_MACHINE: where the system information tool is registered
};

// An open key, as handed out by OpenKey and CreateKey.
using RegistryKey = quintptr;

// Results of registry calls, with the platform's values.
namespace RegistryResult {
inline constexpr long Success = 0;
inline constexpr long FileNotFound = 2;
inline constexpr long AccessDenied = 5;
inline constexpr long MoreData = 234; // the value does not fit in the buffer
} // namespace RegistryResult

// The type of a text value.
inline constexpr quint32 RegistryStringType = 1; // REG_SZ

// Query value, set value, create subkey, enumerate subkeys, notify, create link and read
// control: what the system information look-up asks for when it opens a key.
inline constexpr quint32 RegistryLookupAccess = 0x2003F;

// The system registry, as the association wizard and the About window use it. Every call
// answers RegistryResult::Success or the platform's error code.
class Registry
{
public:
    virtual ~Registry() = default;
    // Creates the key under root, with any missing keys above it, or opens it when it exists.
    virtual long CreateKey(RegistryRoot root, const QString &subKey, RegistryKey *key) = 0;
    // Sets the default (unnamed) text value of key's subKey, created when missing; an empty
    // subKey sets the key's own.
    virtual long SetValue(RegistryKey key, const QString &subKey, const QString &data) = 0;
    // Deletes the key under root with everything below it.
    virtual long DeleteKey(RegistryRoot root, const QString &subKey) = 0;
    // Opens an existing key.
    virtual long OpenKey(RegistryRoot root, const QString &subKey, quint32 access, RegistryKey *key)
        = 0;
    // Reads a value: on entry data's size is the room there is; on success data holds the
    // value's bytes as stored (a text with its NUL) and type its type. MoreData when it does
    // not fit.
    virtual long QueryValue(RegistryKey key, const QString &valueName, quint32 *type,
                            QByteArray *data)
        = 0;
    virtual long CloseKey(RegistryKey key) = 0;
};
