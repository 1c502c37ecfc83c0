#include "core/fmt.h"
#include "core/l10n.h"

#include "write_file.h"

#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <ctime>
#include <limits>

namespace {

QString text(const char* s)
{
    return QString::fromUtf8(s);
}

// Away from UTC, so a formatter that silently works in UTC shows up.
class BerlinZone : public ::testing::Environment {
public:
    void SetUp() override
    {
        qputenv("TZ", "Europe/Berlin");
        tzset();
    }
};
[[maybe_unused]] const auto* const g_zone = ::testing::AddGlobalTestEnvironment(new BerlinZone);

const QTimeZone kBerlin(QByteArrayLiteral("Europe/Berlin"));
const QDateTime kNow(QDate(2025, 3, 1), QTime(8, 15), kBerlin); // a Saturday
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class FmtTest : public ::testing::Test {
protected:
    void use(const char* language)
    {
        writeFile(m_dir.filePath(QStringLiteral("en.json")), R"({
            "time.justNow": "just now", "time.today": "today", "time.yesterday": "yesterday",
            "time.underMinute": "under 1 min", "time.minutes": "%d min", "time.hours": "%.1f h"})");
        writeFile(m_dir.filePath(QStringLiteral("de.json")),
                  R"({"time.today": "heute", "time.hours": "%.1f Std."})");
        L10n::install({{m_dir.path()}, {text(language)}});
    }

    QTemporaryDir m_dir;
};

TEST_F(FmtTest, RelativeTurnsAtAMinuteAndNamesTheLargestUnit)
{
    use("en");
    const std::vector<std::pair<qint64, const char*>> cases{
        {59900, "just now"},
        {-3600 * 1000, "just now"}, // future dates too
        {60 * 1000, "1 min. ago"},
        {(59 * 60 + 59) * 1000, "59 min. ago"},
        {3600 * 1000, "1 hr. ago"},
        {25 * 3600 * 1000, "1 day ago"},
        {Q_INT64_C(8) * 86400 * 1000, "1 wk. ago"},
        {Q_INT64_C(40) * 86400 * 1000, "1 mo. ago"},
        {Q_INT64_C(400) * 86400 * 1000, "1 yr. ago"},
    };
    for (const auto& [ago, expected] : cases)
        EXPECT_EQ(Fmt::relative(kNow.addMSecs(-ago), kNow), text(expected)) << ago;
}

TEST_F(FmtTest, DayBoundariesFollowTheLocalCalendar)
{
    use("en");
    const std::vector<std::pair<QDateTime, const char*>> cases{
        {QDateTime(QDate(2025, 3, 1), QTime(0, 0), kBerlin), "today"},
        // 23:30 UTC on the 28th is already the 1st in Berlin.
        {QDateTime(QDate(2025, 2, 28), QTime(23, 30), Qt::UTC), "today"},
        {QDateTime(QDate(2025, 2, 28), QTime(23, 59, 59), kBerlin), "yesterday"},
        {QDateTime(QDate(2025, 2, 28), QTime(0, 0), kBerlin), "yesterday"},
        {QDateTime(QDate(2025, 2, 27), QTime(23, 59, 59), kBerlin), "Thursday, February 27"},
        {QDateTime(QDate(2025, 3, 2), QTime(9, 0), kBerlin), "Sunday, March 2"},
    };
    for (const auto& [date, expected] : cases)
        EXPECT_EQ(Fmt::day(date, kNow), text(expected)) << qPrintable(date.toString(Qt::ISODate));
}

TEST_F(FmtTest, GermanTextsLocaleAndEnglishFallback)
{
    use("de");
    EXPECT_EQ(Fmt::day(kNow, kNow), text("heute"));
    EXPECT_EQ(Fmt::day(kNow.addDays(-1), kNow), text("yesterday"));
    EXPECT_EQ(Fmt::day(kNow.addDays(-2), kNow), text("Donnerstag, 27. Februar"));
    EXPECT_EQ(Fmt::relative(kNow.addSecs(-120), kNow), text("vor 2 Min."));
    EXPECT_EQ(Fmt::minutes(90), text("1,5 Std."));
}

TEST_F(FmtTest, TimeOfDayInTheLocalZoneAndTheLocaleClock)
{
    const QDateTime date(QDate(2025, 3, 1), QTime(13, 5), Qt::UTC);
    use("en");
    EXPECT_EQ(Fmt::time(date), text("2:05\u202FPM"));
    use("de");
    EXPECT_EQ(Fmt::time(date), text("14:05"));
}

TEST_F(FmtTest, MinutesAtTheirBoundaries)
{
    use("en");
    const std::vector<std::pair<double, const char*>> cases{
        {0.99, "under 1 min"}, {-3, "under 1 min"}, {kNaN, "under 1 min"}, {1, "1 min"},
        {59.49, "59 min"},     {59.5, "60 min"},    {60, "1.0 h"},         {130, "2.2 h"},
    };
    for (const auto& [minutes, expected] : cases)
        EXPECT_EQ(Fmt::minutes(minutes), text(expected)) << minutes;
}

TEST(FmtClock, RunningClockNeverConvertsAnUnrepresentableValue)
{
    const std::vector<std::pair<double, const char*>> cases{
        {75.9, "1:15"},
        {5, "0:05"},
        {3600, "60:00"},
        {59.999, "0:59"},
        {-75, "0:00"},
        {kNaN, "0:00"},
        {std::numeric_limits<double>::infinity(), "16666666666:40"},
    };
    for (const auto& [seconds, expected] : cases)
        EXPECT_EQ(Fmt::clock(seconds), text(expected)) << seconds;
}

} // namespace
