#include "platform/linux/atspi/text_offsets.h"

namespace TextOffsets {

std::optional<int> fromUtf16(Unit unit, QStringView text, int utf16)
{
    if (utf16 < 0 || utf16 > text.size())
        return std::nullopt;
    if (unit == Unit::Utf16)
        return utf16;
    if (utf16 > 0 && utf16 < text.size() && text[utf16 - 1].isHighSurrogate() && text[utf16].isLowSurrogate())
        return std::nullopt;
    return length(unit, text.first(utf16));
}

std::optional<int> toUtf16(Unit unit, QStringView text, int offset)
{
    if (offset < 0)
        return std::nullopt;
    if (unit == Unit::Utf16)
        return offset <= text.size() ? std::optional<int>(offset) : std::nullopt;
    qsizetype position = 0;
    for (int n = 0; n < offset; ++n) {
        if (position >= text.size())
            return std::nullopt;
        const bool pair = text[position].isHighSurrogate() && position + 1 < text.size() &&
                          text[position + 1].isLowSurrogate();
        position += pair ? 2 : 1;
    }
    return static_cast<int>(position);
}

int length(Unit unit, QStringView text)
{
    if (unit == Unit::Utf16)
        return static_cast<int>(text.size());
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!(text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate()))
            ++count;
    }
    return count;
}

} // namespace TextOffsets
