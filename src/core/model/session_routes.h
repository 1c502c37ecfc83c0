#pragma once

#include "core/base/enum_table.h"

#include <QByteArrayList>
#include <QStringList>

// What the graphical session offers for posting keys, owning the clipboard, floating a panel and
// hearing the hotkey, as found at launch. Desktop names play no part: a route is taken only where it answers.
struct SessionOffer {
    bool wayland = false; // a Wayland compositor runs the session
    // Qt draws our windows as an X11 client: on XWayland the compositor honours the panel's
    // no-focus and stay-on-top hints, which a Wayland tool window does not get.
    bool qtOnX11 = false;
    QByteArrayList globals = {};      // the Wayland registry's interface names
    bool mutterRemoteDesktop = false; // org.gnome.Mutter.RemoteDesktop on the session bus
    uint remoteDesktopPortal = 0;     // version of the RemoteDesktop portal; 0 where none answers
    bool keyboardsReadable = false;   // keyboards under /dev/input that this user may read
    bool kglobalaccel = false;        // KDE's global shortcut service has an owner on the session bus
    uint shortcutsPortal = 0;         // version of the GlobalShortcuts portal; 0 where none answers
    bool kwin = false;                // org.kde.KWin on the session bus
};

// How the paste and copy chords go out, best first.
enum class KeyRoute {
    XTest,
    VirtualKeyboard,
    KwinFakeInput,
    MutterRemoteDesktop,
    RemoteDesktopPortal,
    Unavailable
};
// Who reads and owns the clipboard for the paste cycle.
enum class ClipboardRoute { X11, DataControl, MutterSession, Unavailable };
// Who offers our text as the primary selection, which Shift+Insert pastes in terminals and windows
// showing no text field: data control, our X11 connection (XWayland hands the X selection on to the
// compositor's own windows), or nobody.
enum class PrimaryRoute { X11, DataControl, Unavailable };
// Where the floating widget can show without taking the focus: an X11 window the window manager
// keeps above the others, one that keeps out of the manager's hands (XWayland), or nowhere.
enum class PanelRoute { X11, X11OutsideManager, Hidden };

// The backends a session gets; the composition root builds what this names.
struct SessionRoutes {
    bool wayland = false;
    KeyRoute keys = KeyRoute::XTest;
    ClipboardRoute clipboard = ClipboardRoute::X11;
    PanelRoute panel = PanelRoute::X11;
    PrimaryRoute primary = PrimaryRoute::X11;

    static SessionRoutes choose(const SessionOffer& offer);

    // Language-table keys of what the user must do here, then of what does not work here.
    QStringList needs() const;
    QStringList gaps() const;
    // One line for the timing log.
    QString describe() const;

    friend bool operator==(const SessionRoutes&, const SessionRoutes&) = default;
};

namespace SessionRouteText {

inline constexpr EnumTable<KeyRoute>::Row keyRows[] = {
    {KeyRoute::XTest, QLatin1String("xtest")},
    {KeyRoute::VirtualKeyboard, QLatin1String("virtualKeyboard")},
    {KeyRoute::KwinFakeInput, QLatin1String("kwinFakeInput")},
    {KeyRoute::MutterRemoteDesktop, QLatin1String("mutterRemoteDesktop")},
    {KeyRoute::RemoteDesktopPortal, QLatin1String("remoteDesktopPortal")},
    {KeyRoute::Unavailable, QLatin1String("unavailable")},
};
inline constexpr EnumTable<KeyRoute> keys{keyRows, KeyRoute::Unavailable};

inline constexpr EnumTable<ClipboardRoute>::Row clipboardRows[] = {
    {ClipboardRoute::X11, QLatin1String("x11")},
    {ClipboardRoute::DataControl, QLatin1String("dataControl")},
    {ClipboardRoute::MutterSession, QLatin1String("mutterSession")},
    {ClipboardRoute::Unavailable, QLatin1String("unavailable")},
};
inline constexpr EnumTable<ClipboardRoute> clipboard{clipboardRows, ClipboardRoute::Unavailable};

inline constexpr EnumTable<PanelRoute>::Row panelRows[] = {
    {PanelRoute::X11, QLatin1String("x11")},
    {PanelRoute::X11OutsideManager, QLatin1String("x11OutsideManager")},
    {PanelRoute::Hidden, QLatin1String("hidden")},
};
inline constexpr EnumTable<PanelRoute> panel{panelRows, PanelRoute::Hidden};

} // namespace SessionRouteText
