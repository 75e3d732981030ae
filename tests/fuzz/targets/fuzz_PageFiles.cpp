// The page-file reader on any file content, through the files themselves: what it reads can be
// stored again under the name the program writes and read back under the name it reads.
#include "FuzzCheck.h"

#include "settings/PageFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    Require(folder.isValid(), "no temporary folder", [&] { return folder.errorString(); });
    QDir dir(folder.path());
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden))
        dir.remove(name);

    // As found on disk: the name as read, the content anything at all.
    const QString readName = PageFileReadName(PageSlot::Home).mid(1);
    QFile file(dir.filePath(readName));
    Require(file.open(QIODevice::WriteOnly), "cannot write the page file",
            [&] { return file.errorString(); });
    file.write(FuzzBytes(data, size));
    file.close();

    const QString address = ReadPageFile(folder.path(), PageSlot::Home);
    Require(!address.contains(QLatin1Char('\r')) && !address.contains(QLatin1Char('\n')),
            "a page address holds a line end", [&] { return Shown(address); });

    // Set Current as Home with that address, then Go to Home.
    Require(WritePageFile(folder.path(), PageSlot::Home, address), "the page file was not written");
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden);
    Require(files == QStringList {readName}, "the page went to a second file",
            [&] { return Shown(files); });
    const QString again = ReadPageFile(folder.path(), PageSlot::Home);
    const QString expected = address.left(address.indexOf(QLatin1Char('"')));
    Require(again == expected, "a stored page reads back changed", [&] {
        return QStringLiteral("stored \"%1\", read \"%2\"").arg(Shown(address), Shown(again));
    });
    return 0;
}
