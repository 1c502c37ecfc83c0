#include "core/text/text_format.h"

#include <QMetaType>

#include <cmath>
#include <optional>

namespace {

// Beyond these a conversion is treated as malformed rather than padding to megabytes.
constexpr int kMaxWidth = 256;
constexpr int kMaxPrecision = 64;
constexpr int kMaxPosition = 1000;

struct Conversion {
    int position = 0; // 1-based; 0 takes the next argument
    bool left = false;
    bool plus = false;
    bool space = false;
    bool zero = false;
    int width = 0;
    int precision = -1;
    char16_t type = 0;
};

enum class Kind { Signed, Unsigned, Floating, Text };

Kind kindOf(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::SChar:
        return Kind::Signed;
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return Kind::Unsigned;
    case QMetaType::Double:
    case QMetaType::Float:
        return Kind::Floating;
    default:
        return Kind::Text;
    }
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Reads a run of digits; nullopt when the number exceeds limit.
std::optional<int> readNumber(const QString& text, qsizetype& i, int limit)
{
    qint64 value = 0;
    bool tooLarge = false;
    while (i < text.size() && isDigit(text[i])) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > limit) {
            tooLarge = true;
            value = limit;
        }
        ++i;
    }
    if (tooLarge)
        return std::nullopt;
    return static_cast<int>(value);
}

// Parses the conversion that starts after a '%' at i; i ends after the conversion character.
std::optional<Conversion> parse(const QString& text, qsizetype& i)
{
    Conversion c;
    qsizetype probe = i;
    if (probe < text.size() && text[probe] != u'0' && isDigit(text[probe])) {
        const auto number = readNumber(text, probe, kMaxPosition);
        if (probe < text.size() && text[probe] == u'$') {
            if (!number)
                return std::nullopt;
            c.position = *number;
            i = probe + 1;
        }
    }
    for (; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == u'-')
            c.left = true;
        else if (ch == u'+')
            c.plus = true;
        else if (ch == u' ')
            c.space = true;
        else if (ch == u'0')
            c.zero = true;
        else if (ch != u'#' && ch != u'\'')
            break;
    }
    const auto width = readNumber(text, i, kMaxWidth);
    if (!width)
        return std::nullopt;
    c.width = *width;
    if (i < text.size() && text[i] == u'.') {
        ++i;
        const auto precision = readNumber(text, i, kMaxPrecision);
        if (!precision)
            return std::nullopt;
        c.precision = *precision;
    }
    while (i < text.size() && QStringView(u"hlqLztj").contains(text[i]))
        ++i;
    if (i >= text.size())
        return std::nullopt;
    c.type = text[i].unicode();
    ++i;
    if (!QStringView(u"diufFeEgG@s%").contains(QChar(c.type)))
        return std::nullopt;
    return c;
}

QString pad(const QString& text, const Conversion& c)
{
    if (text.size() >= c.width)
        return text;
    const QString fill(c.width - text.size(), u' ');
    return c.left ? text + fill : fill + text;
}

// Sign and digits are padded separately so zero padding lands between them, as in printf.
QString padNumber(const QString& sign, QString digits, const Conversion& c, const QLocale& locale,
                  bool zeroAllowed)
{
    const qsizetype length = sign.size() + digits.size();
    if (c.zero && !c.left && zeroAllowed && length < c.width)
        digits = locale.zeroDigit().repeated(c.width - length) + digits;
    return pad(sign + digits, c);
}

QString signOf(bool negative, const Conversion& c, const QLocale& locale)
{
    if (negative)
        return locale.negativeSign();
    if (c.plus)
        return locale.positiveSign();
    return c.space ? QStringLiteral(" ") : QString();
}

QString integerText(const QVariant& value, Kind kind, const Conversion& c, const QLocale& locale)
{
    bool negative = false;
    quint64 magnitude = 0;
    if (kind == Kind::Signed) {
        const qint64 v = value.toLongLong();
        negative = v < 0;
        // Negating in unsigned arithmetic keeps the lowest 64-bit value exact.
        magnitude = negative ? 0 - static_cast<quint64>(v) : static_cast<quint64>(v);
    } else {
        magnitude = value.toULongLong();
    }
    QString digits = locale.toString(magnitude);
    if (c.precision > digits.size())
        digits = locale.zeroDigit().repeated(c.precision - digits.size()) + digits;
    return padNumber(signOf(negative, c, locale), digits, c, locale, c.precision < 0);
}

QString floatingText(double value, const Conversion& c, const QLocale& locale)
{
    const char style = c.type == u'F' ? 'f' : static_cast<char>(c.type);
    const int precision = c.precision < 0 ? 6 : c.precision;
    const bool finite = std::isfinite(value);
    const bool negative = std::signbit(value) && !std::isnan(value);
    QString digits = locale.toString(std::fabs(value), style, precision);
    // Qt writes the locale's exponent symbol ("E" in English); printf's case follows the conversion.
    digits = QChar(c.type).isUpper() ? digits.toUpper() : digits.toLower();
    return padNumber(signOf(negative, c, locale), digits, c, locale, finite);
}

QString plainText(const QVariant& value, Kind kind, const QLocale& locale)
{
    switch (kind) {
    case Kind::Signed:
        return locale.toString(value.toLongLong());
    case Kind::Unsigned:
        return locale.toString(value.toULongLong());
    case Kind::Floating:
        return locale.toString(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case Kind::Text:
        break;
    }
    return value.toString();
}

QString render(const Conversion& c, const QVariant& value, const QLocale& locale)
{
    const Kind kind = kindOf(value);
    const bool integral = kind == Kind::Signed || kind == Kind::Unsigned;
    switch (c.type) {
    case u'd':
    case u'i':
    case u'u':
        if (integral)
            return integerText(value, kind, c, locale);
        break;
    case u'f':
    case u'F':
    case u'e':
    case u'E':
    case u'g':
    case u'G':
        if (integral || kind == Kind::Floating)
            return floatingText(value.toDouble(), c, locale);
        break;
    default: {
        QString text = plainText(value, kind, locale);
        if (c.precision >= 0)
            text.truncate(c.precision);
        return pad(text, c);
    }
    }
    return pad(plainText(value, kind, locale), c);
}

} // namespace

QString TextFormat::format(const QString& pattern, const QLocale& locale, const QVariantList& arguments)
{
    QLocale numbers = locale;
    numbers.setNumberOptions(numbers.numberOptions() | QLocale::OmitGroupSeparator);

    QString out;
    out.reserve(pattern.size());
    qsizetype next = 0;
    qsizetype i = 0;
    while (i < pattern.size()) {
        const qsizetype percent = pattern.indexOf(u'%', i);
        if (percent < 0) {
            out += QStringView(pattern).mid(i);
            break;
        }
        out += QStringView(pattern).mid(i, percent - i);
        i = percent + 1;
        const auto conversion = parse(pattern, i);
        if (!conversion) {
            out += QStringView(pattern).mid(percent, i - percent);
            continue;
        }
        if (conversion->type == u'%') {
            out += u'%';
            continue;
        }
        const qsizetype index = conversion->position > 0 ? conversion->position - 1 : next++;
        if (index >= arguments.size()) {
            out += QStringView(pattern).mid(percent, i - percent);
            continue;
        }
        out += render(*conversion, arguments[index], numbers);
    }
    return out;
}
