#include "dictation/insert/displaced_clipboard.h"

std::optional<QString> DisplacedClipboard::worthReporting(const std::optional<QString>& displaced,
                                                          const QString& replacement)
{
    if (!displaced)
        return std::nullopt;
    const QString trimmed = displaced->trimmed();
    if (trimmed.isEmpty() || trimmed.size() > longestReported || trimmed == replacement.trimmed())
        return std::nullopt;
    return displaced;
}
