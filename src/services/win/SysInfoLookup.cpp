#include "services/win/SysInfoLookup.h"

namespace win {

bool GetKeyValue(Registry &registry, RegistryRoot root, const std::string &keyName,
                 const std::string &valueName, std::string &keyVal)
{
    keyVal.clear();
    RegistryKey key = 0;
    if (registry.OpenKey(root, keyName, RegistryLookupAccess, &key) != RegistryResult::Success)
        return false;
    std::string data(KeyValueBufferSize, '\0');
    std::uint32_t type = 0;
    const bool read = registry.QueryValue(key, valueName, &type, &data) == RegistryResult::Success;
    if (read) {
        const std::size_t nul = data.find('\0');
        if (nul != std::string::npos)
            data.resize(nul);
        if (type == RegistryStringType)
            keyVal = data;
    }
    registry.CloseKey(key);
    return read;
}

std::string FindSysInfoTool(Registry &registry,
                            const std::function<bool(const std::string &path)> &fileExists)
{
    std::string path;
    if (GetKeyValue(registry, RegistryRoot::LocalMachine, MsInfoKey, "PATH", path))
        return path;
    std::string folder;
    if (GetKeyValue(registry, RegistryRoot::LocalMachine, SharedToolsLocationKey, "MSINFO", folder)
        && fileExists(folder + MsInfoFileName))
        return folder + MsInfoFileName;
    return std::string();
}

} // namespace win
