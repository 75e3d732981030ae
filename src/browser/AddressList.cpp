#include "browser/AddressList.h"

QStringList UpdateAddressList(const QStringList &list, const QString &address)
{
    QStringList out = list;
    const qsizetype found = out.indexOf(address);
    if (found >= 0)
        out.removeAt(found);
    out.insert(0, address);
    return out;
}
