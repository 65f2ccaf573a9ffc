#include "platform/RegFileRegistry.h"
#include "settings/RegFile.h"
#include "settings/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString Key =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Settings");
const QString Sub = QStringLiteral("Settings");

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
    const RegFile f = RegFile::parse("REGEDIT4\r\n\r\n[" + Key.toUtf8() + "]\r\n" + line + "\r\n");
    const RegValue* v = f.find(Key, "V");
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
    RegFile f;
    f.set(Key, "Path", RegValue::fromText("a\\b \"c\""));
    f.set(Key, "N", RegValue::fromDword(0xFFFFFFFF));
    RegValue bin;
    bin.raw = "hex:01,02,\\";
    f.set(Key, "Bin", bin);
    const QByteArray text = f.serialize();
    QVERIFY(text.startsWith("REGEDIT4\n"));
    QVERIFY(text.contains("\"Path\"=\"a\\\\b \\\"c\\\"\""));
    QVERIFY(text.contains("\"N\"=dword:ffffffff"));
    const RegFile again = RegFile::parse(text);
    QCOMPARE(again.find(Key, "Path")->text, QByteArray("a\\b \"c\""));
    QCOMPARE(again.find(Key, "N")->dword, 0xFFFFFFFFu);
    QCOMPARE(int(again.find(Key, "Bin")->type), int(RegValue::Type::Other));
}

void TestRegFile::badFilesYieldDefaults_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("header only") << QByteArray("REGEDIT4\n");
    QTest::newRow("truncated") << QByteArray("REGEDIT4\n\n[" + Key.toUtf8().left(20));
    QByteArray binary(4096, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char((i * 37) & 0xFF);
    QTest::newRow("binary") << binary;
    QTest::newRow("malformed lines") << QByteArray("garbage\n[[[\n\"=\n=dword:\n\"PFMax\"\n");
}

void TestRegFile::badFilesYieldDefaults()
{
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.reg");
    writeFile(path, content);
    RegFileRegistry reg(path);
    SettingsStore store(reg);
    QCOMPARE(store.ReadRegInt(Sub, "Hide Interval", 4), 4);
    QCOMPARE(store.ReadRegString(Sub, "InternetWin", "Connected to Internet"),
             QString("Connected to Internet"));
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
    RegFileRegistry reg(path);
    SettingsStore store(reg);
    store.WriteRegInt(Sub, "PFMax", 500);
    QCOMPARE(store.ReadRegInt(Sub, "Chime", 0), 2);
    QCOMPARE(store.ReadRegString(Sub, "ChimeSound", {}), QString("/snd/a b.wav"));
    QCOMPARE(int(reg.queryValue("Software\\Quillfern\\Horolux\\1.0\\Settings", "Odd")->type),
             int(RegValue::Type::Other));
    QCOMPARE(store.ReadRegInt(Sub, "PFMax", 100), 500);
}

void TestRegFile::firstWriteCreatesFolderAndKey()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("deep/er/settings.reg");
    RegFileRegistry reg(path);
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
    RegFileRegistry reg(dir.filePath("blocker/settings.reg"));
    SettingsStore store(reg);
    store.WriteRegInt(Sub, "PFMax", 500);
    QCOMPARE(store.ReadRegInt(Sub, "PFMax", 100), 100);
}

void TestRegFile::writeLeavesNoTemporaryFiles()
{
    QTemporaryDir dir;
    RegFileRegistry reg(dir.filePath("settings.reg"));
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
    RegFileRegistry reg(path);
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
    RegFileRegistry reg(link);
    SettingsStore(reg).WriteRegInt(Sub, "PFMax", 500);
    QVERIFY(QFileInfo(link).isSymLink());
    QVERIFY(QFile(real).open(QIODevice::ReadOnly));
    QCOMPARE(SettingsStore(reg).ReadRegInt(Sub, "PFMax", 100), 500);
}

QTEST_APPLESS_MAIN(TestRegFile)
#include "tst_regfile.moc"
