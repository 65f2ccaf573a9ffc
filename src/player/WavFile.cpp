#include "player/WavFile.h"

#include <QtEndian>

namespace {

constexpr quint16 TagPcm = 1;
constexpr quint16 TagFloat = 3;
constexpr quint16 TagExtensible = 0xFFFE;

quint16 u16(const char* p)
{
    return qFromLittleEndian<quint16>(p);
}

quint32 u32(const char* p)
{
    return qFromLittleEndian<quint32>(p);
}

struct FormatChunk {
    quint16 tag = 0;
    int channels = 0;
    qint64 sampleRate = 0;
    int blockAlign = 0;
    int bits = 0;
};

std::optional<FormatChunk> readFormat(const char* p, qint64 size)
{
    if (size < 16)
        return std::nullopt;
    FormatChunk f;
    f.tag = u16(p);
    f.channels = u16(p + 2);
    f.sampleRate = u32(p + 4);
    f.blockAlign = u16(p + 12);
    f.bits = u16(p + 14);
    if (f.tag == TagExtensible) {
        // cbSize, valid bits, channel mask, then the real format's GUID, which starts with
        // the plain tag.
        if (size < 40)
            return std::nullopt;
        f.tag = u16(p + 24);
    }
    return f;
}

} // namespace

std::optional<WavFile> WavFile::parse(const QByteArray& bytes)
{
    const char* base = bytes.constData();
    const qint64 total = bytes.size();
    if (total < 12 || bytes.left(4) != "RIFF" || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;

    std::optional<FormatChunk> format;
    qint64 dataAt = -1;
    qint64 dataSize = 0;
    // The RIFF size is often wrong in files written by streaming tools: walk the chunks to
    // the end of what was read instead.
    qint64 at = 12;
    while (at + 8 <= total) {
        const QByteArray id = bytes.mid(at, 4);
        const qint64 size = u32(base + at + 4);
        const qint64 body = at + 8;
        if (id == "fmt ") {
            if (body + size > total)
                return std::nullopt;
            format = readFormat(base + body, size);
            if (!format)
                return std::nullopt;
        } else if (id == "data" && dataAt < 0) {
            dataAt = body;
            dataSize = qMin(size, total - body);
        }
        at = body + size + (size & 1); // chunks are padded to even lengths
    }
    if (!format || dataAt < 0)
        return std::nullopt;

    WavFile wav;
    const FormatChunk& f = *format;
    if (f.tag == TagPcm && f.bits == 8)
        wav.m_format = Format::UInt8;
    else if (f.tag == TagPcm && f.bits == 16)
        wav.m_format = Format::Int16;
    else if (f.tag == TagPcm && f.bits == 24)
        wav.m_format = Format::Int24;
    else if (f.tag == TagPcm && f.bits == 32)
        wav.m_format = Format::Int32;
    else if (f.tag == TagFloat && f.bits == 32)
        wav.m_format = Format::Float;
    else
        return std::nullopt;
    if (f.channels < 1 || f.channels > 8 || f.sampleRate < 1000 || f.sampleRate > 384000 ||
        f.blockAlign != f.channels * f.bits / 8)
        return std::nullopt;

    const qint64 frames = dataSize / f.blockAlign;
    if (frames == 0)
        return std::nullopt;
    wav.m_sampleRate = int(f.sampleRate);
    wav.m_channels = f.channels;
    wav.m_samples = bytes.mid(dataAt, frames * f.blockAlign);
    return wav;
}

qint64 WavFile::durationMs() const
{
    if (m_sampleRate <= 0 || m_channels <= 0)
        return 0;
    const qint64 frames = m_samples.size() / (bytesPerSample() * m_channels);
    return frames * 1000 / m_sampleRate;
}

int WavFile::bytesPerSample() const
{
    switch (m_format) {
    case Format::UInt8:
        return 1;
    case Format::Int16:
        return 2;
    case Format::Int24:
        return 3;
    case Format::Int32:
    case Format::Float:
        return 4;
    }
    return 1;
}
