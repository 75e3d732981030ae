#include "services/WinRegistry.h"

#ifdef Q_OS_WIN

#include <qt_windows.h>

namespace {

HKEY RootKey(RegistryRoot root)
{
    return root == RegistryRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_LOCAL_MACHINE;
}

const wchar_t *Wide(const QString &text)
{
    return reinterpret_cast<const wchar_t *>(text.utf16());
}

} // namespace

long WinRegistry::CreateKey(RegistryRoot root, const QString &subKey, RegistryKey *key)
{
    HKEY handle = nullptr;
    const LONG result = RegCreateKeyW(RootKey(root), Wide(subKey), &handle);
    *key = reinterpret_cast<RegistryKey>(handle);
    return result;
}

long WinRegistry::SetValue(RegistryKey key, const QString &subKey, const QString &data)
{
    return RegSetValueW(reinterpret_cast<HKEY>(key), subKey.isEmpty() ? nullptr : Wide(subKey),
                        REG_SZ, Wide(data), DWORD(data.size() * sizeof(wchar_t)));
}

long WinRegistry::DeleteKey(RegistryRoot root, const QString &subKey)
{
    // An empty name would mean the root itself.
    if (subKey.isEmpty())
        return ERROR_INVALID_PARAMETER;
    return RegDeleteTreeW(RootKey(root), Wide(subKey));
}

long WinRegistry::OpenKey(RegistryRoot root, const QString &subKey, quint32 access,
                          RegistryKey *key)
{
    HKEY handle = nullptr;
    const LONG result
        = RegOpenKeyExA(RootKey(root), subKey.toLocal8Bit().constData(), 0, access, &handle);
    *key = reinterpret_cast<RegistryKey>(handle);
    return result;
}

long WinRegistry::QueryValue(RegistryKey key, const QString &valueName, quint32 *type,
                             QByteArray *data)
{
    DWORD valueType = 0;
    DWORD size = DWORD(data->size());
    const LONG result
        = RegQueryValueExA(reinterpret_cast<HKEY>(key), valueName.toLocal8Bit().constData(),
                           nullptr, &valueType, reinterpret_cast<BYTE *>(data->data()), &size);
    if (result == ERROR_SUCCESS) {
        data->resize(int(size));
        *type = valueType;
    }
    return result;
}

long WinRegistry::CloseKey(RegistryKey key)
{
    return RegCloseKey(reinterpret_cast<HKEY>(key));
}

#endif
