#include "core/text/fmt.h"

#include "core/text/l10n.h"
#include "core/text/text_format.h"

#include <QTimeZone>

#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/reldatefmt.h>
#include <unicode/timezone.h>

#include <array>
#include <cmath>
#include <memory>
#include <utility>

namespace {

icu::Locale icuLocale()
{
    const QByteArray tag = L10n::loaded().code.toUtf8();
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale locale = icu::Locale::forLanguageTag(tag.constData(), status);
    return U_SUCCESS(status) ? locale : icu::Locale(tag.constData());
}

// ICU caches its default zone at first use; asking Qt each time follows TZ like the rest of the app.
std::unique_ptr<icu::TimeZone> systemZone()
{
    const QByteArray id = QTimeZone::systemTimeZoneId();
    std::unique_ptr<icu::TimeZone> zone(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(id.constData())));
    if (!zone || *zone == icu::TimeZone::getUnknown())
        zone.reset(icu::TimeZone::createDefault());
    return zone;
}

UDate icuDate(const QDateTime& date)
{
    return static_cast<UDate>(date.toMSecsSinceEpoch());
}

QString toQString(const icu::UnicodeString& text)
{
    return QString::fromUtf16(text.getBuffer(), text.length());
}

// Formats with the locale's best pattern for a skeleton; nullopt when ICU cannot build one.
std::optional<QString> formatSkeleton(const QDateTime& date, const char16_t* skeleton)
{
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::DateFormat> format(
        icu::DateFormat::createInstanceForSkeleton(icu::UnicodeString(skeleton), icuLocale(), status));
    if (U_FAILURE(status) || !format)
        return std::nullopt;
    format->adoptTimeZone(systemZone().release());
    icu::UnicodeString out;
    format->format(icuDate(date), out);
    return toQString(out);
}

// Only reached when ICU lacks data; a plain date is still true, unlike "just now".
QString fallbackDate(const QDateTime& date)
{
    return L10n::locale().toString(date.toTimeZone(QTimeZone::systemTimeZone()), QLocale::ShortFormat);
}

} // namespace

QString Fmt::time(const QDateTime& date)
{
    if (const auto text = formatSkeleton(date, u"jm"))
        return *text;
    return L10n::locale().toString(date.toTimeZone(QTimeZone::systemTimeZone()).time(), QLocale::ShortFormat);
}

QString Fmt::relative(const QDateTime& date, const QDateTime& now)
{
    if (date.msecsTo(now) < 60 * 1000)
        return L10n::s(QStringLiteral("time.justNow"));

    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale locale = icuLocale();
    std::unique_ptr<icu::Calendar> calendar(
        icu::Calendar::createInstance(systemZone().release(), locale, status));
    icu::RelativeDateTimeFormatter formatter(locale, nullptr, UDAT_STYLE_SHORT, UDISPCTX_CAPITALIZATION_NONE,
                                             status);
    if (U_FAILURE(status) || !calendar)
        return fallbackDate(date);

    // Calendar differences in the largest unit that is not zero: 25 hours is "1 day ago".
    static constexpr std::array<std::pair<UCalendarDateFields, URelativeDateTimeUnit>, 7> kUnits{{
        {UCAL_YEAR, UDAT_REL_UNIT_YEAR},
        {UCAL_MONTH, UDAT_REL_UNIT_MONTH},
        {UCAL_WEEK_OF_YEAR, UDAT_REL_UNIT_WEEK},
        {UCAL_DATE, UDAT_REL_UNIT_DAY},
        {UCAL_HOUR_OF_DAY, UDAT_REL_UNIT_HOUR},
        {UCAL_MINUTE, UDAT_REL_UNIT_MINUTE},
        {UCAL_SECOND, UDAT_REL_UNIT_SECOND},
    }};
    calendar->setTime(icuDate(date), status);
    const UDate target = icuDate(now);
    for (const auto& [field, unit] : kUnits) {
        const int32_t count = calendar->fieldDifference(target, field, status);
        if (U_FAILURE(status))
            break;
        if (count != 0) {
            icu::UnicodeString out;
            formatter.formatNumeric(-count, unit, out, status);
            if (U_SUCCESS(status))
                return toQString(out);
            break;
        }
    }
    return fallbackDate(date);
}

QString Fmt::day(const QDateTime& date, const QDateTime& now)
{
    const QTimeZone zone = QTimeZone::systemTimeZone();
    const QDate day = date.toTimeZone(zone).date();
    const QDate today = now.toTimeZone(zone).date();
    if (day == today)
        return L10n::s(QStringLiteral("time.today"));
    if (day == today.addDays(-1))
        return L10n::s(QStringLiteral("time.yesterday"));
    if (const auto text = formatSkeleton(date, u"EEEEdMMMM"))
        return *text;
    return L10n::locale().toString(day, QLocale::LongFormat);
}

QString Fmt::minutes(double minutes)
{
    // Written as "not at least 1" so NaN lands here instead of in a number text.
    if (!(minutes >= 1))
        return L10n::s(QStringLiteral("time.underMinute"));
    if (minutes < 60)
        return L10n::format(QStringLiteral("time.minutes"), {static_cast<qint64>(std::llround(minutes))});
    return L10n::format(QStringLiteral("time.hours"), {minutes / 60});
}

QString Fmt::clock(double seconds)
{
    // Converting NaN, infinity or a huge value to an integer is undefined; clamp before truncating.
    constexpr double kLongest = 1e12;
    const qint64 whole = seconds > 0 ? static_cast<qint64>(std::fmin(seconds, kLongest)) : 0;
    return TextFormat::format(QStringLiteral("%d:%02d"), QLocale::c(), {whole / 60, whole % 60});
}
