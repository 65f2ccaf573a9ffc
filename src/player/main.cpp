// horolux-play FILE: plays one sound file (WAV, FLAC, Ogg Vorbis or Opus, MP3 and whatever
// else libsndfile reads) on the default audio output, then exits.
// The clock runs it as a separate process so that no audio system can stall or crash the
// clock. Once the sound server has accepted the stream it prints "playing <milliseconds>" on
// standard output. Exit status: 0 played to the end, 2 not a playable file, 3 no sound
// server or it failed, 4 the clock that started it is gone.
// The clock puts its process id in HOROLUX_PLAYER_PARENT and its longest sound in
// HOROLUX_PLAYER_LONGEST_MS; a sound plays no longer than that.
#include <pulse/error.h>
#include <pulse/simple.h>
#include <sndfile.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int NotPlayable = 2;
constexpr int NoOutput = 3;
constexpr int Orphaned = 4;
// A second guard beside the clock's own: a stalled sound server must not keep this process
// alive once the clock that started it is gone.
constexpr unsigned StartLimitSeconds = 10;
constexpr unsigned EndSlackSeconds = 10;
// The clock's own default, for a player started by hand.
constexpr int64_t DefaultLongestMs = 15 * 60 * 1000;
// Decoded a block at a time, so a long file costs no more memory than a short one.
constexpr sf_count_t BlockFrames = 4096;

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

int64_t longestMs()
{
    const char* text = std::getenv("HOROLUX_PLAYER_LONGEST_MS");
    const int64_t ms = text ? std::strtoll(text, nullptr, 10) : 0;
    return ms > 0 ? ms : DefaultLongestMs;
}

// Only a regular file, opened without blocking: a FIFO or a device named as the sound must
// neither hang the player nor feed it forever.
SNDFILE* openSound(const char* path, SF_INFO& info)
{
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return nullptr;
    }
    info = {};
    return sf_open_fd(fd, SFM_READ, &info, SF_TRUE);
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
    SF_INFO info;
    SNDFILE* sound = openSound(argv[1], info);
    const pa_sample_spec layout{PA_SAMPLE_FLOAT32NE, uint32_t(std::max(info.samplerate, 0)),
                                uint8_t(std::clamp(info.channels, 0, 255))};
    // Read before the server is asked for a stream: a file that decodes to nothing beeps
    // rather than playing silence.
    std::vector<float> block;
    sf_count_t got = 0;
    if (sound && pa_sample_spec_valid(&layout) && info.channels == layout.channels) {
        block.resize(size_t(BlockFrames * info.channels));
        got = sf_readf_float(sound, block.data(), BlockFrames);
    }
    if (got <= 0) {
        std::fprintf(stderr, "horolux-play: not a playable sound file: %s\n", argv[1]);
        return NotPlayable;
    }

    const char* slash = std::strrchr(argv[1], '/');
    int error = 0;
    pa_simple* stream =
        pa_simple_new(nullptr, "Horolux", PA_STREAM_PLAYBACK, nullptr, slash ? slash + 1 : argv[1],
                      &layout, nullptr, nullptr, &error);
    if (!stream) {
        std::fprintf(stderr, "horolux-play: no sound server: %s\n", pa_strerror(error));
        return NoOutput;
    }
    // Plays what it announces. A length the file does not state (some MP3s) counts as the
    // longest, as does one longer than that.
    const sf_count_t capFrames = longestMs() * info.samplerate / 1000;
    const sf_count_t frames = info.frames > 0 ? std::min(info.frames, capFrames) : capFrames;
    const int64_t lengthMs = frames * 1000 / info.samplerate;
    alarm(unsigned(lengthMs / 1000) + EndSlackSeconds);
    std::printf("playing %lld\n", static_cast<long long>(lengthMs));
    std::fflush(stdout);

    bool played = true;
    for (sf_count_t left = frames; got > 0 && left > 0 && played;) {
        const sf_count_t take = std::min(got, left);
        played = pa_simple_write(stream, block.data(), size_t(take * info.channels) * sizeof(float),
                                 &error) == 0;
        left -= take;
        got = left > 0 ? sf_readf_float(sound, block.data(), BlockFrames) : 0;
    }
    // Draining waits until the server has played the last sample; closing earlier would cut
    // off what its buffer still holds.
    played = played && pa_simple_drain(stream, &error) == 0;
    if (!played)
        std::fprintf(stderr, "horolux-play: the sound server failed: %s\n", pa_strerror(error));
    pa_simple_free(stream);
    sf_close(sound);
    return played ? 0 : NoOutput;
}
