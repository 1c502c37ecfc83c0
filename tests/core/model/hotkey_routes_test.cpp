#include "core/model/hotkey_routes.h"

#include <gtest/gtest.h>

namespace {

using R = HotkeyRoute;

} // namespace

// One row per kind of session: what it offers, and the routes tried there in their order.
TEST(HotkeyRoutes, EachSessionTriesTheRoutesItOffersBestFirst)
{
    // clang-format off
    const struct { const char* what; SessionOffer offer; QList<R> order; } rows[] = {
        {"X11",                        {.wayland = false, .keyboardsReadable = true, .kglobalaccel = true, .shortcutsPortal = 1}, {R::X11Desktop}},
        {"sway, keyboards readable",   {.wayland = true, .keyboardsReadable = true},                                             {R::Evdev, R::CommandLine}},
        {"sway",                       {.wayland = true},                                                                         {R::CommandLine}},
        {"sway with KDE's portal",     {.wayland = true, .shortcutsPortal = 1},                                                   {R::Portal, R::CommandLine}},
        {"KDE",                        {.wayland = true, .kglobalaccel = true, .shortcutsPortal = 1, .kwin = true},              {R::KGlobalAccel, R::Portal, R::OwnWindows}},
        {"KDE, keyboards readable",    {.wayland = true, .keyboardsReadable = true, .kglobalaccel = true, .kwin = true},         {R::Evdev, R::KGlobalAccel, R::OwnWindows}},
        {"KDE without its service",    {.wayland = true, .kwin = true},                                                           {R::OwnWindows}},
        {"GNOME 43",                   {.wayland = true, .mutterRemoteDesktop = true, .remoteDesktopPortal = 2},                  {R::OwnWindows}},
        {"GNOME 43 with KDE's portal", {.wayland = true, .mutterRemoteDesktop = true, .shortcutsPortal = 1},                      {R::Portal, R::OwnWindows}},
        {"GNOME, keyboards readable",  {.wayland = true, .mutterRemoteDesktop = true, .keyboardsReadable = true},                 {R::Evdev, R::OwnWindows}},
    };
    // clang-format on
    for (const auto& row : rows)
        EXPECT_EQ(HotkeyRoutes::choose(row.offer).order, row.order) << row.what;
}

TEST(HotkeyRoutes, AFailedRouteHandsOverToTheNextOneAndTheLastToNone)
{
    const HotkeyRoutes kde{.order = {R::KGlobalAccel, R::Portal, R::OwnWindows}};
    // clang-format off
    const struct { R failed; std::optional<R> next; } rows[] = {
        {R::KGlobalAccel, R::Portal},
        {R::Portal,       R::OwnWindows},
        {R::OwnWindows,   std::nullopt},
        {R::Evdev,        std::nullopt},
    };
    // clang-format on
    for (const auto& row : rows)
        EXPECT_EQ(kde.after(row.failed), row.next) << HotkeyRouteText::names.text(row.failed).toStdString();
}
