#pragma once

#include "core/base/result.h"

#include <QByteArrayView>
#include <QString>

#include <functional>

// How the samples of one buffer are laid out: interleaved frames in native byte order.
struct AudioFormat {
    enum class SampleType { Int16, Int32, Float };

    int sampleRate = 0;
    int channelCount = 0;
    SampleType sampleType = SampleType::Int16;

    int bytesPerSample() const { return sampleType == SampleType::Int16 ? 2 : 4; }
    int bytesPerFrame() const { return bytesPerSample() * channelCount; }
    friend bool operator==(const AudioFormat&, const AudioFormat&) = default;
};

// The default microphone, captured in the format the device prefers.
class AudioInput {
public:
    // Receives each buffer on the input's own thread, one call at a time, never after stop() returned.
    using Deliver = std::function<void(const AudioFormat& format, QByteArrayView samples)>;

    virtual ~AudioInput() = default;

    // Opens the default microphone and delivers its buffers until stop(); a running capture is
    // stopped first. Answers the format the device opened with, or why none could be opened.
    virtual Result<AudioFormat, QString> start(Deliver deliver) = 0;
    // Ends the capture and waits for a delivery in progress; harmless when nothing runs.
    virtual void stop() = 0;
};
