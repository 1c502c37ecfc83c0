#include "platform/linux/x11/terminal_classes.h"

#include <QSet>

namespace {

const QSet<QString>& known()
{
    static const QSet<QString> classes = [] {
        QSet<QString> set;
        for (const char* name : {
                 "xterm",
                 "uxterm",
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
                 "urxvt",
                 "rxvt",
                 "rxvt-unicode",
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
                 "eterm",
                 "aterm",
                 "roxterm",
                 "termite",
                 "deepin-terminal",
                 "io.elementary.terminal",
                 "zutty",
                 "extraterm",
                 "warp",
                 "dev.warp.warp",
             })
            set.insert(QString::fromLatin1(name));
        return set;
    }();
    return classes;
}

} // namespace

bool TerminalClasses::contains(const QString& instance, const QString& className)
{
    return known().contains(instance.toLower()) || known().contains(className.toLower());
}
