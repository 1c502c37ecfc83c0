#include "core/text/l10n.h"
#include "ui/shell/status_icon_art.h"
#include "ui/shell/status_icon_look.h"
#include "ui/shell/status_tooltip.h"

#include <gtest/gtest.h>

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

TEST(StatusIcon, IsWiderWithTheBadgeAndPaintsTheTintOnlyWhereTheSymbolIs)
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
            if (pixel.alpha() == 0)
                continue;
            ++tintedPixels;
            EXPECT_GT(pixel.red(), pixel.blue()) << x << "," << y;
        }
    EXPECT_GT(tintedPixels, 20);
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0)
        << "the corner stays clear: source-atop must not flood the image";
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
