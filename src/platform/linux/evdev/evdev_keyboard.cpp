#include "platform/linux/evdev/evdev_keyboard.h"

#include "platform/linux/evdev/evdev_key_codes.h"

#include <linux/input.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <sys/ioctl.h>
#include <unistd.h>

static_assert(EvdevKeyboard::keyCount == KEY_CNT);

namespace {

// A burst larger than this waits for the next turn of the event loop, which the notifier
// announces again, so a flooding device cannot starve the program.
constexpr int maxReadsPerCall = 16;

} // namespace

EvdevKeyboard::EvdevKeyboard(int fd, StateQuery query)
    : m_fd(fd)
    , m_query(std::move(query))
{
}

EvdevKeyboard::~EvdevKeyboard()
{
    ::close(m_fd);
}

bool EvdevKeyboard::read(std::vector<Change>& changes)
{
    std::array<char, 64 * sizeof(input_event)> buffer{};
    for (int reads = 0; reads < maxReadsPerCall; ++reads) {
        const std::size_t kept = m_partial.size();
        std::copy(m_partial.begin(), m_partial.end(), buffer.begin());
        const ssize_t got = ::read(m_fd, buffer.data() + kept, buffer.size() - kept);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno == EAGAIN || errno == EWOULDBLOCK;
        if (got == 0)
            return false;
        const std::size_t total = kept + static_cast<std::size_t>(got);
        std::size_t at = 0;
        for (; at + sizeof(input_event) <= total; at += sizeof(input_event)) {
            input_event event{};
            std::memcpy(&event, buffer.data() + at, sizeof event);
            apply(event.type, event.code, event.value, changes);
        }
        m_partial.assign(buffer.begin() + static_cast<std::ptrdiff_t>(at),
                         buffer.begin() + static_cast<std::ptrdiff_t>(total));
    }
    return true;
}

void EvdevKeyboard::apply(unsigned type, unsigned code, int value, std::vector<Change>& changes)
{
    if (type == EV_SYN && code == SYN_DROPPED) {
        m_dropping = true;
        return;
    }
    if (m_dropping) {
        // Everything up to the next report belongs to the broken frame.
        if (type == EV_SYN && code == SYN_REPORT) {
            m_dropping = false;
            resynchronise(changes);
        }
        return;
    }
    // Buttons and the wheel make the hotkey a shortcut's modifier (Ctrl+click, Ctrl+scroll).
    if ((type == EV_KEY && value == 1 && code >= BTN_MOUSE && code <= BTN_TASK) ||
        (type == EV_REL && (code == REL_WHEEL || code == REL_HWHEEL) && value != 0)) {
        changes.push_back({click, true});
        return;
    }
    if (type != EV_KEY || code >= keyCount || !EvdevKeyCodes::isKey(code))
        return;
    // 2 is an auto-repeat: the press was seen, or came before we listened and is not ours.
    if (value == 1 && !m_down.test(code)) {
        m_down.set(code);
        changes.push_back({code, true});
    } else if (value == 0 && m_down.test(code)) {
        m_down.reset(code);
        changes.push_back({code, false});
    }
}

void EvdevKeyboard::resynchronise(std::vector<Change>& changes)
{
    const std::optional<KeyState> now = m_query ? m_query(m_fd) : std::nullopt;
    if (!now) {
        // Nothing stays held that may have been let go meanwhile.
        releaseAll(changes);
        return;
    }
    for (unsigned code = 0; code < keyCount; ++code) {
        if (!EvdevKeyCodes::isKey(code) || m_down.test(code) == now->test(code))
            continue;
        m_down.flip(code);
        changes.push_back({code, m_down.test(code)});
    }
}

void EvdevKeyboard::releaseAll(std::vector<Change>& changes)
{
    for (unsigned code = 0; code < keyCount; ++code) {
        if (m_down.test(code))
            changes.push_back({code, false});
    }
    m_down.reset();
}

std::optional<EvdevKeyboard::KeyState> EvdevKeyboard::kernelKeyState(int fd)
{
    std::array<unsigned char, (KEY_CNT + 7) / 8> bits{};
    if (::ioctl(fd, EVIOCGKEY(bits.size()), bits.data()) < 0)
        return std::nullopt;
    KeyState state;
    for (unsigned code = 0; code < KEY_CNT; ++code) {
        if (bits[code / 8] & (1U << (code % 8)))
            state.set(code);
    }
    return state;
}
