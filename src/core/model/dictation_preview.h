#pragma once

#include <QString>

// ReplacedCopy: copied, in place of what the user had copied there.
enum class DictationPreviewStatus { Working, Inserted, Copied, ReplacedCopy };

// The overlay's preview of the last dictation.
struct DictationPreview {
    QString text;
    DictationPreviewStatus status = DictationPreviewStatus::Working;
    bool wasCommand = false;

    friend bool operator==(const DictationPreview&, const DictationPreview&) = default;
};
