#pragma once

#include "webview/EngineVersion.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <optional>

// A word, once per engine, when the engine's security fixes are old: a distribution may ship a
// Qt WebEngine whose Chromium stopped receiving fixes long ago, and pages can then use holes
// that are known and fixed elsewhere. The word is said once, without blocking, and not again
// until the engine changes.

// The major version of a Chromium version text ("108.0.5359.94" is 108); 0 when the text is
// not a version (numbers between dots).
int ChromiumMajor(const QString &version);

// The month a Chromium major version reached the stable channel, as the first day of that
// month. From a table of the releases 94 to 141; past its end four weeks a version on from the
// last row; an invalid date before its start.
QDate ChromiumReleaseMonth(int major);
// The first and last major of the table.
inline constexpr int FirstTabledChromium = 94;
inline constexpr int LastTabledChromium = 141;

// "early 2022", "mid 2022" or "late 2022": January to April, May to August, September to
// December. Empty for an invalid date.
QString YearPeriod(const QDate &month);

// Whether the security fixes of this Chromium version are more than a year older than today: the
// whole month of its release lies more than a year back. A version older than the table is old;
// a text that is not a version is not (nothing is known of it).
bool IsOldChromium(const QString &securityPatchVersion, const QDate &today);

// The words said: "This web engine's security fixes end with Chromium 108 (late 2022). Pages can
// use known holes. See Help > About for details." For a version older than the table, the
// period of the table's first row is named as a bound ("before late 2021"). Empty when the
// version is not one.
QString OldEngineNoticeText(const EngineVersion &engine);

// Whether this start says it: the engine's security fixes are old today, and the engine is not
// the one last told about. told: the engine the notice file names; none when there is no file,
// or it cannot be read or is damaged (then another engine, so said once more).
bool ShouldTellOldEngine(const EngineVersion &engine, const std::optional<EngineVersion> &told,
                         const QDate &today);

// The notice file in the application folder remembers the engine last told about: its Qt
// WebEngine, Chromium and security-fix Chromium versions, one quoted field a line (the
// program's text-field format), each line ended by CR LF. It is a file of its own, so the
// settings file keeps its nine lines.
inline const char *const EngineNoticeFileName = "\\EngineNotice";

QByteArray SerializeEngineNotice(const EngineVersion &engine);
// The engine the bytes name; none unless they hold exactly three fields, none of them empty.
std::optional<EngineVersion> ParseEngineNotice(const QByteArray &bytes);

// The engine the folder's notice file names; none when it is missing, unreadable or damaged.
std::optional<EngineVersion> ReadEngineNotice(const QString &folder);
// Replaces the notice file whole, through a temporary file. False when it could not be written.
bool WriteEngineNotice(const QString &folder, const EngineVersion &engine);
