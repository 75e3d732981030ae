#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// The program's line-oriented text files: each field a double quote, the text unchanged, a
// double quote and CR LF. Readers take one field at a time.

// All fields of a file, in order. A field ends at a comma or a line end (CR LF, LF or CR) and
// loses its surrounding blanks; a field that begins with a double quote runs to the next double
// quote, and whatever follows that quote up to the next comma or line end is dropped. An empty
// line gives an empty field. A quote left open ends at its line end, so one damaged line can
// never swallow the lines after it. With from, the fields before it are passed over without
// being turned into text (a field may be megabytes long).
QStringList ParseTextFields(const QByteArray &bytes, qsizetype from = 0);

// Where each field of ParseTextFields lies in the bytes, its quotes and blanks left out.
struct TextFieldSpan
{
    qsizetype begin = 0;
    qsizetype length = 0;
};
QList<TextFieldSpan> TextFieldSpans(QByteArrayView bytes, qsizetype from = 0);

// One quoted field with its line end.
QByteArray SerializeTextField(const QString &text);

// Files are single-byte text; an address or name that does not fit in one byte a character is
// kept whole as UTF-8 rather than lost. Reading takes UTF-8 when the bytes are valid UTF-8 and
// single-byte text otherwise, so a text whose single bytes would read as UTF-8 anywhere is
// written as UTF-8 too: every text, and every part of it a reader takes alone, reads back as it
// was written.
QByteArray EncodeText(const QString &text);
QString DecodeText(QByteArrayView bytes);
// Whether DecodeText takes the bytes as UTF-8 (other than plain ASCII), found without decoding
// them whole.
bool DecodesAsUtf8(QByteArrayView bytes);
// DecodeText(bytes).left(characters), decoding no more of the bytes than that takes.
QString DecodeTextStart(QByteArrayView bytes, qsizetype characters);

// The first field of a file; empty when the file is missing, unreadable or empty.
QString ReadFirstField(const QString &path);

// Replaces the file with one quoted field. False when it could not be written; the file then
// keeps its previous content.
bool WriteSingleField(const QString &path, const QString &text);
