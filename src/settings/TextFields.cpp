#include "settings/TextFields.h"

#include "settings/SaveFile.h"

#include <QFile>
#include <QStringDecoder>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

bool IsAscii(const QByteArray &bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) > 0x7F)
            return false;
    }
    return true;
}

// True when the bytes are valid UTF-8; decoded then holds their text, a leading byte order
// mark included, since it is part of the text written.
bool IsUtf8(const QByteArray &bytes, QString *decoded = nullptr)
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

// True when some of the bytes form a UTF-8 sequence of two to four bytes.
bool HoldsUtf8Sequence(const QByteArray &bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const qsizetype length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
        if (length > 0 && i + length <= bytes.size() && IsUtf8(bytes.mid(i, length)))
            return true;
    }
    return false;
}

} // namespace

QStringList ParseTextFields(const QByteArray &bytes)
{
    QStringList fields;
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        // One field starts here (at the start of a line or after a comma).
        while (i < n && IsBlank(bytes[i]))
            ++i;
        QByteArray field;
        if (i < n && bytes[i] == '"') {
            ++i;
            while (i < n && bytes[i] != '"' && !IsLineEnd(bytes[i]))
                field += bytes[i++];
            if (i < n && bytes[i] == '"')
                ++i;
            // What follows the closing quote up to the delimiter is dropped.
            while (i < n && bytes[i] != ',' && !IsLineEnd(bytes[i]))
                ++i;
        } else {
            while (i < n && bytes[i] != ',' && !IsLineEnd(bytes[i]))
                field += bytes[i++];
            while (!field.isEmpty() && IsBlank(field.back()))
                field.chop(1);
        }
        fields << DecodeText(field);

        if (i >= n)
            break;
        if (bytes[i] == ',') {
            ++i;
            // A comma at the end of a line or of the file leaves one more, empty field.
            if (i >= n || IsLineEnd(bytes[i])) {
                fields << QString();
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
    return fields;
}

QByteArray SerializeTextField(const QString &text)
{
    return '"' + EncodeText(text) + "\"\r\n";
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

QString DecodeText(const QByteArray &bytes)
{
    if (IsAscii(bytes))
        return QString::fromLatin1(bytes);
    QString decoded;
    if (IsUtf8(bytes, &decoded))
        return decoded;
    return QString::fromLatin1(bytes);
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
