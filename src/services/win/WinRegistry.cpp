#include "services/win/WinRegistry.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

namespace win {

namespace {

HKEY RootKey(RegistryRoot root)
{
    return root == RegistryRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
}

HKEY Handle(RegistryKey key)
{
    return reinterpret_cast<HKEY>(key);
}

} // namespace

long WinRegistry::CreateKey(RegistryRoot root, const std::wstring &subKey, RegistryKey *key)
{
    HKEY handle = nullptr;
    const LONG result = RegCreateKeyW(RootKey(root), subKey.c_str(), &handle);
    *key = reinterpret_cast<RegistryKey>(handle);
    return result;
}

long WinRegistry::SetValue(RegistryKey key, const std::wstring &subKey, const std::wstring &data)
{
    return RegSetValueW(Handle(key), subKey.empty() ? nullptr : subKey.c_str(), REG_SZ,
                        data.c_str(), DWORD(data.size() * sizeof(wchar_t)));
}

long WinRegistry::DeleteKey(RegistryRoot root, const std::wstring &subKey)
{
    // An empty name would mean the root itself.
    if (subKey.empty())
        return ERROR_INVALID_PARAMETER;
    // A key with subkeys (an extension's OpenWithProgids) goes with everything below it, where
    // RegDeleteKey would refuse it.
    return RegDeleteTreeW(RootKey(root), subKey.c_str());
}

long WinRegistry::OpenKey(RegistryRoot root, const std::string &subKey, std::uint32_t access,
                          RegistryKey *key)
{
    HKEY handle = nullptr;
    const LONG result = RegOpenKeyExA(RootKey(root), subKey.c_str(), 0, access, &handle);
    *key = reinterpret_cast<RegistryKey>(handle);
    return result;
}

long WinRegistry::QueryValue(RegistryKey key, const std::string &valueName, std::uint32_t *type,
                             std::string *data)
{
    DWORD valueType = 0;
    DWORD size = DWORD(data->size());
    const LONG result = RegQueryValueExA(Handle(key), valueName.c_str(), nullptr, &valueType,
                                         reinterpret_cast<BYTE *>(&(*data)[0]), &size);
    if (result == ERROR_SUCCESS) {
        data->resize(size);
        *type = valueType;
    }
    return result;
}

long WinRegistry::CloseKey(RegistryKey key)
{
    return RegCloseKey(Handle(key));
}

} // namespace win
