#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtTest>

// The whole content of a file; "<missing>" when there is none.
inline QByteArray ReadAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Replaces a file with bytes; fails the test when it cannot.
inline void WriteAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
