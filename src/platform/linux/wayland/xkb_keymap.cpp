#include "platform/linux/wayland/xkb_keymap.h"

#include "platform/linux/keys/chord_keysyms.h"

#include <xkbcommon/xkbcommon.h>

namespace {

const char* orNull(const QByteArray& name)
{
    return name.isEmpty() ? nullptr : name.constData();
}

// XKB numbers keys from 8: the evdev code plus the offset the X server used.
constexpr uint32_t evdevOffset = 8;

} // namespace

void XkbKeymap::Free::operator()(xkb_context* context) const
{
    xkb_context_unref(context);
}

void XkbKeymap::Free::operator()(xkb_keymap* keymap) const
{
    xkb_keymap_unref(keymap);
}

XkbKeymap::XkbKeymap(std::unique_ptr<xkb_context, Free> context, std::unique_ptr<xkb_keymap, Free> keymap)
    : m_context(std::move(context))
    , m_keymap(std::move(keymap))
{
}

std::optional<XkbKeymap> XkbKeymap::compile(const Names& names)
{
    std::unique_ptr<xkb_context, Free> context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    if (!context)
        return std::nullopt;
    const xkb_rule_names rmlvo = {orNull(names.rules), orNull(names.model), orNull(names.layout),
                                  orNull(names.variant), orNull(names.options)};
    std::unique_ptr<xkb_keymap, Free> keymap(
        xkb_keymap_new_from_names(context.get(), &rmlvo, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap)
        return std::nullopt;
    return XkbKeymap(std::move(context), std::move(keymap));
}

std::optional<XkbKeymap> XkbKeymap::parse(const QByteArray& text)
{
    std::unique_ptr<xkb_context, Free> context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    if (!context)
        return std::nullopt;
    std::unique_ptr<xkb_keymap, Free> keymap(
        xkb_keymap_new_from_buffer(context.get(), text.constData(), size_t(text.size()),
                                   XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap)
        return std::nullopt;
    return XkbKeymap(std::move(context), std::move(keymap));
}

QByteArray XkbKeymap::text() const
{
    char* text = xkb_keymap_get_as_string(m_keymap.get(), XKB_KEYMAP_FORMAT_TEXT_V1);
    QByteArray result(text);
    free(text);
    return result;
}

std::optional<uint32_t> XkbKeymap::find(uint32_t keysym) const
{
    xkb_keymap* keymap = m_keymap.get();
    const xkb_keycode_t first = xkb_keymap_min_keycode(keymap);
    const xkb_keycode_t last = xkb_keymap_max_keycode(keymap);
    for (xkb_layout_index_t layout = 0; layout < xkb_keymap_num_layouts(keymap); ++layout) {
        for (xkb_keycode_t code = std::max(first, evdevOffset); code <= last; ++code) {
            const xkb_keysym_t* syms = nullptr;
            const int count = xkb_keymap_key_get_syms_by_level(keymap, code, layout, 0, &syms);
            for (int i = 0; i < count; ++i) {
                if (syms[i] == keysym)
                    return code - evdevOffset;
            }
        }
    }
    return std::nullopt;
}

std::optional<uint32_t> XkbKeymap::find(SyntheticKeyboard::Key key) const
{
    return find(chordKeysym(key));
}

std::map<SyntheticKeyboard::Key, uint32_t> XkbKeymap::chordKeys() const
{
    using Key = SyntheticKeyboard::Key;
    std::map<Key, uint32_t> codes;
    for (const Key key : SyntheticKeyboard::keys) {
        if (const auto code = find(key))
            codes[key] = *code;
    }
    return codes;
}

QString XkbKeymap::name(SyntheticKeyboard::Key key)
{
    char name[64];
    return xkb_keysym_get_name(chordKeysym(key), name, sizeof name) > 0 ? QString::fromLatin1(name)
                                                                        : QString();
}

uint32_t XkbKeymap::modifierMask(const char* name) const
{
    const xkb_mod_index_t index = xkb_keymap_mod_get_index(m_keymap.get(), name);
    return index == XKB_MOD_INVALID ? 0 : uint32_t(1) << index;
}
