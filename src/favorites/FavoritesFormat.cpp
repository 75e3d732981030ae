#include "favorites/FavoritesFormat.h"

#include "settings/TextFields.h"

#include <QFile>

FavoriteList ParseFavoriteEntries(const QByteArray &bytes, qsizetype from)
{
    FavoriteList entries;
    qsizetype index = 0; // of the entry found next
    // lineEnd >= 0: the entry is alone on its line, which ends there (after its line end).
    const auto take = [&](qsizetype begin, qsizetype length, qsizetype lineBegin = 0,
                          qsizetype lineEnd = -1) {
        if (index++ < from)
            return;
        entries << (lineEnd < 0 ? FavoriteText::FromFile(bytes, begin, length)
                                : FavoriteText::FromLine(bytes, begin, length, lineBegin, lineEnd));
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
        // After the line end: CR LF counts once.
        qsizetype after = end;
        if (after < n && bytes[after] == '\r' && after + 1 < n && bytes[after + 1] == '\n')
            ++after;
        if (after < n)
            ++after;
        qsizetype first = 0;
        while (first < line.size() && (line[first] == ' ' || line[first] == '\t'))
            ++first;
        if (first < line.size() && line[first] == '"') {
            // Each entry is written on a line of its own, between quotes: the entry runs to the
            // line's last quote, whatever quotes or commas it holds, so one entry always reads
            // as one.
            const qsizetype last = line.lastIndexOf('"');
            const qsizetype close = last > first ? last : line.size();
            take(i + first + 1, close - first - 1, i, after);
        } else {
            // A line not written by QuorBrowser (edited by hand) is read as fields.
            const QList<TextFieldSpan> spans = TextFieldSpans(line);
            if (spans.size() == 1) {
                take(i + spans.first().begin, spans.first().length, i, after);
            } else {
                for (const TextFieldSpan &span : spans)
                    take(i + span.begin, span.length);
            }
            if (spans.isEmpty()) // an empty line is an empty entry
                take(i, 0, i, after);
        }
        i = after;
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
    // shared with what was read, so a save never copies megabytes. An entry read alone on its
    // line is written as that line, byte for byte, so a save that changed nothing changes no
    // byte of the file.
    QByteArrayList pieces {QByteArray()};
    bool lineOpen = false; // the last line written has no line end (a file's last line)
    const auto put = [&](const QByteArray &bytes) {
        if (bytes.size() < 65536)
            pieces.last() += bytes;
        else
            pieces << bytes << QByteArray();
    };
    for (const FavoriteText &entry : entries) {
        if (lineOpen)
            pieces.last() += "\r\n";
        const QByteArray line = entry.fileLine();
        if (!line.isNull()) {
            put(line);
            lineOpen = !line.endsWith('\n') && !line.endsWith('\r');
            continue;
        }
        pieces.last() += '"';
        put(entry.fileBytes());
        pieces.last() += "\"\r\n";
        lineOpen = false;
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
