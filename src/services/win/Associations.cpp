#include "services/win/Associations.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <shlobj.h>
#endif

namespace win {

namespace {

std::wstring TrimSpaces(const std::wstring &text)
{
    const std::size_t start = text.find_first_not_of(L' ');
    if (start == std::wstring::npos)
        return std::wstring();
    return text.substr(start, text.find_last_not_of(L' ') - start + 1);
}

// Creates the key and sets its (or its subkey's) default value; the key is closed again.
bool WriteDefaultValue(Registry &registry, const std::wstring &keyName, const std::wstring &subKey,
                       const std::wstring &data)
{
    RegistryKey key = 0;
    if (registry.CreateKey(RegistryRoot::ClassesRoot, keyName, &key) != RegistryResult::Success)
        return false;
    const bool written = registry.SetValue(key, subKey, data) == RegistryResult::Success;
    registry.CloseKey(key);
    return written;
}

} // namespace

std::wstring ExeNameFromPath(const std::wstring &path)
{
    const std::size_t backslash = path.rfind(L'\\');
    std::wstring name
        = TrimSpaces(backslash == std::wstring::npos ? path : path.substr(backslash + 1));
    if (!name.empty() && name.back() == L'\0')
        name.pop_back();
    return name;
}

std::wstring OpenCommand(const std::wstring &path)
{
    return L'"' + path + L"\" %1";
}

bool CreateAssociation(Registry &registry, const std::wstring &path, const std::wstring &extension)
{
    const std::wstring className = ExeNameFromPath(path);
    const std::wstring key
        = extension.find(L'.') != std::wstring::npos ? extension : L'.' + extension;
    return WriteDefaultValue(registry, key, std::wstring(), className)
        && WriteDefaultValue(registry, className, L"shell\\open\\command", OpenCommand(path))
        && WriteDefaultValue(registry, className, L"DefaultIcon", path);
}

bool RemoveAssociation(Registry &registry, const std::wstring &extension)
{
    // An empty name would take the whole root with it.
    if (extension.empty())
        return false;
    const long result = registry.DeleteKey(RegistryRoot::ClassesRoot, extension);
    return result == RegistryResult::Success || result == RegistryResult::FileNotFound;
}

void NotifyAssociationChange()
{
#ifdef _WIN32
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
#endif
}

} // namespace win
