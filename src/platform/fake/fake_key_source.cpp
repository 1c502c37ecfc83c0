#include "platform/fake/fake_key_source.h"

FakeKeySource::FakeKeySource(Reach reach)
    : m_reach(reach)
{
}

KeySource::Reach FakeKeySource::start(Listener& listener)
{
    m_listener = &listener;
    ++m_starts;
    return m_reach;
}

void FakeKeySource::stop()
{
    m_listener = nullptr;
}

void FakeKeySource::press(PhysicalKey key)
{
    if (m_listener)
        m_listener->keyPressed(key);
}

void FakeKeySource::release(PhysicalKey key)
{
    if (m_listener)
        m_listener->keyReleased(key);
}

void FakeKeySource::tap(PhysicalKey key)
{
    press(key);
    release(key);
}

void FakeKeySource::click()
{
    if (m_listener)
        m_listener->buttonPressed();
}
