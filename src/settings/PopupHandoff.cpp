#include "settings/PopupHandoff.h"

#include "settings/AppFolder.h"
#include "settings/TextFields.h"

#include <QFile>

namespace {

const char *const HandoffFileName = "\\Popupurl";
const char *const HandoffTakenFileName = "\\Popupurl.taken";

QString TakenPath(const QString &folder)
{
    return AppFilePath(folder, QString::fromLatin1(HandoffTakenFileName));
}

} // namespace

QStringList HandoffFileNames()
{
    return {QString::fromLatin1(HandoffFileName + 1),
            QString::fromLatin1(HandoffTakenFileName + 1)};
}

QString HandoffPath(const QString &folder)
{
    return AppFilePath(folder, QString::fromLatin1(HandoffFileName));
}

bool GiveHandoff(const QString &folder, const QString &address)
{
    if (!WriteSingleField(HandoffPath(folder), address))
        return false;
    // The address may be handed over again one day; it is no longer one taken before.
    QFile::remove(TakenPath(folder));
    return true;
}

bool HandoffWaiting(const QString &folder)
{
    return !ReadFirstField(HandoffPath(folder)).isEmpty();
}

QString PendingHandoff(const QString &folder)
{
    const QString address = ReadFirstField(HandoffPath(folder));
    // Taken before by an instance that could not empty the file: not opened at every start.
    const QString taken = ReadFirstField(TakenPath(folder));
    return !address.isEmpty() && address == taken ? QString() : address;
}

bool TakeHandoff(const QString &folder, const QString &address)
{
    if (WriteSingleField(HandoffPath(folder), QString()))
        return true;
    WriteSingleField(TakenPath(folder), address);
    return false;
}
