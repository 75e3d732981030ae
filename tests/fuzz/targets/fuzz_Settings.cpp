// The settings reader on any bytes: every field it fills can be written back and read again.
#include "FuzzCheck.h"

#include "settings/Settings.h"

#include <cmath>

namespace {

QString Shown(const Settings &s)
{
    return QStringLiteral("Stamp \"%1\", WindowState %2, PopupMode \"%3\", StartMode \"%4\", "
                          "Width %5, Height %6, Top %7, Left %8, FullScreen %9")
        .arg(::Shown(s.Stamp))
        .arg(s.WindowState)
        .arg(::Shown(s.PopupMode), ::Shown(s.StartMode))
        .arg(s.WindowWidth, 0, 'g', 17)
        .arg(s.WindowHeight, 0, 'g', 17)
        .arg(s.WindowTop, 0, 'g', 17)
        .arg(s.WindowLeft, 0, 'g', 17)
        .arg(s.FullScreen);
}

// The settings file writes its texts bare, one a line: a comma would split one into two fields
// and a double quote would end it, so only the program's own words are carried whole.
bool Carried(const QString &text)
{
    return !text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Settings read;
    ParseConfig(FuzzBytes(data, size), read);
    for (const double v : {read.WindowWidth, read.WindowHeight, read.WindowTop, read.WindowLeft})
        Require(std::isfinite(v), "a window length read as no finite number",
                [&] { return Shown(read); });

    const QByteArray written = SerializeConfig(read);
    Require(written.count('\n') == 9 && written.count('\r') == 9 && written.count("\r\n") == 9
                && written.endsWith("\r\n"),
            "the settings file is not nine lines ended by CR LF",
            [&] { return QString::fromLatin1(written.left(400).toPercentEncoding(" ")); });

    if (!Carried(read.Stamp) || !Carried(read.PopupMode) || !Carried(read.StartMode))
        return 0;
    Settings expected = read;
    expected.Stamp = read.Stamp.trimmed();
    expected.PopupMode = read.PopupMode.trimmed();
    expected.StartMode = read.StartMode.trimmed();
    // Read into a record that holds other values, so a field the file failed to give shows.
    Settings back;
    back.Stamp = back.PopupMode = back.StartMode = QStringLiteral("unread");
    back.WindowState = 7;
    back.WindowWidth = back.WindowHeight = back.WindowTop = back.WindowLeft = -1.5;
    back.FullScreen = 7;
    ParseConfig(written, back);
    Require(back == expected, "the settings written read back changed",
            [&] { return QStringLiteral("wrote %1\nread %2").arg(Shown(expected), Shown(back)); });
    return 0;
}
