#include "platform/linux/audio/qaudio_source_input.h"

#include <QAudioDevice>
#include <QAudioSource>
#include <QMediaDevices>
#include <QTimer>

#include <optional>

namespace {

// Read on a timer, not on readyRead: readyRead of the pull-mode device was seen to stay silent on
// some Qt 6.4 and PulseAudio setups, and where it works it comes about every 45 ms, while a 20 ms
// poll hands over the first samples about twice as soon.
constexpr int PollMs = 20;

std::optional<AudioFormat::SampleType> sampleTypeOf(QAudioFormat::SampleFormat format)
{
    switch (format) {
    case QAudioFormat::Int16:
        return AudioFormat::SampleType::Int16;
    case QAudioFormat::Int32:
        return AudioFormat::SampleType::Int32;
    case QAudioFormat::Float:
        return AudioFormat::SampleType::Float;
    default:
        return std::nullopt;
    }
}

} // namespace

// Everything in it is created, used and destroyed on the capture thread.
class QAudioSourceInput::Capture final {
public:
    Result<AudioFormat, QString> open(const QAudioDevice& device, Deliver deliver)
    {
        QAudioFormat format = device.preferredFormat();
        if (!sampleTypeOf(format.sampleFormat()))
            format.setSampleFormat(QAudioFormat::Int16);
        m_source = std::make_unique<QAudioSource>(device, format);
        m_device = m_source->start();
        if (!m_device || m_source->error() != QAudio::NoError) {
            close();
            return QStringLiteral("The microphone \u201c%1\u201d could not be opened.")
                .arg(device.description());
        }
        const QAudioFormat opened = m_source->format();
        m_format = {opened.sampleRate(), opened.channelCount(),
                    sampleTypeOf(opened.sampleFormat()).value_or(AudioFormat::SampleType::Int16)};
        m_deliver = std::move(deliver);
        m_poll = std::make_unique<QTimer>();
        QObject::connect(m_poll.get(), &QTimer::timeout, m_poll.get(), [this] { read(); });
        m_poll->start(PollMs);
        return m_format;
    }

    void close()
    {
        if (m_device)
            read();
        // QAudioSource's destructor spins a nested event loop on this thread (Qt 6.4, PulseAudio);
        // a poll firing in it would read from the device being torn down.
        m_poll.reset();
        m_device = nullptr;
        if (m_source)
            m_source->stop();
        m_source.reset();
        m_deliver = nullptr;
        m_partial.clear();
    }

private:
    // Hands over whole frames only; the converter reads frame by frame.
    void read()
    {
        m_partial += m_device->readAll();
        const qsizetype whole = m_partial.size() - m_partial.size() % m_format.bytesPerFrame();
        if (whole == 0)
            return;
        m_deliver(m_format, QByteArrayView(m_partial).first(whole));
        m_partial.remove(0, whole);
    }

    std::unique_ptr<QAudioSource> m_source;
    QIODevice* m_device = nullptr; // owned by m_source
    std::unique_ptr<QTimer> m_poll;
    Deliver m_deliver;
    AudioFormat m_format;
    QByteArray m_partial;
};

QAudioSourceInput::QAudioSourceInput()
    : m_context(std::make_unique<QObject>())
    , m_capture(std::make_unique<Capture>())
{
    m_thread.setObjectName(QStringLiteral("quenda-audio"));
    m_context->moveToThread(&m_thread);
}

QAudioSourceInput::~QAudioSourceInput()
{
    stop();
    m_thread.quit();
    m_thread.wait();
}

Result<AudioFormat, QString> QAudioSourceInput::start(Deliver deliver)
{
    Q_ASSERT(QThread::currentThread() != &m_thread);
    stop();
    const QAudioDevice device = QMediaDevices::defaultAudioInput();
    if (device.isNull())
        return QStringLiteral("No microphone is connected.");
    if (!m_thread.isRunning())
        m_thread.start();
    std::optional<Result<AudioFormat, QString>> opened;
    QMetaObject::invokeMethod(
        m_context.get(), [&] { opened = m_capture->open(device, std::move(deliver)); },
        Qt::BlockingQueuedConnection);
    return *opened;
}

void QAudioSourceInput::stop()
{
    Q_ASSERT(QThread::currentThread() != &m_thread);
    if (!m_thread.isRunning())
        return;
    QMetaObject::invokeMethod(
        m_context.get(), [this] { m_capture->close(); }, Qt::BlockingQueuedConnection);
}
