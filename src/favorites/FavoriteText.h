#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>

// One entry of a favorites file: an address or a name. Read from a file, a long entry (a
// damaged or hostile file may hold megabytes on one line) keeps its bytes there and is turned
// into text only when its whole text is asked for: the lists show only its start, and a save
// writes its bytes back as they were. A short entry, or one typed, is its text.
class FavoriteText
{
public:
    FavoriteText() = default;
    FavoriteText(const QString &text); // NOLINT: an entry is its text
    FavoriteText(const char *text); // NOLINT

    // The entry whose bytes lie at [begin, begin + length) in a file's bytes (no line end in
    // them). The bytes are shared, not copied.
    static FavoriteText FromFile(const QByteArray &file, qsizetype begin, qsizetype length);

    // The whole text.
    QString text() const;
    // The text as the lists and boxes show it: itself, or its start and an ellipsis when long.
    QString shown() const;
    bool isEmpty() const;
    // The bytes a favorites file holds for it between its quotes; a line break in a text is
    // written as a blank.
    QByteArray fileBytes() const;
    // True when written as fileBytes() between quotes, the entry reads back exactly as it is.
    bool readsBackUnchanged() const;

    friend bool operator==(const FavoriteText &a, const FavoriteText &b);
    friend bool operator!=(const FavoriteText &a, const FavoriteText &b) { return !(a == b); }

private:
    bool isFromFile() const { return m_length >= 0; }
    QByteArrayView bytes() const;

    QString m_text; // the text, or for an entry from a file what is shown of it
    QByteArray m_file; // with m_length >= 0: the file the entry's bytes are in
    qsizetype m_begin = 0;
    qsizetype m_length = -1;
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
