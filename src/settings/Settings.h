#pragma once

#include <QByteArray>
#include <QString>

// The main window's record of stored preferences and window geometry (lengths in twips).
struct Settings
{
    QString Stamp;
    qint16 WindowState = 0; // 0 normal, 1 minimized, 2 maximized
    QString PopupMode; // "all", "allow" or "allowie"
    QString StartMode; // "Blank" or "Home"
    double WindowWidth = 0;
    double WindowHeight = 0;
    double WindowTop = 0;
    double WindowLeft = 0;
    qint16 FullScreen = 0;

    bool operator==(const Settings &o) const
    {
        return Stamp == o.Stamp && WindowState == o.WindowState && PopupMode == o.PopupMode
            && StartMode == o.StartMode && WindowWidth == o.WindowWidth
            && WindowHeight == o.WindowHeight && WindowTop == o.WindowTop
            && WindowLeft == o.WindowLeft && FullScreen == o.FullScreen;
    }
};

inline const char *const SettingsFileName = "\\QuorBrowser.cfg";
inline const char *const SettingsStamp = "21127OCT99";

// Fills the fields the bytes hold, in order; a field that is missing or cannot be read (no
// number where one belongs) keeps its value, and reading goes on with the next.
void ParseConfig(const QByteArray &bytes, Settings &settings);

// The nine lines of the settings file, each ended by CR LF.
QByteArray SerializeConfig(const Settings &settings);

// A number as the settings file writes it: its shortest decimal form, whole numbers without a
// decimal point.
QString FormatSettingsNumber(double value);

// Reads the settings file of the folder into settings. False when there is no file to read;
// settings then keeps its values.
bool ReadConfigFile(const QString &folder, Settings &settings);

// Replaces the settings file. False when it could not be written.
bool WriteConfigFile(const QString &folder, const Settings &settings);
