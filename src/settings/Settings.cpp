#include "settings/Settings.h"

#include "settings/AppFolder.h"
#include "settings/SaveFile.h"
#include "settings/TextFields.h"

#include <QFile>
#include <QLocale>
#include <QStringList>
#include <cmath>
#include <limits>

namespace {

void ReadText(const QStringList &fields, int i, QString &out)
{
    if (i < fields.size())
        out = fields[i];
}

void ReadDouble(const QStringList &fields, int i, double &out)
{
    if (i >= fields.size())
        return;
    bool ok = false;
    const double v = fields[i].trimmed().toDouble(&ok);
    if (ok && std::isfinite(v))
        out = v;
}

void ReadInt16(const QStringList &fields, int i, qint16 &out)
{
    double v = 0;
    bool read = false;
    if (i < fields.size()) {
        bool ok = false;
        v = fields[i].trimmed().toDouble(&ok);
        read = ok && std::isfinite(v);
    }
    // A whole number within 16 bits; anything else is a read error and leaves the field.
    if (read && v >= std::numeric_limits<qint16>::min() && v <= std::numeric_limits<qint16>::max())
        out = static_cast<qint16>(std::lround(v));
}

} // namespace

void ParseConfig(const QByteArray &bytes, Settings &s)
{
    const QStringList fields = ParseTextFields(bytes);
    ReadText(fields, 0, s.Stamp);
    ReadInt16(fields, 1, s.WindowState);
    ReadText(fields, 2, s.PopupMode);
    ReadText(fields, 3, s.StartMode);
    ReadDouble(fields, 4, s.WindowWidth);
    ReadDouble(fields, 5, s.WindowHeight);
    ReadDouble(fields, 6, s.WindowTop);
    ReadDouble(fields, 7, s.WindowLeft);
    ReadInt16(fields, 8, s.FullScreen);
}

QString FormatSettingsNumber(double value)
{
    if (value == 0)
        return QStringLiteral("0"); // also for -0
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

QByteArray SerializeConfig(const Settings &s)
{
    const QStringList lines = {
        s.Stamp.trimmed(),
        QString::number(s.WindowState),
        s.PopupMode.trimmed(),
        s.StartMode.trimmed(),
        FormatSettingsNumber(s.WindowWidth),
        FormatSettingsNumber(s.WindowHeight),
        FormatSettingsNumber(s.WindowTop),
        FormatSettingsNumber(s.WindowLeft),
        QString::number(s.FullScreen),
    };
    QByteArray out;
    for (const QString &line : lines)
        out += EncodeText(line) + "\r\n";
    return out;
}

bool ReadConfigFile(const QString &folder, Settings &settings)
{
    QFile file(AppFilePath(folder, QString::fromLatin1(SettingsFileName)));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    ParseConfig(file.readAll(), settings);
    return true;
}

bool WriteConfigFile(const QString &folder, const Settings &settings)
{
    return WriteFileAtomically(AppFilePath(folder, QString::fromLatin1(SettingsFileName)),
                               SerializeConfig(settings));
}
