#include "settings/PageFiles.h"

#include "settings/AppFolder.h"
#include "settings/TextFields.h"

QString PageFileReadName(PageSlot slot)
{
    switch (slot) {
    case PageSlot::Home:
        return QStringLiteral("\\HomePage");
    case PageSlot::Home2:
        return QStringLiteral("\\HomePage2");
    case PageSlot::Home3:
        return QStringLiteral("\\HomePage3");
    case PageSlot::Search:
        return QStringLiteral("\\SearchPage");
    }
    return QString();
}

QString PageFileWriteName(PageSlot slot)
{
    switch (slot) {
    case PageSlot::Home:
        return QStringLiteral("\\homepage");
    case PageSlot::Home2:
        return QStringLiteral("\\homepage2");
    case PageSlot::Home3:
        return QStringLiteral("\\homepage3");
    case PageSlot::Search:
        return QStringLiteral("\\SearchPage");
    }
    return QString();
}

QString ReadPageFile(const QString &folder, PageSlot slot)
{
    return ReadFirstField(AppFilePath(folder, PageFileReadName(slot)));
}

bool WritePageFile(const QString &folder, PageSlot slot, const QString &address)
{
    return WriteSingleField(AppFilePath(folder, PageFileWriteName(slot)), address);
}
