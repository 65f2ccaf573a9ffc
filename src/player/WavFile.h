#pragma once

#include <QByteArray>

#include <optional>

// The sampled sound of a RIFF WAVE file: interleaved little-endian samples as the file holds
// them.
class WavFile {
public:
    enum class Format { UInt8, Int16, Int24, Int32, Float };

    // Uncompressed PCM of 8, 16, 24 or 32 bits and 32-bit float, plain or in the extensible
    // header; anything else is refused. A data chunk that claims more than the file holds
    // plays what is there, in whole frames.
    static std::optional<WavFile> parse(const QByteArray& bytes);

    int sampleRate() const { return m_sampleRate; }
    int channels() const { return m_channels; }
    Format format() const { return m_format; }
    const QByteArray& samples() const { return m_samples; }
    int bytesPerSample() const;
    qint64 durationMs() const;

private:
    int m_sampleRate = 0;
    int m_channels = 0;
    Format m_format = Format::Int16;
    QByteArray m_samples;
};
