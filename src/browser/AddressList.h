#pragma once

#include <QString>
#include <QStringList>

// An address list after a page is entered: the address moves to (or is put at) the top, and is
// held once. Entries are compared exactly, so addresses that differ only in case are distinct.
QStringList UpdateAddressList(const QStringList &list, const QString &address);
