#include "browser/DownloadText.h"

QString SizeText(qint64 bytes)
{
    if (bytes < 0)
        bytes = 0;
    if (bytes < 1024)
        return QStringLiteral("%1 bytes").arg(bytes);
    const char *const units[] = {"KB", "MB", "GB", "TB"};
    double value = double(bytes) / 1024.0;
    int unit = 0;
    while (value >= 1024.0 && unit < 3) {
        value /= 1024.0;
        ++unit;
    }
    // Three figures or so are enough to follow a download.
    const int decimals = value >= 100.0 ? 0 : unit >= 2 ? 2 : 1;
    return QStringLiteral("%1 %2").arg(value, 0, 'f', decimals).arg(QLatin1String(units[unit]));
}

QString DownloadLineText(Download::State state, qint64 received, qint64 total,
                         double bytesPerSecond, const QString &failReason)
{
    switch (state) {
    case Download::State::Completed:
        return SizeText(received) + QStringLiteral(", done");
    case Download::State::Cancelled:
        return QStringLiteral("Cancelled");
    case Download::State::Failed:
        return failReason.isEmpty() ? QStringLiteral("Failed")
                                    : QStringLiteral("Failed: ") + failReason;
    case Download::State::Running:
        break;
    }
    QString text = SizeText(received);
    if (total >= 0)
        text += QStringLiteral(" of ") + SizeText(total);
    if (bytesPerSecond > 0)
        text += QStringLiteral(", ") + SizeText(qint64(bytesPerSecond)) + QStringLiteral("/s");
    return text;
}

int DownloadPermille(qint64 received, qint64 total)
{
    if (total <= 0)
        return total == 0 ? 1000 : -1;
    return int(qBound(qint64(0), received * 1000 / total, qint64(1000)));
}
