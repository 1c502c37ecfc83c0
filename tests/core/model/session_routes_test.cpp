#include "test_text.h"

#include "core/model/session_routes.h"
#include "core/text/l10n.h"

#include <gtest/gtest.h>

namespace {

const QByteArray vk = "zwp_virtual_keyboard_manager_v1";
const QByteArray fake = "org_kde_kwin_fake_input";
const QByteArray wlr = "zwlr_data_control_manager_v1";
const QByteArray ext = "ext_data_control_manager_v1";
const QByteArray other = "wl_seat";

using K = KeyRoute;
using C = ClipboardRoute;
using P = PanelRoute;
using S = PrimaryRoute;

} // namespace

// One row per kind of session: what it offers, and what the program takes there.
TEST(SessionRoutes, EachSessionGetsTheBestRouteItOffers)
{
    // clang-format off
    const struct { const char* what; SessionOffer offer; K keys; C clipboard; P panel; S primary; } rows[] = {
        {"X11 session",                 {.wayland = false, .qtOnX11 = true},                                                          K::XTest,               C::X11,           P::X11,               S::X11},
        {"X11 session offering more",   {.wayland = false, .qtOnX11 = true, .globals = {vk, wlr}, .mutterRemoteDesktop = true},       K::XTest,               C::X11,           P::X11,               S::X11},
        {"sway",                        {.wayland = true, .qtOnX11 = true, .globals = {other, vk, wlr}},                              K::VirtualKeyboard,     C::DataControl,   P::X11OutsideManager, S::DataControl},
        {"wlroots with ext only",       {.wayland = true, .qtOnX11 = true, .globals = {vk, ext}},                                     K::VirtualKeyboard,     C::DataControl,   P::X11OutsideManager, S::DataControl},
        {"KDE, desktop file installed", {.wayland = true, .qtOnX11 = true, .globals = {fake, wlr}, .remoteDesktopPortal = 2},         K::KwinFakeInput,       C::DataControl,   P::X11OutsideManager, S::DataControl},
        {"KDE, no desktop file",        {.wayland = true, .qtOnX11 = true, .globals = {wlr}, .remoteDesktopPortal = 2},               K::RemoteDesktopPortal, C::DataControl,   P::X11OutsideManager, S::DataControl},
        {"first portal version",        {.wayland = true, .qtOnX11 = true, .globals = {wlr}, .remoteDesktopPortal = 1},               K::RemoteDesktopPortal, C::DataControl,   P::X11OutsideManager, S::DataControl},
        {"GNOME",                       {.wayland = true, .qtOnX11 = true, .mutterRemoteDesktop = true, .remoteDesktopPortal = 2},    K::MutterRemoteDesktop, C::MutterSession, P::X11OutsideManager, S::X11},
        {"keyboard and data control",   {.wayland = true, .qtOnX11 = true, .globals = {fake, vk, ext}, .mutterRemoteDesktop = true}, K::VirtualKeyboard,     C::DataControl,   P::X11OutsideManager, S::DataControl},
        {"portal without a clipboard",  {.wayland = true, .qtOnX11 = true, .remoteDesktopPortal = 1},                                 K::Unavailable,         C::Unavailable,   P::X11OutsideManager, S::Unavailable},
        {"keyboard without a clipboard",{.wayland = true, .qtOnX11 = true, .globals = {vk}},                                          K::Unavailable,         C::Unavailable,   P::X11OutsideManager, S::Unavailable},
        {"clipboard without keys",      {.wayland = true, .qtOnX11 = true, .globals = {wlr}},                                         K::Unavailable,         C::DataControl,   P::X11OutsideManager, S::DataControl},
        {"nothing offered",             {.wayland = true, .qtOnX11 = true},                                                           K::Unavailable,         C::Unavailable,   P::X11OutsideManager, S::Unavailable},
        {"no XWayland",                 {.wayland = true, .qtOnX11 = false, .globals = {vk, wlr}},                                    K::VirtualKeyboard,     C::DataControl,   P::Hidden,            S::DataControl},
        {"GNOME without XWayland",      {.wayland = true, .qtOnX11 = false, .mutterRemoteDesktop = true},                             K::MutterRemoteDesktop, C::MutterSession, P::Hidden,            S::Unavailable},
    };
    // clang-format on
    for (const auto& row : rows) {
        const SessionRoutes routes = SessionRoutes::choose(row.offer);
        EXPECT_EQ(routes.keys, row.keys) << row.what;
        EXPECT_EQ(routes.clipboard, row.clipboard) << row.what;
        EXPECT_EQ(routes.panel, row.panel) << row.what;
        EXPECT_EQ(routes.primary, row.primary) << row.what;
        EXPECT_EQ(routes.wayland, row.offer.wayland) << row.what;
    }
}

// The notices say what to do and what fails; a working session says nothing at all.
TEST(SessionRoutes, NoticesNameWhatTheUserMustDoAndWhatDoesNotWork)
{
    const QString portal = s("session.needs.portalApproval");
    const QString keys = s("session.gap.keys");
    const QString clipboard = s("session.gap.clipboard");
    const QString panel = s("session.gap.panel");
    // clang-format off
    const struct { const char* what; SessionRoutes routes; QStringList needs; QStringList gaps; } rows[] = {
        {"X11",                {},                                                                                              {},       {}},
        {"sway",               {.wayland = true, .keys = K::VirtualKeyboard, .clipboard = C::DataControl},                     {},       {}},
        {"portal keys",        {.wayland = true, .keys = K::RemoteDesktopPortal, .clipboard = C::DataControl},                 {portal}, {}},
        {"no keys",            {.wayland = true, .keys = K::Unavailable, .clipboard = C::DataControl},                         {},       {keys}},
        {"no clipboard",       {.wayland = true, .keys = K::Unavailable, .clipboard = C::Unavailable},                         {},       {clipboard}},
        {"no panel",           {.wayland = true, .keys = K::MutterRemoteDesktop, .clipboard = C::MutterSession, .panel = P::Hidden}, {}, {panel}},
    };
    // clang-format on
    for (const auto& row : rows) {
        EXPECT_EQ(row.routes.needs(), row.needs) << row.what;
        EXPECT_EQ(row.routes.gaps(), row.gaps) << row.what;
    }
}

TEST(SessionRoutes, EveryNoticeHasATextInTheShippedTables)
{
    const SessionRoutes shown[] = {
        {.wayland = true, .keys = K::RemoteDesktopPortal, .clipboard = C::DataControl},
        {.wayland = true, .keys = K::Unavailable, .clipboard = C::DataControl, .panel = P::Hidden},
        {.wayland = true, .keys = K::Unavailable, .clipboard = C::Unavailable}};
    for (const char* language : {"en", "de"}) {
        L10n::install({{QStringLiteral(QUENDA_SOURCE_DIR "/resources/Languages")}, {s(language)}});
        for (const SessionRoutes& routes : shown) {
            for (const QString& key : routes.needs() + routes.gaps())
                EXPECT_NE(L10n::s(key), key) << language << " " << key.toStdString();
        }
    }
}
