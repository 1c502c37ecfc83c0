#pragma once

#include <QByteArray>
#include <QByteArrayView>

// 16 kHz mono 16-bit PCM as a WAV file: the 44-byte RIFF header, then the samples unchanged.
QByteArray wavFile(QByteArrayView pcm);
