#include "doubles/DiskFiles.h"
#include "rules/settings/RegFile.h"
#include "rules/settings/RegFileRegistry.h"
#include "rules/settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString Key =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Settings");
const QString Sub = "Settings";

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}
} // namespace

class TestRegFile : public QObject {
    Q_OBJECT
private slots:
    void parsesValues_data();
    void parsesValues();
    void roundTripKeepsOtherTypesAndEscapes();
    void badFilesYieldDefaults_data();
    void badFilesYieldDefaults();
    void nextWriteKeepsReadableValues();
    void firstWriteCreatesFolderAndKey();
    void unwritableFolderIsSilent();
    void writeLeavesNoTemporaryFiles();
    void unreadableFileIsNeverReplaced_data();
    void unreadableFileIsNeverReplaced();
    void writeThroughSymlinkKeepsTheLink();
    void findsTheValueThatWins_data();
    void findsTheValueThatWins();
    void writeChangesOneValueOnly_data();
    void writeChangesOneValueOnly();
    void understood_data();
    void understood();
    void fileNotUnderstoodIsLeftAlone_data();
    void fileNotUnderstoodIsLeftAlone();
    void writesToMixedFilesKeepTheRest();
};

void TestRegFile::parsesValues_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("type"); // -1 not found, else RegValue::Type
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<quint32>("dword");

    QTest::newRow("dword") << QByteArray("\"V\"=dword:0000000a") << 1 << QByteArray() << 10u;
    QTest::newRow("dword all ones")
        << QByteArray("\"V\"=dword:ffffffff") << 1 << QByteArray() << 0xFFFFFFFFu;
    QTest::newRow("text") << QByteArray("\"V\"=\"hello\"") << 0 << QByteArray("hello") << 0u;
    QTest::newRow("escapes") << QByteArray("\"V\"=\"C:\\\\ \\\"q\\\"\"") << 0
                             << QByteArray("C:\\ \"q\"") << 0u;
    QTest::newRow("utf8") << QByteArray("\"V\"=\"caf\xc3\xa9\"") << 0 << QByteArray("caf\xc3\xa9")
                          << 0u;
    QTest::newRow("other type kept") << QByteArray("\"V\"=hex(2):41,00") << 2 << QByteArray() << 0u;
    QTest::newRow("case-insensitive name")
        << QByteArray("\"v\"=dword:00000001") << 1 << QByteArray() << 1u;
    QTest::newRow("dword too long")
        << QByteArray("\"V\"=dword:000000001") << -1 << QByteArray() << 0u;
    QTest::newRow("dword not hex") << QByteArray("\"V\"=dword:zz") << -1 << QByteArray() << 0u;
    QTest::newRow("unterminated text") << QByteArray("\"V\"=\"abc") << -1 << QByteArray() << 0u;
    QTest::newRow("junk after text") << QByteArray("\"V\"=\"abc\"x") << -1 << QByteArray() << 0u;
    QTest::newRow("no equals") << QByteArray("\"V\" dword:1") << -1 << QByteArray() << 0u;
}

void TestRegFile::parsesValues()
{
    QFETCH(QByteArray, line);
    QFETCH(int, type);
    const auto v =
        RegFile::find("REGEDIT4\r\n\r\n[" + Key.toUtf8() + "]\r\n" + line + "\r\n", Key, "V");
    if (type < 0) {
        QVERIFY(!v);
        return;
    }
    QVERIFY(v);
    QCOMPARE(int(v->type), type);
    QTEST(v->text, "text");
    QTEST(v->dword, "dword");
}

void TestRegFile::roundTripKeepsOtherTypesAndEscapes()
{
    RegValue bin;
    bin.raw = "hex:01,02,\\";
    QByteArray text = RegFile::withValue({}, Key, "Path", RegValue::fromText("a\\b \"c\""));
    text = RegFile::withValue(text, Key, "N", RegValue::fromDword(0xFFFFFFFF));
    text = RegFile::withValue(text, Key, "Bin", bin);
    QVERIFY(text.startsWith("REGEDIT4\n"));
    QVERIFY(text.contains("\"Path\"=\"a\\\\b \\\"c\\\"\""));
    QVERIFY(text.contains("\"N\"=dword:ffffffff"));
    QCOMPARE(RegFile::find(text, Key, "Path")->text, QByteArray("a\\b \"c\""));
    QCOMPARE(RegFile::find(text, Key, "N")->dword, 0xFFFFFFFFu);
    QCOMPARE(int(RegFile::find(text, Key, "Bin")->type), int(RegValue::Type::Other));
}

void TestRegFile::badFilesYieldDefaults_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header only") << QByteArray("REGEDIT4\n");
    QTest::newRow("truncated") << QByteArray("REGEDIT4\n\n[" + Key.toUtf8().left(20));
    QTest::newRow("only blank lines") << QByteArray("\r\n \n\t\r");
    QTest::newRow("malformed lines")
        << QByteArray("REGEDIT4\ngarbage\n[[[\n\"=\n=dword:\n\"PFMax\"\n");
}

void TestRegFile::badFilesYieldDefaults()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.reg");
    writeFile(path, content);
    RegFileRegistry reg(diskFiles(), path);
    SettingsStore store(reg);
    QCOMPARE(store.ReadRegInt(Sub, "Hide Interval", 4), 4);
    QCOMPARE(store.ReadRegString(Sub, "InternetWin", "Connected to Internet"),
             "Connected to Internet");
    // Still writable afterwards, and the file then parses.
    store.WriteRegInt(Sub, "PFMax", 321);
    QCOMPARE(store.ReadRegInt(Sub, "PFMax", 100), 321);
}

void TestRegFile::nextWriteKeepsReadableValues()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.reg");
    writeFile(path, "REGEDIT4\n\n[" + Key.toUtf8() +
                        "]\n\"Chime\"=dword:00000002\nnonsense here\n"
                        "\"ChimeSound\"=\"/snd/a b.wav\"\n\"Odd\"=hex(7):61,00\n\"Broken\"=\"x\n");
    RegFileRegistry reg(diskFiles(), path);
    SettingsStore store(reg);
    store.WriteRegInt(Sub, "PFMax", 500);
    QCOMPARE(store.ReadRegInt(Sub, "Chime", 0), 2);
    QCOMPARE(store.ReadRegString(Sub, "ChimeSound", {}), "/snd/a b.wav");
    QCOMPARE(
        int(reg.queryValue(QStringLiteral("Software\\Quillfern\\Horolux\\1.0\\Settings"), "Odd")
                ->type),
        int(RegValue::Type::Other));
    QCOMPARE(store.ReadRegInt(Sub, "PFMax", 100), 500);
}

void TestRegFile::firstWriteCreatesFolderAndKey()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("deep/er/settings.reg");
    RegFileRegistry reg(diskFiles(), path);
    SettingsStore store(reg);
    store.WriteRegString("Window", "Note", "x");
    QVERIFY(QFile::exists(path));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().contains("[HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Window]"));
}

void TestRegFile::unwritableFolderIsSilent()
{
    // A regular file where the folder should be: no write can succeed, even as root.
    QTemporaryDir dir;
    writeFile(dir.filePath("blocker"), "x");
    RegFileRegistry reg(diskFiles(), dir.filePath("blocker/settings.reg"));
    SettingsStore store(reg);
    store.WriteRegInt(Sub, "PFMax", 500);
    QCOMPARE(store.ReadRegInt(Sub, "PFMax", 100), 100);
}

void TestRegFile::writeLeavesNoTemporaryFiles()
{
    QTemporaryDir dir;
    RegFileRegistry reg(diskFiles(), dir.filePath("settings.reg"));
    SettingsStore store(reg);
    for (int i = 0; i < 20; ++i)
        store.WriteRegInt(Sub, QString("V%1").arg(i), i);
    QDir d(dir.path());
    const QStringList left = d.entryList(QDir::Files);
    QCOMPARE(left, QStringList({"settings.reg", "settings.reg.lock"}));
}

// A file that exists but cannot be read must not be replaced by one holding a single value
// (tests run as root, so permissions cannot make it unreadable: size and type do).
void TestRegFile::unreadableFileIsNeverReplaced_data()
{
    QTest::addColumn<bool>("directory");
    QTest::newRow("too large") << false;
    QTest::newRow("a directory") << true;
}

void TestRegFile::unreadableFileIsNeverReplaced()
{
    QFETCH(bool, directory);
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.reg");
    QByteArray big;
    if (directory) {
        QVERIFY(QDir().mkdir(path));
    } else {
        big = "REGEDIT4\n\n[" + Key.toUtf8() + "]\n\"Chime\"=dword:00000002\n";
        big += QByteArray(5 * 1024 * 1024, ';');
        writeFile(path, big);
    }
    RegFileRegistry reg(diskFiles(), path);
    SettingsStore store(reg);
    store.WriteRegInt(Sub, "PFMax", 500);
    QCOMPARE(store.ReadRegInt(Sub, "PFMax", 100), 100);
    if (directory) {
        QVERIFY(QFileInfo(path).isDir());
    } else {
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), big);
    }
}

void TestRegFile::writeThroughSymlinkKeepsTheLink()
{
    QTemporaryDir dir;
    const QString real = dir.filePath("dotfiles/settings.reg");
    QVERIFY(QDir().mkpath(dir.filePath("dotfiles")));
    writeFile(real, "REGEDIT4\n");
    const QString link = dir.filePath("settings.reg");
    QVERIFY(QFile::link(real, link));
    RegFileRegistry reg(diskFiles(), link);
    SettingsStore(reg).WriteRegInt(Sub, "PFMax", 500);
    QVERIFY(QFileInfo(link).isSymLink());
    QVERIFY(QFile(real).open(QIODevice::ReadOnly));
    QCOMPARE(SettingsStore(reg).ReadRegInt(Sub, "PFMax", 100), 500);
}

void TestRegFile::findsTheValueThatWins_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<qint64>("expected"); // -1: not found

    QTest::newRow("CR only") << QByteArray("REGEDIT4\r\r[A\\B]\r\"V\"=dword:00000005\r") << 5LL;
    QTest::newRow("LF only") << QByteArray("REGEDIT4\n\n[A\\B]\n\"V\"=dword:00000005") << 5LL;
    QTest::newRow("mixed ends")
        << QByteArray("REGEDIT4\r\n\r[A\\B]\n\"W\"=dword:00000001\r\"V\"=dword:00000006\r\n")
        << 6LL;
    QTest::newRow("later duplicate wins")
        << QByteArray("REGEDIT4\n[A\\B]\n\"V\"=dword:00000001\n\"v\"=dword:00000002\n") << 2LL;
    QTest::newRow("unreadable later duplicate passed over")
        << QByteArray("REGEDIT4\n[A\\B]\n\"V\"=dword:00000001\n\"V\"=dword:zz\n") << 1LL;
    QTest::newRow("key repeated, later section wins")
        << QByteArray("REGEDIT4\n[A\\B]\n\"V\"=dword:00000001\n[C]\n\"V\"=dword:00000009\n"
                      "[a\\b]\n\"V\"=dword:00000003\n")
        << 3LL;
    QTest::newRow("key repeated, value only in the first")
        << QByteArray("REGEDIT4\n[A\\B]\n\"V\"=dword:00000001\n[A\\B]\n\"W\"=dword:00000004\n")
        << 1LL;
    QTest::newRow("other key only")
        << QByteArray("REGEDIT4\n[A\\C]\n\"V\"=dword:00000001\n") << -1LL;
    QTest::newRow("deleted key") << QByteArray("REGEDIT4\n[-A\\B]\n\"V\"=dword:00000001\n") << -1LL;
    QTest::newRow("before any key")
        << QByteArray("REGEDIT4\n\"V\"=dword:00000001\n[A\\B]\n") << -1LL;
    QTest::newRow("comment") << QByteArray("REGEDIT4\n[A\\B]\n;\"V\"=dword:00000001\n") << -1LL;
    QTest::newRow("continuation line is no value")
        << QByteArray("REGEDIT4\r[A\\B]\r\"H\"=hex:01,\\\r\"V\"=dword:00000001\r") << -1LL;
    QTest::newRow("key name is not a prefix")
        << QByteArray("REGEDIT4\n[A\\B\\C]\n\"V\"=dword:00000001\n") << -1LL;
    QTest::newRow("value name is not a prefix")
        << QByteArray("REGEDIT4\n[A\\B]\n\"VV\"=dword:00000001\n\"\"=dword:00000002\n") << -1LL;
}

void TestRegFile::findsTheValueThatWins()
{
    QFETCH(QByteArray, content);
    QFETCH(qint64, expected);
    const auto v = RegFile::find(content, "A\\B", "V");
    QCOMPARE(v ? qint64(v->dword) : -1LL, expected);
}

void TestRegFile::writeChangesOneValueOnly_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after"); // once "V" under "A\B" is set to 42

    QTest::newRow("in place, name and indent kept")
        << QByteArray("REGEDIT4\r\n\r\n[A\\B]\r\n  \"v\"=dword:00000001 \r\n; note\r\n")
        << QByteArray("REGEDIT4\r\n\r\n[A\\B]\r\n  \"v\"=dword:0000002a\r\n; note\r\n");
    QTest::newRow("CR only, new value after the last line of its key")
        << QByteArray("REGEDIT4\r\r[A\\B]\r\"One\"=dword:00000001\r\r; next\r[C]\r"
                      "\"V\"=dword:00000003\r")
        << QByteArray("REGEDIT4\r\r[A\\B]\r\"One\"=dword:00000001\r\"V\"=dword:0000002a\r\r; next\r"
                      "[C]\r\"V\"=dword:00000003\r");
    QTest::newRow("new key at the end of a file without a last line end")
        << QByteArray("REGEDIT4\n; c\n[C]\n\"X\"=\"y\"")
        << QByteArray("REGEDIT4\n; c\n[C]\n\"X\"=\"y\"\n\n[A\\B]\n\"V\"=dword:0000002a\n");
    QTest::newRow("new key after a blank line")
        << QByteArray("REGEDIT4\r\n\r\n")
        << QByteArray("REGEDIT4\r\n\r\n[A\\B]\r\n\"V\"=dword:0000002a\r\n");
    QTest::newRow("empty file") << QByteArray()
                                << QByteArray("REGEDIT4\n\n[A\\B]\n\"V\"=dword:0000002a\n");
    QTest::newRow("the duplicate that is read is the one written")
        << QByteArray("REGEDIT4\n[A\\B]\n\"V\"=dword:00000001\n\"V\"=dword:00000002\n"
                      "\"V\"=dword:zz\n")
        << QByteArray("REGEDIT4\n[A\\B]\n\"V\"=dword:00000001\n\"V\"=dword:0000002a\n"
                      "\"V\"=dword:zz\n");
    QTest::newRow("other type over several lines replaced whole")
        << QByteArray("REGEDIT4\n[A\\B]\n\"V\"=hex:01,\\\n  02,\\\n  03\n\"W\"=dword:00000001\n")
        << QByteArray("REGEDIT4\n[A\\B]\n\"V\"=dword:0000002a\n\"W\"=dword:00000001\n");
    QTest::newRow("new value after a continued value")
        << QByteArray("REGEDIT4\n[A\\B]\n\"H\"=hex:01,\\\n  02\n\n[C]\n")
        << QByteArray("REGEDIT4\n[A\\B]\n\"H\"=hex:01,\\\n  02\n\"V\"=dword:0000002a\n\n[C]\n");
    QTest::newRow("bytes that are not UTF-8 kept")
        << QByteArray("REGEDIT4\n\n[A\\\xff\xfe]\n\"caf\xe9\"=\"\xc3(\"\n\n[A\\B]\n\"V\"=\"x\"\n")
        << QByteArray("REGEDIT4\n\n[A\\\xff\xfe]\n\"caf\xe9\"=\"\xc3(\"\n\n[A\\B]\n"
                      "\"V\"=dword:0000002a\n");
    QTest::newRow("lines of other kinds kept")
        << QByteArray("REGEDIT4\n# mine\nnonsense\n[A\\B]\n\"V\"=\"old\"\n[[x\n")
        << QByteArray("REGEDIT4\n# mine\nnonsense\n[A\\B]\n\"V\"=dword:0000002a\n[[x\n");
    QTest::newRow("value left waiting for a continuation at the end")
        << QByteArray("REGEDIT4\n[A\\B]\n\"H\"=hex:01,\\")
        << QByteArray("REGEDIT4\n[A\\B]\n\"H\"=hex:01,\\\n\n\"V\"=dword:0000002a");
    QTest::newRow("key repeated: new value goes to its last section")
        << QByteArray("REGEDIT4\n[A\\B]\n\"X\"=dword:00000001\n[C]\n[a\\b]\n\"Y\"=\"\"\n\n")
        << QByteArray("REGEDIT4\n[A\\B]\n\"X\"=dword:00000001\n[C]\n[a\\b]\n\"Y\"=\"\"\n"
                      "\"V\"=dword:0000002a\n\n");
}

void TestRegFile::writeChangesOneValueOnly()
{
    QFETCH(QByteArray, before);
    const QByteArray written = RegFile::withValue(before, "A\\B", "V", RegValue::fromDword(42));
    QTEST(written, "after");
    // What was written is what the next read finds.
    const auto v = RegFile::find(written, "A\\B", "V");
    QVERIFY(v);
    QCOMPARE(v->dword, 42u);
}

void TestRegFile::understood_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("understood");

    QTest::newRow("empty") << QByteArray() << true;
    QTest::newRow("only blanks") << QByteArray(" \r\n\t\r") << true;
    QTest::newRow("header CR") << QByteArray("REGEDIT4\r[A]\r") << true;
    QTest::newRow("header with blanks") << QByteArray(" REGEDIT4 \r\n") << true;
    QTest::newRow("header after a byte-order mark") << QByteArray("\xef\xbb\xbfREGEDIT4\n") << true;
    QTest::newRow("8-bit text") << QByteArray("REGEDIT4\n[\xe9\xff]\n\"\x01\"=\"\x7f\"\n") << true;
    QTest::newRow("no header") << QByteArray("[A\\B]\n\"V\"=dword:00000001\n") << false;
    QTest::newRow("header not first") << QByteArray("\nREGEDIT4\n") << false;
    QTest::newRow("header with more") << QByteArray("REGEDIT4 x\n") << false;
    QTest::newRow("version 5, UTF-16")
        << QByteArray("\xff\xfeW\0i\0n\0", 8) + QByteArray("\r\0\n\0", 4) << false;
    QTest::newRow("NUL after the header") << QByteArray("REGEDIT4\n\"V\"=\"a\0b\"\n", 19) << false;
}

void TestRegFile::understood()
{
    QFETCH(QByteArray, content);
    QTEST(RegFile::understood(content), "understood");
}

void TestRegFile::fileNotUnderstoodIsLeftAlone_data()
{
    QTest::addColumn<QByteArray>("content");
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 37) & 0xFF);
    QTest::newRow("binary") << binary;
    QTest::newRow("no header") << QByteArray("[" + Key.toUtf8() + "]\n\"PFMax\"=dword:00000200\n");
    QTest::newRow("over the size limit")
        << "REGEDIT4\n[" + Key.toUtf8() + "]\n" + QByteArray(4 * 1024 * 1024, ';');
    QTest::newRow("NUL in a value") << "REGEDIT4\n[" + Key.toUtf8() +
                                           "]\n\"PFMax\"=dword:00000200\n" +
                                           QByteArray("\"X\"=\"\0\"\n", 8);
}

void TestRegFile::fileNotUnderstoodIsLeftAlone()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.reg");
    writeFile(path, content);
    RegFileRegistry reg(diskFiles(), path);
    SettingsStore store(reg);
    QVERIFY(!reg.foundNotUnderstood());
    QCOMPARE(store.ReadRegInt(Sub, "PFMax", 100), 100);
    QVERIFY(reg.foundNotUnderstood());
    store.WriteRegInt(Sub, "PFMax", 500);
    QVERIFY(reg.setValue(SettingsStore::SettingsKeyRoot + Sub, "PFMax", RegValue::fromDword(5)) ==
            RegWrite::Refused);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), content);
}

// Files put together from lines of every kind with every line end: a write finds its value
// again, changes no other value, and a second write of it changes nothing more. (A value left
// waiting for a continuation at the end of the file gets a line after it, and reads the same.)
void TestRegFile::writesToMixedFilesKeepTheRest()
{
    const QByteArray pieces[] = {"[A\\B]",
                                 "[a\\b]  ",
                                 "[C]",
                                 "[-A\\B]",
                                 "[",
                                 "; \"V\"=dword:00000005",
                                 "",
                                 "  ",
                                 "\"V\"=dword:00000001",
                                 "\"v\"=\"t\"",
                                 "\"V\"=dword:zz",
                                 "\"V\"=hex:00,\\",
                                 "\"V\"=\"x\\",
                                 "\"W\"=hex:01,\\",
                                 "  02,\\",
                                 "\"X\"=\"a\\\\\"",
                                 "\"Y\"=dword:00000003",
                                 "junk"};
    const QByteArray ends[] = {"\r", "\n", "\r\n"};
    const QString names[] = {"W", "X", "Y", "V"};
    const QString keys[] = {"A\\B", "C"};
    QRandomGenerator rng(20240305);
    for (int round = 0; round < 2000; ++round) {
        QByteArray text = "REGEDIT4";
        const int count = rng.bounded(12);
        for (int i = 0; i < count; ++i)
            text += ends[rng.bounded(3)] + pieces[rng.bounded(int(std::size(pieces)))];
        if (rng.bounded(2))
            text += ends[rng.bounded(3)];
        const QString key = keys[rng.bounded(2)];

        const QByteArray once = RegFile::withValue(text, key, "V", RegValue::fromText("new"));
        const auto v = RegFile::find(once, key, "V");
        QVERIFY2(v && v->text == "new", once.constData());
        for (const QString& k : keys)
            for (const QString& n : names)
                if (k != key || n != QLatin1String("V"))
                    QVERIFY2(RegFile::find(once, k, n) == RegFile::find(text, k, n),
                             (text + " | " + once).constData());
        QVERIFY(RegFile::understood(once));
        QCOMPARE(RegFile::withValue(once, key, "V", RegValue::fromText("new")), once);
    }
}

QTEST_APPLESS_MAIN(TestRegFile)
#include "tst_regfile.moc"
