#include "core/text/l10n.h"
#include "ui/shell/status_icon_art.h"
#include "ui/shell/status_icon_look.h"
#include "ui/shell/status_tooltip.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using Symbol = StatusIconLook::Symbol;

} // namespace

TEST(StatusIcon, ShowsBusyWhileWorkingTheBadgeOnlyOnTheWaveformAndTintsWhileListening)
{
    struct Row {
        const char* name;
        Phase phase;
        bool offered;
        bool dismissed;
        StatusIconLook look;
    };
    const Row rows[] = {
        // clang-format off
        {.name = "idle", .phase = Phase::idle(), .offered = false, .dismissed = false, .look = {.symbol = Symbol::Waveform, .badge = false, .tinted = false}},
        {.name = "idle with update", .phase = Phase::idle(), .offered = true, .dismissed = false, .look = {.symbol = Symbol::Waveform, .badge = true, .tinted = false}},
        {.name = "dismissed update", .phase = Phase::idle(), .offered = true, .dismissed = true, .look = {.symbol = Symbol::Waveform, .badge = false, .tinted = false}},
        {.name = "listening", .phase = Phase::listening(), .offered = false, .dismissed = false, .look = {.symbol = Symbol::Waveform, .badge = false, .tinted = true}},
        {.name = "listening with update", .phase = Phase::listening(), .offered = true, .dismissed = false, .look = {.symbol = Symbol::Waveform, .badge = true, .tinted = true}},
        {.name = "transcribing hides the badge", .phase = Phase::transcribing(), .offered = true, .dismissed = false, .look = {.symbol = Symbol::Busy, .badge = false, .tinted = false}},
        {.name = "polishing", .phase = Phase::polishing(QStringLiteral("raw")), .offered = false, .dismissed = false, .look = {.symbol = Symbol::Busy, .badge = false, .tinted = false}},
        {.name = "translating", .phase = Phase::translating(QStringLiteral("de")), .offered = false, .dismissed = false, .look = {.symbol = Symbol::Busy, .badge = false, .tinted = false}},
        {.name = "done", .phase = Phase::done(QStringLiteral("t"), true), .offered = true, .dismissed = false, .look = {.symbol = Symbol::Waveform, .badge = true, .tinted = false}},
        {.name = "failed", .phase = Phase::failed(QStringLiteral("x")), .offered = false, .dismissed = false, .look = {.symbol = Symbol::Waveform, .badge = false, .tinted = false}},
        // clang-format on
    };
    for (const Row& row : rows)
        EXPECT_EQ(StatusIconLook::of(row.phase, row.offered, row.dismissed), row.look) << row.name;
}

TEST(StatusIcon, IsWiderWithTheBadgeAndTurnsItsTileToTheTintWhileListening)
{
    const StatusIconLook plain{.symbol = Symbol::Waveform, .badge = false, .tinted = false};
    const StatusIconLook badged{.symbol = Symbol::Waveform, .badge = true, .tinted = false};
    const StatusIconLook tinted{.symbol = Symbol::Waveform, .badge = false, .tinted = true};
    EXPECT_EQ(StatusIconArt::draw(plain).size(), QSize(18, 18));
    EXPECT_EQ(StatusIconArt::draw(badged).size(), QSize(24, 18));
    EXPECT_EQ(StatusIconArt::draw(badged, 2.0).size(), QSize(48, 36));

    const QImage image = StatusIconArt::draw(tinted);
    int tintedPixels = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (pixel.alpha() < 255)
                continue;
            // The tile in the tint, the symbol white on it: none of the brand's violet is left.
            EXPECT_GE(pixel.red(), pixel.blue()) << x << "," << y;
            tintedPixels += pixel.red() > pixel.blue();
        }
    EXPECT_GT(tintedPixels, 20);
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0) << "the corner stays clear, outside the rounded tile";
}

// The tray's panel may be light or dark: at rest the icon still stands out (3:1 for most of what
// it draws) on either, rather than read as a control switched off.
TEST(StatusIcon, AtRestItStandsOutOnLightAndDarkPanels)
{
    const auto luminance = [](const QColor& c) {
        const auto channel = [](double v) {
            return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    // clang-format off
    const struct { const char* name; StatusIconLook look; } looks[] = {
        {"idle",   {.symbol = Symbol::Waveform, .badge = false, .tinted = false}},
        {"busy",   {.symbol = Symbol::Busy,     .badge = false, .tinted = false}},
        {"update", {.symbol = Symbol::Waveform, .badge = true,  .tinted = false}},
    };
    // clang-format on
    for (const QColor& panel : {QColor(246, 245, 244), QColor(48, 48, 48)}) {
        for (const auto& row : looks) {
            QImage onPanel(StatusIconArt::draw(row.look, 2.0).size(), QImage::Format_RGB32);
            onPanel.fill(panel);
            QPainter(&onPanel).drawImage(0, 0, StatusIconArt::draw(row.look, 2.0));
            int drawn = 0;
            int standing = 0;
            for (int y = 0; y < onPanel.height(); ++y)
                for (int x = 0; x < onPanel.width(); ++x) {
                    const QColor pixel = onPanel.pixelColor(x, y);
                    if (pixel == panel)
                        continue;
                    ++drawn;
                    const double a = luminance(pixel) + 0.05;
                    const double b = luminance(panel) + 0.05;
                    standing += std::max(a, b) / std::min(a, b) >= 3.0;
                }
            EXPECT_GT(standing, drawn / 2) << row.name << " on " << panel.name().toStdString();
        }
    }
}

// Hovering the tray icon is how a user asks what Quenda is doing and which key dictates.
TEST(StatusIcon, TheTooltipSaysTheStateThenTheKeyAndTheGestures)
{
    L10n::install({{QStringLiteral(QUENDA_SOURCE_DIR "/resources/Languages")}, {QStringLiteral("en")}});
    using Inputs = StatusTooltip::Inputs;
    struct Row {
        Inputs inputs;
        const char* shown;
    };
    const char* keys = "Hold Right Ctrl to dictate · tap it twice for hands-free · Esc cancels";
    const char* altKeys = "Hold Right Alt to dictate · tap it twice for hands-free · Esc cancels";
    // clang-format off
    const Row rows[] = {
        {{},                                                             "Quenda is ready\n%k"},
        {{.engine = EngineState::Loading},                               "Quenda: the speech engine is loading\n%k"},
        {{.engine = EngineState::Error},                                 "Quenda: the speech engine has stopped\n%k"},
        {{.phase = Phase::listening()},                                  "Quenda is listening\n%k"},
        {{.phase = Phase::listening(), .handsFree = true},               "Quenda is listening hands-free\n%k"},
        {{.phase = Phase::transcribing(), .updateShown = true},          "Quenda is writing what you said\nAn update is available\n%k"},
        {{.phase = Phase::done(QStringLiteral("t"), true), .hotkey = Hotkey::RightOption}, "Quenda is ready\n%a"},
    };
    // clang-format on
    for (const Row& row : rows) {
        QString shown = QString::fromUtf8(row.shown);
        shown.replace(QStringLiteral("%k"), QString::fromUtf8(keys))
            .replace(QStringLiteral("%a"), QString::fromUtf8(altKeys));
        EXPECT_EQ(StatusTooltip::text(row.inputs), shown) << row.shown;
    }
    L10n::install(L10n::desktopSources());
}
