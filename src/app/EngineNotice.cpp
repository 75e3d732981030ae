#include "app/EngineNotice.h"

#include "settings/AppFolder.h"
#include "settings/SaveFile.h"
#include "settings/TextFields.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <iterator>

namespace {

// The month each Chromium major version reached the stable channel.
struct StableRelease
{
    int major;
    int year;
    int month;
};
constexpr StableRelease StableReleases[] = {
    {94, 2021, 9},   {95, 2021, 10},  {96, 2021, 11},  {97, 2022, 1},   {98, 2022, 2},
    {99, 2022, 3},   {100, 2022, 3},  {101, 2022, 4},  {102, 2022, 5},  {103, 2022, 6},
    {104, 2022, 8},  {105, 2022, 9},  {106, 2022, 9},  {107, 2022, 10}, {108, 2022, 11},
    {109, 2023, 1},  {110, 2023, 2},  {111, 2023, 3},  {112, 2023, 4},  {113, 2023, 5},
    {114, 2023, 5},  {115, 2023, 7},  {116, 2023, 8},  {117, 2023, 9},  {118, 2023, 10},
    {119, 2023, 10}, {120, 2023, 12}, {121, 2024, 1},  {122, 2024, 2},  {123, 2024, 3},
    {124, 2024, 4},  {125, 2024, 5},  {126, 2024, 6},  {127, 2024, 7},  {128, 2024, 8},
    {129, 2024, 9},  {130, 2024, 10}, {131, 2024, 11}, {132, 2025, 1},  {133, 2025, 2},
    {134, 2025, 3},  {135, 2025, 4},  {136, 2025, 4},  {137, 2025, 5},  {138, 2025, 6},
    {139, 2025, 8},  {140, 2025, 9},  {141, 2025, 9},
};

constexpr bool OneRowPerMajor()
{
    for (std::size_t i = 0; i < std::size(StableReleases); ++i) {
        if (StableReleases[i].major != FirstTabledChromium + int(i))
            return false;
    }
    return StableReleases[std::size(StableReleases) - 1].major == LastTabledChromium;
}
static_assert(OneRowPerMajor(), "a row for each major version, in order");

// A new major version reaches the stable channel every four weeks.
constexpr int DaysPerMajor = 28;

QDate MonthOf(const StableRelease &release)
{
    return QDate(release.year, release.month, 1);
}

} // namespace

int ChromiumMajor(const QString &version)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,6})(\\.\\d+)*$"));
    const QRegularExpressionMatch m = form.match(version);
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

QDate ChromiumReleaseMonth(int major)
{
    if (major < FirstTabledChromium)
        return QDate();
    if (major <= LastTabledChromium)
        return MonthOf(StableReleases[major - FirstTabledChromium]);
    // From the middle of the last row's month, so that rounding to a month does not lean to
    // either side.
    const QDate last = MonthOf(StableReleases[LastTabledChromium - FirstTabledChromium]);
    const QDate day = QDate(last.year(), last.month(), 15)
                          .addDays(qint64(major - LastTabledChromium) * DaysPerMajor);
    return QDate(day.year(), day.month(), 1);
}

QString YearPeriod(const QDate &month)
{
    if (!month.isValid())
        return QString();
    const char *third = month.month() <= 4 ? "early" : month.month() <= 8 ? "mid" : "late";
    return QStringLiteral("%1 %2").arg(QLatin1String(third)).arg(month.year());
}

bool IsOldChromium(const QString &securityPatchVersion, const QDate &today)
{
    const int major = ChromiumMajor(securityPatchVersion);
    if (major == 0)
        return false;
    const QDate released = ChromiumReleaseMonth(major);
    if (!released.isValid())
        return true; // older than every row
    // More than a year older than today, whichever day of its month it came out.
    return today >= released.addMonths(13);
}

QString OldEngineNoticeText(const EngineVersion &engine)
{
    const int major = ChromiumMajor(engine.chromiumSecurityPatch);
    if (major == 0)
        return QString();
    const QDate released = ChromiumReleaseMonth(major);
    const QString when = released.isValid()
        ? YearPeriod(released)
        : QStringLiteral("before ") + YearPeriod(ChromiumReleaseMonth(FirstTabledChromium));
    return QStringLiteral("This web engine's security fixes end with Chromium %1 (%2). Pages can "
                          "use known holes. See Help > About for details.")
        .arg(major)
        .arg(when);
}

bool ShouldTellOldEngine(const EngineVersion &engine, const std::optional<EngineVersion> &told,
                         const QDate &today)
{
    if (told && *told == engine)
        return false;
    return IsOldChromium(engine.chromiumSecurityPatch, today);
}

QByteArray SerializeEngineNotice(const EngineVersion &engine)
{
    return SerializeTextField(engine.qtWebEngine) + SerializeTextField(engine.chromium)
        + SerializeTextField(engine.chromiumSecurityPatch);
}

std::optional<EngineVersion> ParseEngineNotice(const QByteArray &bytes)
{
    const QStringList fields = ParseTextFields(bytes);
    if (fields.size() != 3)
        return std::nullopt;
    for (const QString &field : fields) {
        if (field.isEmpty())
            return std::nullopt;
    }
    return EngineVersion {fields.at(0), fields.at(1), fields.at(2)};
}

std::optional<EngineVersion> ReadEngineNotice(const QString &folder)
{
    QFile file(AppFilePath(folder, QString::fromLatin1(EngineNoticeFileName)));
    // Three short versions; a file far longer is not one this program wrote.
    constexpr qint64 Longest = 4096;
    if (!file.open(QIODevice::ReadOnly) || file.size() > Longest)
        return std::nullopt;
    return ParseEngineNotice(file.read(Longest));
}

bool WriteEngineNotice(const QString &folder, const EngineVersion &engine)
{
    return WriteFileAtomically(AppFilePath(folder, QString::fromLatin1(EngineNoticeFileName)),
                               SerializeEngineNotice(engine));
}
