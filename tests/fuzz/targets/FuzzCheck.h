#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// The fuzzer's input as bytes, without a copy: a read past its end is then a finding of its own
// rather than a read of the terminating NUL a copy would add.
inline QByteArray FuzzBytes(const uint8_t *data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A text that shows where two values differ, short enough for a log.
inline QString Shown(const QString &text)
{
    QString shown;
    for (const QChar c : text.left(200)) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            shown += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            shown += c;
    }
    return text.size() > 200 ? shown + QStringLiteral("...") : shown;
}

inline QString Shown(const QStringList &list)
{
    QStringList shown;
    for (const QString &s : list.mid(0, 20))
        shown << QLatin1Char('"') + Shown(s) + QLatin1Char('"');
    return QStringLiteral("%1 entries: ").arg(list.size()) + shown.join(QLatin1String(", "))
        + (list.size() > 20 ? QStringLiteral(", ...") : QString());
}

// A rule that does not hold is a finding like a crash: the run stops and libFuzzer keeps the
// input that broke it. The detail, which says how, is made only then.
template<typename Detail> void Require(bool holds, const char *rule, Detail detail)
{
    if (holds)
        return;
    std::fprintf(stderr, "\nRule broken: %s\n%s\n", rule, qPrintable(detail()));
    std::abort();
}

inline void Require(bool holds, const char *rule)
{
    Require(holds, rule, [] { return QString(); });
}

// The fields of a list after the files' writer and reader: the writer puts a double quote inside
// a text out unchanged, and the reader stops there.
inline QStringList CutAtQuote(QStringList list)
{
    for (QString &s : list)
        s = s.left(s.indexOf(QLatin1Char('"')));
    return list;
}

// The first place where two lists differ, for the log.
inline QString Difference(const QStringList &expected, const QStringList &got)
{
    for (qsizetype i = 0; i < qMin(expected.size(), got.size()); ++i) {
        if (expected[i] != got[i])
            return QStringLiteral("entry %1: expected \"%2\", got \"%3\"")
                .arg(i)
                .arg(Shown(expected[i]), Shown(got[i]));
    }
    return QStringLiteral("expected %1, got %2").arg(Shown(expected), Shown(got));
}
