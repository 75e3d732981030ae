#pragma once

#include "services/Registry.h"

#include <QtGlobal>

#ifdef Q_OS_WIN

// The Windows registry.
class WinRegistry : public Registry
{
public:
    long CreateKey(RegistryRoot root, const QString &subKey, RegistryKey *key) override;
    long SetValue(RegistryKey key, const QString &subKey, const QString &data) override;
    long DeleteKey(RegistryRoot root, const QString &subKey) override;
    long OpenKey(RegistryRoot root, const QString &subKey, quint32 access,
                 RegistryKey *key) override;
    long QueryValue(RegistryKey key, const QString &valueName, quint32 *type,
                    QByteArray *data) override;
    long CloseKey(RegistryKey key) override;
};

#endif
