#include "player/WavFile.h"

#include <QTest>

namespace {

QByteArray le(quint32 v, int bytes)
{
    QByteArray out;
    for (int i = 0; i < bytes; ++i)
        out.append(char((v >> (8 * i)) & 0xFF));
    return out;
}

QByteArray chunk(const QByteArray& id, const QByteArray& body, qint64 declared = -1)
{
    QByteArray out = id + le(quint32(declared < 0 ? body.size() : declared), 4) + body;
    if (body.size() % 2)
        out.append('\0');
    return out;
}

QByteArray fmt(int tag, int channels, int rate, int blockAlign, int bits)
{
    return chunk("fmt ", le(tag, 2) + le(channels, 2) + le(rate, 4) + le(rate * blockAlign, 4) +
                             le(blockAlign, 2) + le(bits, 2));
}

// The extensible header: the real format is the first two bytes of the sub-format GUID.
QByteArray extensible(int subTag, int channels, int rate, int blockAlign, int bits)
{
    const QByteArray guidTail("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
    return chunk("fmt ", le(0xFFFE, 2) + le(channels, 2) + le(rate, 4) + le(rate * blockAlign, 4) +
                             le(blockAlign, 2) + le(bits, 2) + le(22, 2) + le(bits, 2) + le(0, 4) +
                             le(subTag, 2) + guidTail);
}

QByteArray riff(const QByteArray& chunks)
{
    return "RIFF" + le(quint32(chunks.size() + 4), 4) + "WAVE" + chunks;
}

using F = WavFile::Format;

} // namespace

class TestWavFile : public QObject {
    Q_OBJECT
private slots:
    void playable_data();
    void playable();
    void refused_data();
    void refused();
};

void TestWavFile::playable_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("channels");
    QTest::addColumn<QByteArray>("samples");
    QTest::addColumn<int>("durationMs");

    const QByteArray tenth16(1600, '\x11'); // 100 ms of 16-bit mono at 8000 Hz
    QTest::newRow("16-bit mono") << riff(fmt(1, 1, 8000, 2, 16) + chunk("data", tenth16))
                                 << int(F::Int16) << 8000 << 1 << tenth16 << 100;
    QTest::newRow("8-bit stereo") << riff(fmt(1, 2, 11025, 2, 8) +
                                          chunk("data", QByteArray(4410, '\x80')))
                                  << int(F::UInt8) << 11025 << 2 << QByteArray(4410, '\x80') << 200;
    QTest::newRow("24-bit") << riff(fmt(1, 1, 8000, 3, 24) + chunk("data", QByteArray(2400, 'x')))
                            << int(F::Int24) << 8000 << 1 << QByteArray(2400, 'x') << 100;
    QTest::newRow("32-bit") << riff(fmt(1, 1, 8000, 4, 32) + chunk("data", QByteArray(3200, 'x')))
                            << int(F::Int32) << 8000 << 1 << QByteArray(3200, 'x') << 100;
    QTest::newRow("float stereo") << riff(fmt(3, 2, 8000, 8, 32) +
                                          chunk("data", QByteArray(6400, 'f')))
                                  << int(F::Float) << 8000 << 2 << QByteArray(6400, 'f') << 100;
    QTest::newRow("extensible PCM")
        << riff(extensible(1, 2, 48000, 4, 16) + chunk("data", QByteArray(19200, 'e')))
        << int(F::Int16) << 48000 << 2 << QByteArray(19200, 'e') << 100;
    QTest::newRow("extensible float")
        << riff(extensible(3, 1, 8000, 4, 32) + chunk("data", QByteArray(3200, 'e')))
        << int(F::Float) << 8000 << 1 << QByteArray(3200, 'e') << 100;
    // Odd-sized chunks are followed by a pad byte that belongs to no chunk.
    QTest::newRow("odd chunk before fmt")
        << riff(chunk("LIST", "abc") + fmt(1, 1, 8000, 2, 16) + chunk("data", tenth16))
        << int(F::Int16) << 8000 << 1 << tenth16 << 100;
    QTest::newRow("data before fmt") << riff(chunk("data", tenth16) + fmt(1, 1, 8000, 2, 16))
                                     << int(F::Int16) << 8000 << 1 << tenth16 << 100;
    QTest::newRow("chunks after data")
        << riff(fmt(1, 1, 8000, 2, 16) + chunk("data", tenth16) + chunk("LIST", "info"))
        << int(F::Int16) << 8000 << 1 << tenth16 << 100;
    // A cut-off file plays what it has, in whole frames: 801 bytes are 400 frames.
    QTest::newRow("cut off") << riff(fmt(1, 1, 8000, 2, 16)) + chunk("data", tenth16).left(8 + 801)
                             << int(F::Int16) << 8000 << 1 << QByteArray(800, '\x11') << 50;
    // Streaming writers leave the sizes at their maximum.
    QTest::newRow("size unknown") << riff(fmt(1, 1, 8000, 2, 16) +
                                          chunk("data", tenth16, 0xFFFFFFFF))
                                  << int(F::Int16) << 8000 << 1 << tenth16 << 100;
    QTest::newRow("a single frame") << riff(fmt(1, 2, 8000, 4, 16) + chunk("data", "abcd"))
                                    << int(F::Int16) << 8000 << 2 << QByteArray("abcd") << 0;
}

void TestWavFile::playable()
{
    QFETCH(QByteArray, file);
    QFETCH(int, format);
    QFETCH(int, rate);
    QFETCH(int, channels);
    QFETCH(QByteArray, samples);
    QFETCH(int, durationMs);
    const std::optional<WavFile> wav = WavFile::parse(file);
    QVERIFY(wav);
    QCOMPARE(int(wav->format()), format);
    QCOMPARE(wav->sampleRate(), rate);
    QCOMPARE(wav->channels(), channels);
    QCOMPARE(wav->samples(), samples);
    QCOMPARE(wav->durationMs(), durationMs);
}

void TestWavFile::refused_data()
{
    QTest::addColumn<QByteArray>("file");
    const QByteArray data = chunk("data", QByteArray(1600, 'd'));
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("text") << QByteArray("This is plain text, not a sound.\n");
    QTest::newRow("not RIFF") << "RIFX" + riff(fmt(1, 1, 8000, 2, 16) + data).mid(4);
    QTest::newRow("not WAVE") << "RIFF" + le(4, 4) + "AVI " + fmt(1, 1, 8000, 2, 16) + data;
    QTest::newRow("no fmt") << riff(data);
    QTest::newRow("no data") << riff(fmt(1, 1, 8000, 2, 16));
    QTest::newRow("empty data") << riff(fmt(1, 1, 8000, 2, 16) + chunk("data", ""));
    QTest::newRow("less than a frame") << riff(fmt(1, 2, 8000, 4, 16) + chunk("data", "abc"));
    QTest::newRow("fmt too short") << riff(chunk("fmt ", le(1, 2) + le(1, 2) + le(8000, 4)) + data);
    QTest::newRow("fmt past the end") << riff(fmt(1, 1, 8000, 2, 16).left(20));
    QTest::newRow("ADPCM") << riff(fmt(2, 1, 8000, 256, 4) + data);
    QTest::newRow("mu-law") << riff(fmt(7, 1, 8000, 1, 8) + data);
    QTest::newRow("64-bit float") << riff(fmt(3, 1, 8000, 8, 64) + data);
    QTest::newRow("12-bit") << riff(fmt(1, 1, 8000, 2, 12) + data);
    QTest::newRow("no channels") << riff(fmt(1, 0, 8000, 0, 16) + data);
    QTest::newRow("nine channels") << riff(fmt(1, 9, 8000, 18, 16) + data);
    QTest::newRow("rate 0") << riff(fmt(1, 1, 0, 2, 16) + data);
    QTest::newRow("rate 500") << riff(fmt(1, 1, 500, 2, 16) + data);
    QTest::newRow("rate 400000") << riff(fmt(1, 1, 400000, 2, 16) + data);
    QTest::newRow("frame size wrong") << riff(fmt(1, 2, 8000, 2, 16) + data);
    QTest::newRow("extensible cut short")
        << riff(chunk("fmt ", fmt(0xFFFE, 1, 8000, 2, 16).mid(8) + le(0, 2)) + data);
    QTest::newRow("extensible ADPCM") << riff(extensible(2, 1, 8000, 2, 16) + data);
}

void TestWavFile::refused()
{
    QFETCH(QByteArray, file);
    QVERIFY(!WavFile::parse(file));
}

QTEST_MAIN(TestWavFile)
#include "tst_wavfile.moc"
