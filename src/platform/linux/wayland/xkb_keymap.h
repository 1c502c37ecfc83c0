#pragma once

#include "platform/linux/keys/synthetic_keyboard.h"

#include <QByteArray>

#include <QString>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>

struct xkb_context;
struct xkb_keymap;

// A compiled XKB keyboard map: where its keys are, by the symbol they type.
class XkbKeymap final {
public:
    // Rules, model, layout, variant, options; an empty one comes from the XKB_DEFAULT_* variables
    // or xkbcommon's own defaults, as a desktop's keyboard settings do.
    struct Names {
        QByteArray rules = {};
        QByteArray model = {};
        QByteArray layout = {};
        QByteArray variant = {};
        QByteArray options = {};
    };
    static std::optional<XkbKeymap> compile(const Names& names);
    // A map in the text format compositors send.
    static std::optional<XkbKeymap> parse(const QByteArray& text);

    // The map in the text format, as a compositor takes it.
    QByteArray text() const;
    // The evdev code of the first key typing the symbol without a modifier, searching the first
    // layout first; none if no layout has it. Toolkits match a shortcut's letter in every layout,
    // so a letter found in a later layout needs no switch.
    std::optional<uint32_t> find(uint32_t keysym) const;
    std::optional<uint32_t> find(SyntheticKeyboard::Key key) const;
    // The evdev codes of the chord keys the map has.
    std::map<SyntheticKeyboard::Key, uint32_t> chordKeys() const;
    // The symbol's name of a chord key, for the log ("Control_L").
    static QString name(SyntheticKeyboard::Key key);
    // The modifier mask of a named modifier ("Control", "Shift"); 0 if the map has none.
    uint32_t modifierMask(const char* name) const;

private:
    struct Free {
        void operator()(xkb_context* context) const;
        void operator()(xkb_keymap* keymap) const;
    };
    XkbKeymap(std::unique_ptr<xkb_context, Free> context, std::unique_ptr<xkb_keymap, Free> keymap);

    std::unique_ptr<xkb_context, Free> m_context;
    std::unique_ptr<xkb_keymap, Free> m_keymap;
};
