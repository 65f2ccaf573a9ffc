// horolux-play FILE: plays one WAV file on the default audio output, then exits.
// The clock runs it as a separate process so that no audio system can stall or crash the
// clock. Once the sound server has accepted the stream it prints "playing <milliseconds>" on
// standard output. Exit status: 0 played to the end, 2 not a playable file, 3 no sound
// server or it failed, 4 the clock that started it is gone.
// The clock puts its process id in HOROLUX_PLAYER_PARENT and its longest sound in
// HOROLUX_PLAYER_LONGEST_MS; a sound plays no longer than that.
#include "player/WavFile.h"

#include <QFile>
#include <QFileInfo>

#include <pulse/error.h>
#include <pulse/simple.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr int NotPlayable = 2;
constexpr int NoOutput = 3;
constexpr int Orphaned = 4;
// Longer files play their first part only (about six minutes of CD sound).
constexpr qint64 ReadLimit = 64 << 20;
// A second guard beside the clock's own: a stalled sound server must not keep this process
// alive once the clock that started it is gone.
constexpr unsigned StartLimitSeconds = 10;
constexpr unsigned EndSlackSeconds = 10;
// The clock's own default, for a player started by hand.
constexpr qint64 DefaultLongestMs = 15 * 60 * 1000;

// Nothing else would stop a long sound when the clock dies without killing it (a crash, a
// lost display, SIGKILL). The parent may have gone before the signal was asked for: then the
// parent is no longer the clock.
bool tiedToClock()
{
    if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0)
        return false;
    const char* clock = std::getenv("HOROLUX_PLAYER_PARENT");
    return !clock || std::strtoll(clock, nullptr, 10) == getppid();
}

qint64 longestMs()
{
    const char* text = std::getenv("HOROLUX_PLAYER_LONGEST_MS");
    const qint64 ms = text ? std::strtoll(text, nullptr, 10) : 0;
    return ms > 0 ? ms : DefaultLongestMs;
}

pa_sample_format_t sampleFormat(WavFile::Format f)
{
    switch (f) {
    case WavFile::Format::UInt8:
        return PA_SAMPLE_U8;
    case WavFile::Format::Int16:
        return PA_SAMPLE_S16LE;
    case WavFile::Format::Int24:
        return PA_SAMPLE_S24LE;
    case WavFile::Format::Int32:
        return PA_SAMPLE_S32LE;
    case WavFile::Format::Float:
        return PA_SAMPLE_FLOAT32LE;
    }
    return PA_SAMPLE_INVALID;
}

} // namespace

int main(int argc, char** argv)
{
    if (!tiedToClock())
        return Orphaned;
    alarm(StartLimitSeconds);
    if (argc != 2) {
        std::fprintf(stderr, "usage: horolux-play FILE\n");
        return NotPlayable;
    }
    const QFileInfo info(QString::fromLocal8Bit(argv[1]));
    QFile file(info.absoluteFilePath());
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "horolux-play: cannot read %s\n", argv[1]);
        return NotPlayable;
    }
    const std::optional<WavFile> wav = WavFile::parse(file.read(ReadLimit));
    file.close();
    if (!wav) {
        std::fprintf(stderr, "horolux-play: not a playable WAV file: %s\n", argv[1]);
        return NotPlayable;
    }

    const pa_sample_spec layout{sampleFormat(wav->format()), quint32(wav->sampleRate()),
                                quint8(wav->channels())};
    int error = 0;
    pa_simple* stream =
        pa_simple_new(nullptr, "Horolux", PA_STREAM_PLAYBACK, nullptr,
                      info.fileName().toUtf8().constData(), &layout, nullptr, nullptr, &error);
    if (!stream) {
        std::fprintf(stderr, "horolux-play: no sound server: %s\n", pa_strerror(error));
        return NoOutput;
    }
    const qint64 frameBytes = wav->bytesPerSample() * wav->channels();
    const QByteArray samples =
        wav->samples().left(longestMs() * wav->sampleRate() / 1000 * frameBytes);
    const qint64 lengthMs = samples.size() / frameBytes * 1000 / wav->sampleRate();
    alarm(unsigned(lengthMs / 1000) + EndSlackSeconds);
    std::printf("playing %lld\n", static_cast<long long>(lengthMs));
    std::fflush(stdout);

    // Draining waits until the server has played the last sample; closing earlier would cut
    // off what its buffer still holds.
    const bool played =
        pa_simple_write(stream, samples.constData(), size_t(samples.size()), &error) == 0 &&
        pa_simple_drain(stream, &error) == 0;
    if (!played)
        std::fprintf(stderr, "horolux-play: the sound server failed: %s\n", pa_strerror(error));
    pa_simple_free(stream);
    return played ? 0 : NoOutput;
}
