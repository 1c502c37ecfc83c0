#pragma once

#include <bitset>
#include <cstddef>
#include <functional>
#include <optional>
#include <vector>

// One keyboard's (or pointer's) event node, read without blocking: its records become keys going
// down and up, and clicks.
// Auto-repeats add nothing, a release of a key not seen going down is no change, and after the
// kernel dropped records the keys are set right again before anything else is reported.
class EvdevKeyboard final {
public:
    // KEY_CNT of linux/input-event-codes.h.
    static constexpr std::size_t keyCount = 0x300;
    using KeyState = std::bitset<keyCount>;
    // Which keys are down now, or nothing when the node cannot say.
    using StateQuery = std::function<std::optional<KeyState>(int fd)>;
    // The code of a change that is a mouse button going down or a turn of the wheel.
    static constexpr unsigned click = keyCount;

    struct Change {
        unsigned code;
        bool down;

        friend bool operator==(const Change&, const Change&) = default;
    };

    // Takes over fd, an open non-blocking event node (or any stream of input_event records).
    explicit EvdevKeyboard(int fd, StateQuery query = &EvdevKeyboard::kernelKeyState);
    ~EvdevKeyboard();

    EvdevKeyboard(const EvdevKeyboard&) = delete;
    EvdevKeyboard& operator=(const EvdevKeyboard&) = delete;

    int fd() const { return m_fd; }
    // Reads what is there now and appends its changes; false once the node is gone or failed.
    bool read(std::vector<Change>& changes);
    // Appends a release of every key down here; afterwards none is.
    void releaseAll(std::vector<Change>& changes);

    // The kernel's key state of an event node (EVIOCGKEY).
    static std::optional<KeyState> kernelKeyState(int fd);

private:
    void apply(unsigned type, unsigned code, int value, std::vector<Change>& changes);
    void resynchronise(std::vector<Change>& changes);

    int m_fd;
    StateQuery m_query;
    KeyState m_down;
    bool m_dropping = false;
    // Bytes of a record not yet read whole.
    std::vector<char> m_partial;
};
