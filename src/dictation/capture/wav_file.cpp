#include "dictation/capture/wav_file.h"

#include <QtEndian>

namespace {

template <typename T> void appendLittleEndian(QByteArray& out, T value)
{
    const T little = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&little), sizeof little);
}

} // namespace

QByteArray wavFile(QByteArrayView pcm)
{
    constexpr quint32 SampleRate = 16'000;
    constexpr quint16 Channels = 1;
    constexpr quint16 BitsPerSample = 16;
    constexpr quint16 BlockAlign = Channels * BitsPerSample / 8;
    const auto dataBytes = quint32(pcm.size());

    QByteArray out;
    out.reserve(44 + pcm.size());
    out.append("RIFF");
    appendLittleEndian<quint32>(out, dataBytes + 36);
    out.append("WAVEfmt ");
    appendLittleEndian<quint32>(out, 16);
    appendLittleEndian<quint16>(out, 1); // integer PCM
    appendLittleEndian<quint16>(out, Channels);
    appendLittleEndian<quint32>(out, SampleRate);
    appendLittleEndian<quint32>(out, SampleRate * BlockAlign);
    appendLittleEndian<quint16>(out, BlockAlign);
    appendLittleEndian<quint16>(out, BitsPerSample);
    out.append("data");
    appendLittleEndian<quint32>(out, dataBytes);
    out.append(pcm);
    return out;
}
