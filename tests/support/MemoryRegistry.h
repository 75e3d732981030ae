#pragma once

#include "services/win/Registry.h"

#include <QMap>
#include <QStringList>

// A registry in memory. Key and value names are matched without regard to case, as the
// system's registry matches them. Write calls can be made to fail by their number.
class MemoryRegistry : public Registry
{
public:
    long CreateKey(RegistryRoot root, const std::wstring &subKey, RegistryKey *key) override
    {
        if (FailsNow())
            return failResult;
        const QString path = Path(root, QString::fromStdWString(subKey));
        Ensure(path);
        *key = Open(path);
        return RegistryResult::Success;
    }
    long SetValue(RegistryKey key, const std::wstring &subKey, const std::wstring &data) override
    {
        if (FailsNow())
            return failResult;
        if (!m_handles.contains(key))
            return InvalidHandle;
        const QString path = subKey.empty()
            ? m_handles.value(key)
            : m_handles.value(key) + QLatin1Char('\\') + QString::fromStdWString(subKey);
        Ensure(path);
        m_keys[path.toLower()].values[QString()]
            = {RegistryStringType, QString::fromStdWString(data).toUtf8() + QByteArray(1, '\0')};
        return RegistryResult::Success;
    }
    long DeleteKey(RegistryRoot root, const std::wstring &subKey) override
    {
        ++deleteCalls;
        if (deleteResult != RegistryResult::Success)
            return deleteResult;
        if (subKey.empty())
            return InvalidParameter;
        const QString path = Path(root, QString::fromStdWString(subKey)).toLower();
        if (!m_keys.contains(path))
            return RegistryResult::FileNotFound;
        for (const QString &k : m_keys.keys()) {
            if (k == path || k.startsWith(path + QLatin1Char('\\')))
                m_keys.remove(k);
        }
        return RegistryResult::Success;
    }
    long OpenKey(RegistryRoot root, const std::string &subKey, std::uint32_t access,
                 RegistryKey *key) override
    {
        lastAccess = access;
        const QString path = Path(root, QString::fromStdString(subKey));
        if (!m_keys.contains(path.toLower()))
            return RegistryResult::FileNotFound;
        *key = Open(m_keys.value(path.toLower()).name);
        return RegistryResult::Success;
    }
    long QueryValue(RegistryKey key, const std::string &valueName, std::uint32_t *type,
                    std::string *data) override
    {
        if (!m_handles.contains(key))
            return InvalidHandle;
        const Node node = m_keys.value(m_handles.value(key).toLower());
        const QString name = QString::fromStdString(valueName).toLower();
        if (!node.values.contains(name))
            return RegistryResult::FileNotFound;
        const Value value = node.values.value(name);
        if (size_t(value.data.size()) > data->size())
            return RegistryResult::MoreData;
        *data = value.data.toStdString();
        *type = value.type;
        return RegistryResult::Success;
    }
    long CloseKey(RegistryKey key) override
    {
        return m_handles.remove(key) ? RegistryResult::Success : InvalidHandle;
    }

    // Setting up.
    void PutValue(RegistryRoot root, const QString &key, const QString &name, quint32 type,
                  const QByteArray &data)
    {
        Ensure(Path(root, key));
        m_keys[Path(root, key).toLower()].values[name.toLower()] = {type, data};
    }
    void PutText(RegistryRoot root, const QString &key, const QString &name, const QString &text)
    {
        PutValue(root, key, name, RegistryStringType, text.toUtf8() + QByteArray(1, '\0'));
    }

    // Looking.
    bool HasKey(RegistryRoot root, const QString &key) const
    {
        return m_keys.contains(Path(root, key).toLower());
    }
    // Every key under root, as created, one a line with its default text value after " = ":
    // the whole content in one comparable text.
    QStringList Dump(RegistryRoot root) const
    {
        QStringList lines;
        const QString prefix = Path(root, QString()) + QLatin1Char('\\');
        for (const Node &node : m_keys) {
            if (!node.name.startsWith(prefix))
                continue;
            QString line = node.name.mid(prefix.size());
            if (node.values.contains(QString())) {
                QByteArray data = node.values.value(QString()).data;
                data.chop(1);
                line += QStringLiteral(" = ") + QString::fromUtf8(data);
            }
            lines << line;
        }
        lines.sort(Qt::CaseInsensitive);
        return lines;
    }
    int OpenHandles() const { return int(m_handles.size()); }

    // Make the write call of this number (CreateKey and SetValue, counted from 1) fail; 0: none.
    int failWriteCall = 0;
    long failResult = RegistryResult::AccessDenied;
    int writeCalls = 0;
    // What DeleteKey answers instead of deleting; Success: it deletes.
    long deleteResult = RegistryResult::Success;
    int deleteCalls = 0;
    quint32 lastAccess = 0;

    static constexpr long InvalidHandle = 6;
    static constexpr long InvalidParameter = 87;

private:
    struct Value
    {
        quint32 type = 0;
        QByteArray data;
    };
    struct Node
    {
        QString name;
        QMap<QString, Value> values;
    };

    bool FailsNow() { return ++writeCalls == failWriteCall; }
    static QString Path(RegistryRoot root, const QString &subKey)
    {
        const QString rootName = root == RegistryRoot::ClassesRoot
            ? QStringLiteral("HKEY_CLASSES_ROOT")
            : QStringLiteral("HKEY_LOCAL_MACHINE");
        return subKey.isEmpty() ? rootName : rootName + QLatin1Char('\\') + subKey;
    }
    void Ensure(const QString &path)
    {
        const QStringList parts = path.split(QLatin1Char('\\'));
        QString sofar;
        for (const QString &part : parts) {
            sofar = sofar.isEmpty() ? part : sofar + QLatin1Char('\\') + part;
            if (!m_keys.contains(sofar.toLower()))
                m_keys[sofar.toLower()].name = sofar;
        }
    }
    RegistryKey Open(const QString &path)
    {
        m_handles.insert(++m_nextHandle, path);
        return m_nextHandle;
    }

    QMap<QString, Node> m_keys;
    QMap<RegistryKey, QString> m_handles;
    RegistryKey m_nextHandle = 0;
};
