#pragma once

#include <QString>

enum class DictationPreviewStatus { Working, Inserted, Copied };

// The overlay's preview of the last dictation.
struct DictationPreview {
    QString text;
    DictationPreviewStatus status = DictationPreviewStatus::Working;
    bool wasCommand = false;

    friend bool operator==(const DictationPreview&, const DictationPreview&) = default;
};
