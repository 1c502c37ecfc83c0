#pragma once

#include "platform/key_source.h"
#include "platform/linux/evdev/evdev_keyboard.h"
#include "platform/linux/evdev/input_device_nodes.h"

#include <QSet>
#include <QString>

#include <map>
#include <memory>
#include <vector>

class QSocketNotifier;

// Keys of every keyboard the kernel knows, read from its event nodes, in any session, X11 or
// Wayland. It only listens: nothing is grabbed. Reading needs the user in the input group (or an
// ACL on the nodes), which opens every keystroke to this program. The keyboards act as one: a key
// is down while any keyboard holds it, so a hold on one survives a tap of the same key on another.
// Keyboards plugged in while started are read from then on; one unplugged releases its keys. Mice
// and touchpads are read for their clicks and wheel turns.
class EvdevKeySource final : public KeySource {
public:
    // Whether this source can see keys now, without starting it.
    struct Survey {
        enum class Verdict {
            Readable,    // keyboards can be read
            Denied,      // input devices exist, but this user may not read them
            NoKeyboards, // nothing to read (no /dev/input, or no keyboard in it)
        };

        int readableKeyboards = 0;
        int deniedNodes = 0;

        Verdict verdict() const;
    };

    // Opens each node once and closes it again.
    static Survey survey(InputDeviceNodes& nodes);
    // The same on /dev/input.
    static Survey survey();

    explicit EvdevKeySource(std::unique_ptr<InputDeviceNodes> nodes = nullptr);
    ~EvdevKeySource() override;

    EvdevKeySource(const EvdevKeySource&) = delete;
    EvdevKeySource& operator=(const EvdevKeySource&) = delete;

    // Always Global: keyboards that are not readable yet are taken up once they become so.
    Reach start(Listener& listener) override;
    void stop() override;

    // The keyboards and pointers read now.
    int deviceCount() const { return static_cast<int>(m_keyboards.size()); }

private:
    struct Reader {
        std::unique_ptr<EvdevKeyboard> keyboard;
        std::unique_ptr<QSocketNotifier> notifier;
    };

    void rescan();
    void read(const QString& path);
    void report(const std::vector<EvdevKeyboard::Change>& changes);

    std::unique_ptr<InputDeviceNodes> m_nodes;
    Listener* m_listener = nullptr;
    // Counts starts and stops, so a report loop learns that its listener stopped the source.
    quint64 m_generation = 0;
    std::map<QString, Reader> m_keyboards;
    QSet<QString> m_denied;
    // Per key code, how many keyboards hold it down.
    std::vector<unsigned char> m_holders;
};
