#pragma once

#include "core/model/phase.h"
#include "ui/kit/kit_font.h"

#include <QFont>
#include <QSize>
#include <QString>

// Measures the expanded pill for an outcome of the dictation, so the panel is sized before the
// pill lays out its row and both agree. An outcome the usual bar would cut takes the wide bar;
// a failed or notice message wraps there onto more lines, and the bar grows with them. A message
// longer than four lines there (a speech server's own words) takes the message bar, wider still,
// and shows whole.
class PillLayout final {
public:
    static constexpr int barHeight = 38;
    static constexpr int barWidth = 172;
    // The wide bar of the pill's sizes, also a rewriting command's.
    static constexpr int wideBarWidth = 220;
    static constexpr int messageBarWidth = 360;
    static constexpr int padding = 12;
    // The outcome's symbol at the default body size, and the room between the row's parts.
    static constexpr int symbolSide = 15;
    static constexpr int spacing = 8;
    static constexpr int maxMessageLines = 4;
    static constexpr TextRole statusRole = TextRole::CalloutStrong;
    static constexpr TextRole textRole = TextRole::Callout;
    static constexpr TextRole messageRole = TextRole::CalloutMedium;

    PillLayout();

    // The bar for a done, failed or notice phase; textShown: a done text stands beside its status.
    // Any other phase: the usual bar.
    QSize outcomeBar(const Phase& phase, const QString& status, bool textShown) const;
    // The bar that shows this failed or notice message whole.
    QSize messageBar(const QString& message) const;

private:
    // Lines of the message at the text width of a bar that wide.
    int messageLines(const QString& message, int barWidth) const;

    QFont m_status;
    QFont m_text;
    QFont m_message;
};
