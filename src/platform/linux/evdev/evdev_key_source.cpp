#include "platform/linux/evdev/evdev_key_source.h"

#include "core/base/timing.h"
#include "platform/linux/evdev/dev_input_nodes.h"
#include "platform/linux/evdev/evdev_key_codes.h"

#include <QSocketNotifier>

#include <unistd.h>

EvdevKeySource::Survey::Verdict EvdevKeySource::Survey::verdict() const
{
    if (readableKeyboards > 0)
        return Verdict::Readable;
    return deniedNodes > 0 ? Verdict::Denied : Verdict::NoKeyboards;
}

EvdevKeySource::Survey EvdevKeySource::survey(InputDeviceNodes& nodes)
{
    Survey survey;
    for (const QString& path : nodes.list()) {
        const InputDeviceNodes::Opened opened = nodes.open(path);
        if (opened.fd >= 0)
            ::close(opened.fd);
        if (opened.kind == InputDeviceNodes::Kind::Keyboard) {
            ++survey.readableKeyboards;
        } else if (opened.kind == InputDeviceNodes::Kind::Denied) {
            ++survey.deniedNodes;
        }
    }
    return survey;
}

EvdevKeySource::Survey EvdevKeySource::survey()
{
    DevInputNodes nodes;
    return survey(nodes);
}

EvdevKeySource::EvdevKeySource(std::unique_ptr<InputDeviceNodes> nodes)
    : m_nodes(nodes ? std::move(nodes) : std::make_unique<DevInputNodes>())
    , m_holders(EvdevKeyboard::keyCount, 0)
{
}

EvdevKeySource::~EvdevKeySource()
{
    stop();
}

KeySource::Reach EvdevKeySource::start(Listener& listener)
{
    stop();
    m_listener = &listener;
    m_nodes->watch([this] { rescan(); });
    rescan();
    return Reach::Global;
}

void EvdevKeySource::stop()
{
    ++m_generation;
    m_listener = nullptr;
    m_nodes->watch({});
    m_keyboards.clear();
    m_denied.clear();
    std::fill(m_holders.begin(), m_holders.end(), 0);
}

void EvdevKeySource::rescan()
{
    const QStringList paths = m_nodes->list();
    std::vector<EvdevKeyboard::Change> released;
    for (auto it = m_keyboards.begin(); it != m_keyboards.end();) {
        if (paths.contains(it->first)) {
            ++it;
            continue;
        }
        it->second.keyboard->releaseAll(released);
        it = m_keyboards.erase(it);
    }
    QSet<QString> denied;
    for (const QString& path : paths) {
        if (m_keyboards.contains(path))
            continue;
        // Nodes that are no keyboard are asked again: a rescan comes only when nodes change.
        const InputDeviceNodes::Opened opened = m_nodes->open(path);
        if (opened.kind == InputDeviceNodes::Kind::Denied) {
            if (!m_denied.contains(path))
                Timing::mark(QStringLiteral("hotkey: no permission to read ") + path);
            denied.insert(path);
        }
        const bool pointer = opened.kind == InputDeviceNodes::Kind::Pointer;
        if (opened.kind != InputDeviceNodes::Kind::Keyboard && !pointer)
            continue;
        Timing::mark((pointer ? QStringLiteral("hotkey: reading pointer \"")
                              : QStringLiteral("hotkey: reading keyboard \"")) +
                     opened.name + QStringLiteral("\" at ") + path);
        Reader reader{std::make_unique<EvdevKeyboard>(opened.fd),
                      std::make_unique<QSocketNotifier>(opened.fd, QSocketNotifier::Read)};
        QObject::connect(reader.notifier.get(), &QSocketNotifier::activated, reader.notifier.get(),
                         [this, path] { read(path); });
        m_keyboards.emplace(path, std::move(reader));
    }
    m_denied = denied;
    report(released);
}

void EvdevKeySource::read(const QString& path)
{
    const auto it = m_keyboards.find(path);
    if (it == m_keyboards.end())
        return;
    std::vector<EvdevKeyboard::Change> changes;
    if (it->second.keyboard->read(changes)) {
        report(changes);
        return;
    }
    // Unplugged: its node may already stand for another device.
    Timing::mark(QStringLiteral("hotkey: keyboard at ") + path + QStringLiteral(" is gone"));
    it->second.keyboard->releaseAll(changes);
    m_keyboards.erase(it);
    const quint64 generation = m_generation;
    report(changes);
    if (generation == m_generation)
        rescan();
}

void EvdevKeySource::report(const std::vector<EvdevKeyboard::Change>& changes)
{
    // A listener may stop or restart the source; what is left then belongs to the old start.
    const quint64 generation = m_generation;
    for (const EvdevKeyboard::Change& change : changes) {
        if (generation != m_generation || !m_listener)
            return;
        if (change.code == EvdevKeyboard::click) {
            m_listener->buttonPressed();
            continue;
        }
        unsigned char& holders = m_holders[change.code];
        if (change.down) {
            if (holders++ == 0)
                m_listener->keyPressed(EvdevKeyCodes::classify(change.code));
        } else if (holders > 0 && --holders == 0) {
            m_listener->keyReleased(EvdevKeyCodes::classify(change.code));
        }
    }
}
