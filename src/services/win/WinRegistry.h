#pragma once

#include "services/win/Registry.h"

namespace win {

// The Windows registry: each call is one call of the Win32 registry API.
class WinRegistry : public Registry
{
public:
    long CreateKey(RegistryRoot root, const std::wstring &subKey, RegistryKey *key) override;
    long SetValue(RegistryKey key, const std::wstring &subKey, const std::wstring &data) override;
    long DeleteKey(RegistryRoot root, const std::wstring &subKey) override;
    long OpenKey(RegistryRoot root, const std::string &subKey, std::uint32_t access,
                 RegistryKey *key) override;
    long QueryValue(RegistryKey key, const std::string &valueName, std::uint32_t *type,
                    std::string *data) override;
    long CloseKey(RegistryKey key) override;
};

} // namespace win
