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
    return text.toLatin1();
}

QString DecodeText(const QByteArray &bytes)
{
    bool ascii = true;
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) > 0x7F) {
            ascii = false;
            break;
        }
    }
    if (ascii)
        return QString::fromLatin1(bytes);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = utf8(bytes);
    if (!utf8.hasError())
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
