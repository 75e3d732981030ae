#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

// One entry of a favorites file: an address or a name. Read from a file, an entry keeps its
// bytes there, so a save writes it back byte for byte whatever its encoding: decoded and encoded
// again, a short UTF-8 name would come back single-byte. A long entry (a damaged or hostile file
// may hold megabytes on one line) is turned into text only when its whole text is asked for: the
// lists show only its start. An entry typed is its text.
class FavoriteText
{
public:
    FavoriteText() = default;
    FavoriteText(const QString &text); // NOLINT: an entry is its text
    FavoriteText(const char *text); // NOLINT

    // The entry whose bytes lie at [begin, begin + length) in a file's bytes (no line end in
    // them). The bytes are shared, not copied.
    static FavoriteText FromFile(const QByteArray &file, qsizetype begin, qsizetype length);
    // The same, for an entry that makes a line on its own: [lineBegin, lineEnd) is that line
    // with its line end (none for a last line without one), written back as it was.
    static FavoriteText FromLine(const QByteArray &file, qsizetype begin, qsizetype length,
                                 qsizetype lineBegin, qsizetype lineEnd);

    // The whole text.
    QString text() const;
    // The text as the lists and boxes show it: itself, or its start and an ellipsis when long.
    QString shown() const;
    bool isEmpty() const;
    // The bytes a favorites file holds for it between its quotes; a line break in a text is
    // written as a blank.
    QByteArray fileBytes() const;
    // The line read from a file that held this entry alone, its line end included; null for an
    // entry typed or one that shared its line with others.
    QByteArray fileLine() const;
    // True when written as fileBytes() between quotes, the entry reads back exactly as it is.
    bool readsBackUnchanged() const;

    friend bool operator==(const FavoriteText &a, const FavoriteText &b);
    friend bool operator!=(const FavoriteText &a, const FavoriteText &b) { return !(a == b); }

private:
    bool isFromFile() const { return m_length >= 0; }
    // Long: its text is decoded only when asked for, and m_text holds what is shown of it.
    bool isLong() const { return isFromFile() && m_long; }
    QByteArrayView bytes() const;

    QString m_text; // the text, or for a long entry what is shown of it
    QByteArray m_file; // with m_length >= 0: the file the entry's bytes are in
    qsizetype m_begin = 0;
    qsizetype m_length = -1;
    qsizetype m_lineBegin = 0;
    qsizetype m_lineLength = -1; // -1: no line of its own
    bool m_long = false;
};

using FavoriteList = QList<FavoriteText>;

// The texts of the entries, and entries of texts.
QStringList FavoriteTexts(const FavoriteList &entries);
FavoriteList FavoriteEntries(const QStringList &texts);

// An entry longer than this is shown shortened in the lists and text boxes: laying out and
// drawing a text of megabytes (a damaged or hostile file) takes Qt minutes. The entry itself
// stays whole in the lists and in the files.
constexpr int LongFavoriteLength = 4096;
// How many characters of a long entry are shown, before an ellipsis.
constexpr int ShortenedFavoriteLength = 200;

// The entry as the lists and boxes show it: itself, or its start and an ellipsis when long.
QString ShownFavorite(const QString &entry);

Q_DECLARE_METATYPE(FavoriteText)
