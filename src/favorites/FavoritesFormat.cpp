#include "favorites/FavoritesFormat.h"

#include "settings/TextFields.h"

#include <QFile>

FavoriteList ParseFavoriteEntries(const QByteArray &bytes, qsizetype from)
{
    FavoriteList entries;
    qsizetype index = 0; // of the entry found next
    const auto take = [&](qsizetype begin, qsizetype length) {
        if (index++ >= from)
            entries << FavoriteText::FromFile(bytes, begin, length);
    };
    const qsizetype n = bytes.size();
    // The next CR and LF from where the search is, each found once: a line may be megabytes
    // long, and a file may hold only one kind of line end.
    qsizetype nextCr = -1, nextLf = -1;
    const auto next = [&](char c, qsizetype &found, qsizetype at) {
        if (found != n && found < at) {
            found = bytes.indexOf(c, at);
            if (found < 0)
                found = n;
        }
        return found;
    };
    qsizetype i = 0;
    while (i < n) {
        const qsizetype end = qMin(next('\r', nextCr, i), next('\n', nextLf, i));
        const QByteArrayView line = QByteArrayView(bytes).sliced(i, end - i);
        qsizetype first = 0;
        while (first < line.size() && (line[first] == ' ' || line[first] == '\t'))
            ++first;
        if (first < line.size() && line[first] == '"') {
            // Each entry is written on a line of its own, between quotes: the entry runs to the
            // line's last quote, whatever quotes or commas it holds, so one entry always reads
            // as one.
            const qsizetype last = line.lastIndexOf('"');
            const qsizetype close = last > first ? last : line.size();
            take(i + first + 1, close - first - 1);
        } else {
            // A line not written by QuorBrowser (edited by hand) is read as fields.
            const QList<TextFieldSpan> spans = TextFieldSpans(line);
            for (const TextFieldSpan &span : spans)
                take(i + span.begin, span.length);
            if (spans.isEmpty()) // an empty line is an empty entry
                take(i, 0);
        }
        i = end;
        // A line end: CR LF counts once.
        if (i < n && bytes[i] == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        if (i < n)
            ++i;
    }
    return entries;
}

QStringList ParseFavorites(const QByteArray &bytes, qsizetype from)
{
    return FavoriteTexts(ParseFavoriteEntries(bytes, from));
}

QByteArrayList FavoritesFilePieces(const FavoriteList &entries)
{
    // Short entries go into one piece; a long entry read from a file is a piece of its own,
    // shared with what was read, so a save never copies megabytes.
    QByteArrayList pieces {QByteArray()};
    for (const FavoriteText &entry : entries) {
        const QByteArray bytes = entry.fileBytes();
        pieces.last() += '"';
        if (bytes.size() < 65536) {
            pieces.last() += bytes;
        } else {
            pieces << bytes << QByteArray();
        }
        pieces.last() += "\"\r\n";
    }
    return pieces;
}

QByteArray SerializeFavorites(const FavoriteList &entries)
{
    return FavoritesFilePieces(entries).join();
}

QByteArray SerializeFavorites(const QStringList &entries)
{
    return SerializeFavorites(FavoriteEntries(entries));
}

FavoriteList ReadFavoriteEntries(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    FavoriteList entries = ParseFavoriteEntries(file.readAll());
    if (entries.size() > MaxFavoritesLoaded)
        entries.resize(MaxFavoritesLoaded);
    return entries;
}

QStringList ReadFavoritesFile(const QString &path)
{
    return FavoriteTexts(ReadFavoriteEntries(path));
}

// What ReadFavoriteEntries takes from the file FavoritesFilePieces makes of these entries. Each
// entry is a line of its own and a line is read on its own, so the file reads as its lines do
// one by one. Most entries come back as they are; any other (a line break becomes a blank,
// text beyond single bytes is re-encoded) is written and read back alone.
FavoriteList ReadBackFavorites(const FavoriteList &entries)
{
    FavoriteList read;
    for (const FavoriteText &entry : entries) {
        if (read.size() >= MaxFavoritesLoaded)
            break;
        if (entry.readsBackUnchanged())
            read << entry;
        else
            read << ParseFavoriteEntries(SerializeFavorites(FavoriteList {entry}));
    }
    if (read.size() > MaxFavoritesLoaded)
        read.resize(MaxFavoritesLoaded);
    return read;
}
