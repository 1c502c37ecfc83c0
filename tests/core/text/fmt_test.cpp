#include "core/text/fmt.h"
#include "core/text/l10n.h"

#include <QTimeZone>

#include <gtest/gtest.h>

#include <ctime>
#include <limits>

namespace {

// Away from UTC, so a formatter that silently works in UTC shows up.
[[maybe_unused]] const bool g_berlin = [] {
    qputenv("TZ", "Europe/Berlin");
    tzset();
    return true;
}();

const QTimeZone kBerlin(QByteArrayLiteral("Europe/Berlin"));
const QDateTime kNow(QDate(2025, 3, 1), QTime(8, 15), kBerlin); // a Saturday
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void use(const char* language)
{
    L10n::install(
        {{QStringLiteral(QUENDA_SOURCE_DIR "/resources/Languages")}, {QString::fromUtf8(language)}});
}

QDateTime berlin(int month, int day, QTime time)
{
    return {QDate(2025, month, day), time, kBerlin};
}

TEST(Fmt, DateTextsAtTheirBoundariesInTheLocalCalendar)
{
    const std::vector<std::tuple<const char*, double, const char*>> relative{
        {"en", 59.9, "Just now"},    {"en", -3600, "Just now"}, {"en", 60, "1 min. ago"},
        {"en", 3599, "59 min. ago"}, {"en", 3600, "1 hr. ago"}, {"en", 25 * 3600, "1 day ago"},
        {"de", 120, "vor 2 Min."}};
    for (const auto& [language, secondsAgo, expected] : relative) {
        use(language);
        EXPECT_EQ(Fmt::relative(kNow.addMSecs(qint64(-secondsAgo * 1000)), kNow),
                  QString::fromUtf8(expected));
    }
    const std::vector<std::tuple<const char*, QDateTime, const char*>> days{
        {"en", berlin(3, 1, QTime(0, 0)), "Today"},
        // 23:30 UTC on the 28th is already the 1st in Berlin.
        {"en", QDateTime(QDate(2025, 2, 28), QTime(23, 30), Qt::UTC), "Today"},
        {"en", berlin(2, 28, QTime(23, 59, 59)), "Yesterday"},
        {"en", berlin(2, 28, QTime(0, 0)), "Yesterday"},
        {"en", berlin(2, 27, QTime(23, 59, 59)), "Thursday, February 27"},
        {"de", berlin(2, 27, QTime(12, 0)), "Donnerstag, 27. Februar"}};
    for (const auto& [language, date, expected] : days) {
        use(language);
        EXPECT_EQ(Fmt::day(date, kNow), QString::fromUtf8(expected)) << expected;
    }
    const QDateTime afternoon(QDate(2025, 3, 1), QTime(13, 5), Qt::UTC);
    use("en");
    EXPECT_EQ(Fmt::time(afternoon), QStringLiteral("2:05\u202FPM"));
    use("de");
    EXPECT_EQ(Fmt::time(afternoon), QStringLiteral("14:05"));
}

TEST(Fmt, DurationsAtTheirBoundariesNeverConvertAnUnrepresentableValue)
{
    const std::vector<std::tuple<const char*, double, const char*>> minutes{
        {"en", 0.99, "< 1 min"}, {"en", -3, "< 1 min"},  {"en", kNaN, "< 1 min"}, {"en", 1, "1 min"},
        {"en", 59.49, "59 min"}, {"en", 59.5, "60 min"}, {"en", 60, "1.0 h"},     {"de", 90, "1,5 Std."}};
    for (const auto& [language, value, expected] : minutes) {
        use(language);
        EXPECT_EQ(Fmt::minutes(value), QString::fromUtf8(expected)) << value;
    }
    const std::vector<std::pair<double, const char*>> clock{
        {5, "0:05"},   {59.999, "0:59"}, {3600, "60:00"},
        {-75, "0:00"}, {kNaN, "0:00"},   {std::numeric_limits<double>::infinity(), "16666666666:40"}};
    for (const auto& [seconds, expected] : clock)
        EXPECT_EQ(Fmt::clock(seconds), QString::fromUtf8(expected)) << seconds;
}

} // namespace
