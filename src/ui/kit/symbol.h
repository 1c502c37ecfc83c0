#pragma once

#include <QBrush>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QString>

class QPainter;

// The small symbols of the views. Each is the desktop icon theme's symbolic icon where the
// theme has one, else a shape of our own; either way only its outline is used and we colour it.
enum class Symbol {
    Stop,
    CheckCircle,
    Clipboard,
    Warning,
    Info,
    Sparkles,
    // The cards, the translate menu and the idle toolbar.
    Close,
    Copy,
    Check,
    Microphone,
    Book,
    ChevronUp,
    ChevronDown,
    Gear,
    ArrowRight,
    Note,
    NoteAdd,
    Insert,
    Swap,
    TextCheck,
    // The main window, its sidebar and the kit.
    Waveform,
    House,
    Wand,
    Clock,
    Pen,
    Wrench,
    Power,
    Accessibility,
    Search,
    ClearCircle,
    // The history.
    Trash,
    // The style page: the styles' tiles, the selection ring, its cards and rows.
    Quote,
    Envelope,
    Chat,
    ListBullet,
    Code,
    Circle,
    Globe,
    TextBubble,
    AppWindow,
    App,
    // The notes page.
    Plus,
};

namespace SymbolArt {

// The freedesktop icon name, or "" where icon themes have no such symbol.
QString themeName(Symbol symbol);
// Our own outline of the symbol, filling box.
QPainterPath path(Symbol symbol, const QRectF& box);
// The symbol's coverage as an alpha image of size (device pixels): the theme icon, else path().
QImage mask(Symbol symbol, QSize size, bool preferTheme = true);
// The mask filled with brush; a gradient brush in object-bounding mode spans the symbol's box.
QImage tinted(Symbol symbol, QSize size, const QBrush& brush, bool preferTheme = true);

} // namespace SymbolArt
