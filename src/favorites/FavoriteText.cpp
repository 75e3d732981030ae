#include "favorites/FavoriteText.h"

#include "settings/TextFields.h"

namespace {

// An entry read from a file is long when its bytes are this many or more: fewer are turned
// into text at once. Far enough above LongFavoriteLength that any text of so many bytes
// is long in characters too (UTF-8 takes at most three bytes for one of the text's units).
constexpr qsizetype KeptAsBytes = 4 * LongFavoriteLength;

QString Shortened(const QString &start)
{
    // A cut between the two halves of a surrogate pair would leave half a character.
    qsizetype cut = qMin<qsizetype>(start.size(), ShortenedFavoriteLength);
    if (cut > 0 && start.at(cut - 1).isHighSurrogate())
        --cut;
    return start.left(cut) + QChar(0x2026);
}

// True when the text reads back from its line exactly as it is: plain ASCII text is written
// byte for byte, and only a line break changes what a reader takes.
bool PlainLine(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x80 || u == u'\r' || u == u'\n')
            return false;
    }
    return true;
}

} // namespace

FavoriteText::FavoriteText(const QString &text)
    : m_text(text)
{ }

FavoriteText::FavoriteText(const char *text)
    : m_text(QString::fromUtf8(text))
{ }

FavoriteText FavoriteText::FromFile(const QByteArray &file, qsizetype begin, qsizetype length)
{
    const QByteArrayView bytes = QByteArrayView(file).sliced(begin, length);
    FavoriteText entry;
    entry.m_file = file;
    entry.m_begin = begin;
    entry.m_length = length;
    entry.m_long = length >= KeptAsBytes;
    // Worked out once: the lists show it again at every change.
    entry.m_text = entry.m_long ? Shortened(DecodeTextStart(bytes, ShortenedFavoriteLength))
                                : DecodeText(bytes);
    return entry;
}

FavoriteText FavoriteText::FromLine(const QByteArray &file, qsizetype begin, qsizetype length,
                                    qsizetype lineBegin, qsizetype lineEnd)
{
    FavoriteText entry = FromFile(file, begin, length);
    entry.m_lineBegin = lineBegin;
    entry.m_lineLength = lineEnd - lineBegin;
    return entry;
}

QByteArrayView FavoriteText::bytes() const
{
    return QByteArrayView(m_file).sliced(m_begin, m_length);
}

QString FavoriteText::text() const
{
    return isLong() ? DecodeText(bytes()) : m_text;
}

QString FavoriteText::shown() const
{
    return isLong() ? m_text : ShownFavorite(m_text);
}

bool FavoriteText::isEmpty() const
{
    return isFromFile() ? m_length == 0 : m_text.isEmpty();
}

QByteArray FavoriteText::fileBytes() const
{
    // Shared with the file read, not copied: a save writes it as a piece of its own. Bytes
    // from a file hold no line end.
    if (isFromFile())
        return QByteArray::fromRawData(bytes().data(), m_length);
    if (!m_text.contains(QLatin1Char('\r')) && !m_text.contains(QLatin1Char('\n')))
        return EncodeText(m_text);
    // A line break becomes a blank, so one entry never turns into two.
    QString oneLine = m_text;
    oneLine.replace(QLatin1String("\r\n"), QLatin1String(" "));
    oneLine.replace(QLatin1Char('\r'), QLatin1Char(' '));
    oneLine.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return EncodeText(oneLine);
}

QByteArray FavoriteText::fileLine() const
{
    if (!isFromFile() || m_lineLength < 0)
        return QByteArray();
    // Shared with the file read, like fileBytes().
    const QByteArrayView line = QByteArrayView(m_file).sliced(m_lineBegin, m_lineLength);
    return QByteArray::fromRawData(line.data(), line.size());
}

bool FavoriteText::readsBackUnchanged() const
{
    // Bytes taken from a line read back as the same bytes.
    return isFromFile() || PlainLine(m_text);
}

bool operator==(const FavoriteText &a, const FavoriteText &b)
{
    if (a.isFromFile() && b.isFromFile() && a.bytes() == b.bytes())
        return true;
    // A text of n bytes has between n / 3 and n of the text's units: most long entries differ
    // by their size alone, without being decoded.
    const auto fits = [](const FavoriteText &fromFile, const FavoriteText &other) {
        const qsizetype units = other.isLong() ? -1 : other.m_text.size();
        return units < 0 || (units >= fromFile.m_length / 3 && units <= fromFile.m_length);
    };
    if ((a.isLong() && !fits(a, b)) || (b.isLong() && !fits(b, a)))
        return false;
    return a.text() == b.text();
}

QStringList FavoriteTexts(const FavoriteList &entries)
{
    QStringList texts;
    texts.reserve(entries.size());
    for (const FavoriteText &entry : entries)
        texts << entry.text();
    return texts;
}

FavoriteList FavoriteEntries(const QStringList &texts)
{
    return FavoriteList(texts.cbegin(), texts.cend());
}

QString ShownFavorite(const QString &entry)
{
    if (entry.size() <= LongFavoriteLength)
        return entry;
    return Shortened(entry);
}
