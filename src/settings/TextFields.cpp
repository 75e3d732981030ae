#include "settings/TextFields.h"

#include "settings/SaveFile.h"

#include <QFile>
#include <QStringDecoder>
#include <cstring>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

bool IsAscii(QByteArrayView bytes)
{
    // Eight bytes at a time: a field may be megabytes long.
    qsizetype i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        quint64 word;
        std::memcpy(&word, bytes.data() + i, 8);
        if (word & 0x8080808080808080ULL)
            return false;
    }
    for (; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) > 0x7F)
            return false;
    }
    return true;
}

// True when the bytes are valid UTF-8; decoded then holds their text, a leading byte order
// mark included, since it is part of the text written.
bool IsUtf8(QByteArrayView bytes, QString *decoded = nullptr)
{
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    const QString text = utf8(bytes);
    if (utf8.hasError())
        return false;
    if (decoded)
        *decoded = text;
    return true;
}

bool IsContinuation(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// True when some of the bytes form a UTF-8 sequence of two to four bytes. Only a lead byte
// followed by enough continuation bytes is handed to the decoder, so a long single-byte text
// is looked through quickly.
bool HoldsUtf8Sequence(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const qsizetype length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (length == 0 || i + length > bytes.size())
            continue;
        bool continued = true;
        for (qsizetype k = 1; k < length && continued; ++k)
            continued = IsContinuation(bytes[i + k]);
        if (continued && IsUtf8(QByteArrayView(bytes).sliced(i, length)))
            return true;
    }
    return false;
}

// A field's text, from a view into the file's bytes, so a long field is copied only once.
QString Decode(QByteArrayView bytes)
{
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes);
    QString decoded;
    if (IsUtf8(bytes, &decoded))
        return decoded;
    return QString::fromLatin1(bytes);
}

} // namespace

QList<TextFieldSpan> TextFieldSpans(QByteArrayView bytes, qsizetype from)
{
    QList<TextFieldSpan> spans;
    qsizetype index = 0; // of the field found next
    const auto take = [&](qsizetype begin, qsizetype length) {
        if (index++ >= from)
            spans.append({begin, length});
    };
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        // One field starts here (at the start of a line or after a comma). Its bytes are found
        // first and taken in one piece: a field may be megabytes long.
        while (i < n && IsBlank(bytes[i]))
            ++i;
        qsizetype begin = i;
        qsizetype end = i;
        if (i < n && bytes[i] == '"') {
            begin = ++i;
            while (i < n && bytes[i] != '"' && !IsLineEnd(bytes[i]))
                ++i;
            end = i;
            if (i < n && bytes[i] == '"')
                ++i;
            // What follows the closing quote up to the delimiter is dropped.
            while (i < n && bytes[i] != ',' && !IsLineEnd(bytes[i]))
                ++i;
        } else {
            while (i < n && bytes[i] != ',' && !IsLineEnd(bytes[i]))
                ++i;
            end = i;
            while (end > begin && IsBlank(bytes[end - 1]))
                --end;
        }
        take(begin, end - begin);

        if (i >= n)
            break;
        if (bytes[i] == ',') {
            ++i;
            // A comma at the end of a line or of the file leaves one more, empty field.
            if (i >= n || IsLineEnd(bytes[i])) {
                take(i, 0);
                if (i < n) {
                    if (bytes[i] == '\r' && i + 1 < n && bytes[i + 1] == '\n')
                        ++i;
                    ++i;
                }
            }
            continue;
        }
        // A line end: CR LF counts once.
        if (bytes[i] == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        ++i;
    }
    return spans;
}

QStringList ParseTextFields(const QByteArray &bytes, qsizetype from)
{
    QStringList fields;
    for (const TextFieldSpan &span : TextFieldSpans(bytes, from))
        fields << Decode(QByteArrayView(bytes).sliced(span.begin, span.length));
    return fields;
}

QByteArray SerializeTextField(const QString &text)
{
    QByteArray field = EncodeText(text);
    field.prepend('"');
    field.append("\"\r\n");
    return field;
}

QByteArray EncodeText(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return text.toUtf8();
    }
    // Single-byte text whose bytes form UTF-8 somewhere would be read back as other letters
    // ("Ã©" as "é"), also in a part that a reader takes alone (up to a quote or a comma); as
    // UTF-8 every part reads back as it was written.
    const QByteArray singleByte = text.toLatin1();
    return HoldsUtf8Sequence(singleByte) ? text.toUtf8() : singleByte;
}

QString DecodeText(QByteArrayView bytes)
{
    return Decode(bytes);
}

bool DecodesAsUtf8(QByteArrayView bytes)
{
    if (IsAscii(bytes))
        return false;
    // Looked through a piece at a time, each cut before the first byte of a character, so a
    // long text is never decoded whole: a piece of valid UTF-8 cut there is valid on its own,
    // and a fault shows in the piece that holds it.
    constexpr qsizetype Piece = 1 << 20;
    qsizetype at = 0;
    while (at < bytes.size()) {
        qsizetype end = qMin(bytes.size(), at + Piece);
        for (int back = 0; back < 3 && end < bytes.size() && IsContinuation(bytes[end]); ++back)
            --end;
        if (!IsUtf8(bytes.sliced(at, end - at)))
            return false;
        at = end;
    }
    return true;
}

QString DecodeTextStart(QByteArrayView bytes, qsizetype characters)
{
    if (!DecodesAsUtf8(bytes))
        return QString::fromLatin1(bytes.first(qMin(bytes.size(), characters)));
    // A character takes at most four bytes, and at most two of the text's units.
    qsizetype end = qMin(bytes.size(), 4 * characters);
    while (end > 0 && end < bytes.size() && IsContinuation(bytes[end]))
        --end;
    QString start;
    IsUtf8(bytes.first(end), &start);
    return start.left(characters);
}

QString ReadFirstField(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const QStringList fields = ParseTextFields(file.readAll());
    return fields.isEmpty() ? QString() : fields.first();
}

bool WriteSingleField(const QString &path, const QString &text)
{
    return WriteFileAtomically(path, SerializeTextField(text));
}
