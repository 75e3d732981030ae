// The text-field reader on any bytes, and the writer on any text.
#include "FuzzCheck.h"

#include "settings/TextFields.h"

#include <QStringDecoder>

namespace {

QByteArray SerializeAll(const QStringList &fields)
{
    QByteArray bytes;
    for (const QString &field : fields)
        bytes += SerializeTextField(field);
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = FuzzBytes(data, size);

    const QStringList fields = ParseTextFields(bytes);
    for (const QString &field : fields) {
        // One damaged line never runs into the next.
        Require(!field.contains(QLatin1Char('\r')) && !field.contains(QLatin1Char('\n')),
                "a field holds a line end", [&] { return Shown(field); });
    }
    // What was read, written again field by field, reads back the same.
    const QStringList again = ParseTextFields(SerializeAll(fields));
    Require(again == CutAtQuote(fields), "fields written again read back changed",
            [&] { return Difference(CutAtQuote(fields), again); });

    // Any text the web view could hand over (an address, a page title) survives the files
    // unchanged, but for what the format cannot carry: a double quote ends it, and a line end
    // would start a new field.
    // The decoder keeps a leading byte order mark: it is a character a title can start with.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8(bytes);
    text = text.left(text.indexOf(QLatin1Char('"')));
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QStringList read = ParseTextFields(SerializeTextField(text));
    Require(read == QStringList {text}, "a text written as a field reads back changed",
            [&] { return Difference({text}, read); });
    Require(DecodeText(EncodeText(text)) == text, "a text encoded for a file decodes changed",
            [&] { return Shown(text); });
    return 0;
}
