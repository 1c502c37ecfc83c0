#include "platform/linux/x11/terminal_classes.h"

#include <QHash>

namespace {

using Paste = TerminalClasses::Paste;

// The paste keys each terminal binds in its default settings. The xterm family binds no
// Ctrl+Shift+V: there it types ^V.
const QHash<QString, Paste>& known()
{
    static const QHash<QString, Paste> classes = [] {
        QHash<QString, Paste> table;
        for (const char* name : {"xterm", "uxterm", "urxvt", "rxvt", "rxvt-unicode", "eterm", "aterm"})
            table.insert(QString::fromLatin1(name), Paste::ShiftInsert);
        for (const char* name : {
                 "gnome-terminal",
                 "gnome-terminal-server",
                 "org.gnome.terminal",
                 "konsole",
                 "org.kde.konsole",
                 "yakuake",
                 "xfce4-terminal",
                 "kitty",
                 "alacritty",
                 "terminator",
                 "tilix",
                 "com.gexperts.tilix",
                 "st",
                 "st-256color",
                 "foot",
                 "footclient",
                 "wezterm",
                 "org.wezfurlong.wezterm",
                 "mate-terminal",
                 "lxterminal",
                 "qterminal",
                 "terminology",
                 "sakura",
                 "guake",
                 "tilda",
                 "cool-retro-term",
                 "kgx",
                 "org.gnome.console",
                 "ptyxis",
                 "org.gnome.ptyxis",
                 "blackbox",
                 "com.raggesilver.blackbox",
                 "ghostty",
                 "com.mitchellh.ghostty",
                 "contour",
                 "rio",
                 "tabby",
                 "hyper",
                 "roxterm",
                 "termite",
                 "deepin-terminal",
                 "io.elementary.terminal",
                 "zutty",
                 "extraterm",
                 "warp",
                 "dev.warp.warp",
             })
            table.insert(QString::fromLatin1(name), Paste::ControlShiftV);
        return table;
    }();
    return classes;
}

} // namespace

std::optional<TerminalClasses::Paste> TerminalClasses::find(const QString& instance, const QString& className)
{
    for (const QString& name : {instance.toLower(), className.toLower()}) {
        const auto found = known().constFind(name);
        if (found != known().cend())
            return *found;
    }
    return std::nullopt;
}

bool TerminalClasses::contains(const QString& instance, const QString& className)
{
    return find(instance, className).has_value();
}
