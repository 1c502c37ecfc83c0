#include "platform/fake/fake_audio_input.h"

Result<AudioFormat, QString> FakeAudioInput::start(Deliver deliver)
{
    QMutexLocker lock(&m_mutex);
    ++m_startCount;
    m_deliver = nullptr;
    if (!m_startError.isEmpty())
        return m_startError;
    m_deliver = std::move(deliver);
    return m_openedFormat;
}

void FakeAudioInput::stop()
{
    QMutexLocker lock(&m_mutex);
    m_deliver = nullptr;
}

void FakeAudioInput::setStartError(const QString& error)
{
    QMutexLocker lock(&m_mutex);
    m_startError = error;
}

void FakeAudioInput::setOpenedFormat(const AudioFormat& format)
{
    QMutexLocker lock(&m_mutex);
    m_openedFormat = format;
}

bool FakeAudioInput::push(const AudioFormat& format, QByteArrayView samples)
{
    QMutexLocker lock(&m_mutex);
    if (!m_deliver)
        return false;
    m_deliver(format, samples);
    return true;
}

bool FakeAudioInput::isRunning() const
{
    QMutexLocker lock(&m_mutex);
    return bool(m_deliver);
}

int FakeAudioInput::startCount() const
{
    QMutexLocker lock(&m_mutex);
    return m_startCount;
}
