// One settings read and one settings write through the settings file, as the program does
// them: every call opens, parses and closes the file; a write locks, re-reads, changes one
// value and replaces the file (fsync of the file and its folder). Then one pass over files
// of 1,000 to 100,000 values, the largest close to the 4 MiB the program reads.
//
// `bench_settings --make-file PATH COUNT` only writes such a file, for measuring start-up.
#include "doubles/DiskFiles.h"
#include "rules/settings/RegFile.h"
#include "rules/settings/RegFileRegistry.h"
#include "rules/settings/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <functional>

#include <cstdio>
#include <memory>
#include <string>

namespace {

const QString Settings = QStringLiteral("Settings");
const QString Window = QStringLiteral("Window");

std::unique_ptr<QTemporaryDir> g_home;
QString g_settingsPath;

// The values a user who has used every option ends up with: 15 under Settings and the
// window position.
void writeRealisticFile(const SettingsStore& store)
{
    store.WriteRegInt(Settings, QStringLiteral("StayOnTop"), 1);
    store.WriteRegInt(Settings, QStringLiteral("Hide Interval"), 4);
    store.WriteRegInt(Settings, QStringLiteral("TaskIcon"), 1);
    store.WriteRegInt(Settings, QStringLiteral("12Hr Format"), 0);
    store.WriteRegInt(Settings, QStringLiteral("PFMax"), 500);
    store.WriteRegInt(Settings, QStringLiteral("UpdateInterval"), 1);
    store.WriteRegInt(Settings, QStringLiteral("PriorityClass"), 64);
    store.WriteRegString(Settings, QStringLiteral("Drive"), QStringLiteral("/home"));
    store.WriteRegInt(Settings, QStringLiteral("Chime"), 2);
    store.WriteRegString(Settings, QStringLiteral("ChimeSound"),
                         QStringLiteral("/usr/share/sounds/freedesktop/stereo/bell.oga"));
    store.WriteRegInt(Settings, QStringLiteral("Alarm"), 2);
    store.WriteRegString(
        Settings, QStringLiteral("AlarmSound"),
        QStringLiteral("/usr/share/sounds/freedesktop/stereo/alarm-clock-elapsed.oga"));
    store.WriteRegInt(Settings, QStringLiteral("AutoUpdate"), 0);
    store.WriteRegString(Settings, QStringLiteral("InternetWin"),
                         QStringLiteral("Connected to Internet"));
    store.WriteRegString(Settings, QStringLiteral("HostName"), QStringLiteral("US: time.nist.gov"));
    store.WriteRegInt(Window, QStringLiteral("State"), 0);
    store.WriteRegInt(Window, QStringLiteral("Top"), 160);
    store.WriteRegInt(Window, QStringLiteral("Left"), 10);
}

// One read as the program makes it: open, read, check, pass, close.
void readInt(benchmark::State& st, const QString& path, const QString& name, int expected)
{
    RegFileRegistry registry(diskFiles(), path);
    const SettingsStore store(registry);
    for (auto _ : st)
        benchmark::DoNotOptimize(store.ReadRegInt(Settings, name, -1));
    if (store.ReadRegInt(Settings, name, -1) != expected)
        st.SkipWithError("the stored value was not found");
}

void BM_ReadInt(benchmark::State& st)
{
    readInt(st, g_settingsPath, QStringLiteral("UpdateInterval"), 1);
}

void BM_ReadString(benchmark::State& st)
{
    RegFileRegistry registry(diskFiles(), g_settingsPath);
    const SettingsStore store(registry);
    const QString name = QStringLiteral("HostName");
    for (auto _ : st)
        benchmark::DoNotOptimize(store.ReadRegString(Settings, name, QString()));
    if (store.ReadRegString(Settings, name, QString()) != QStringLiteral("US: time.nist.gov"))
        st.SkipWithError("the stored text was not found");
}

// Every setting start-up reads, one open-parse-close each.
void readAllAtStartup(benchmark::State& st, const QString& path)
{
    RegFileRegistry registry(diskFiles(), path);
    const SettingsStore store(registry);
    static const char* const ints[] = {
        "StayOnTop",      "Hide Interval", "TaskIcon", "12Hr Format", "PFMax",
        "UpdateInterval", "PriorityClass", "Chime",    "Alarm",       "AutoUpdate"};
    static const char* const texts[] = {"Drive", "ChimeSound", "AlarmSound", "InternetWin",
                                        "HostName"};
    QStringList intNames, textNames;
    for (const char* n : ints)
        intNames << QLatin1String(n);
    for (const char* n : texts)
        textNames << QLatin1String(n);
    const QStringList placement = {QStringLiteral("Top"), QStringLiteral("State"),
                                   QStringLiteral("Left")};
    for (auto _ : st) {
        for (const QString& n : placement)
            benchmark::DoNotOptimize(store.ReadRegInt(Window, n, 0));
        for (const QString& n : intNames)
            benchmark::DoNotOptimize(store.ReadRegInt(Settings, n, 0));
        for (const QString& n : textNames)
            benchmark::DoNotOptimize(store.ReadRegString(Settings, n, QString()));
    }
    st.counters["values"] = double(placement.size() + intNames.size() + textNames.size());
}

void BM_ReadAllAtStartup(benchmark::State& st)
{
    readAllAtStartup(st, g_settingsPath);
}

// Lock, re-read, change one value, write a temporary file, fsync, rename, fsync the folder.
void BM_WriteInt(benchmark::State& st)
{
    RegFileRegistry registry(diskFiles(), g_settingsPath);
    const SettingsStore store(registry);
    const QString name = QStringLiteral("PFMax");
    qint32 value = 500;
    for (auto _ : st) {
        value = value == 500 ? 501 : 500; // a real change every time
        store.WriteRegInt(Settings, name, value);
    }
    if (store.ReadRegInt(Settings, name, -1) != value ||
        store.ReadRegString(Settings, QStringLiteral("HostName"), QString()) !=
            QStringLiteral("US: time.nist.gov"))
        st.SkipWithError("the write lost or did not store a value");
    store.WriteRegInt(Settings, name, 500);
}

// COUNT values of 41 bytes each under the program's own key, so that every name is compared,
// and the values the program reads at the very end, so that a lookup passes them all.
QByteArray largeFile(int count)
{
    QByteArray text = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\"
                      "Settings]\n";
    text.reserve(qsizetype(count) * 41 + 1024);
    for (int i = 0; i < count; ++i)
        text += "\"Value" + QByteArray::number(i).rightJustified(6, '0') +
                "\"=\"some text of the value..\"\n";
    text += "\"UpdateInterval\"=dword:00000001\n\"HostName\"=\"US: time.nist.gov\"\n"
            "\"PFMax\"=dword:000001f4\n\n"
            "[HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Window]\n"
            "\"State\"=dword:00000000\n\"Top\"=dword:000000a0\n\"Left\"=dword:0000000a\n";
    return text;
}

const QString SettingsKey =
    QStringLiteral("HKEY_CURRENT_USER\\Software\\Quillfern\\Horolux\\1.0\\Settings");

// One lookup: the pass over the whole text, without reading the file.
void BM_ParseLarge(benchmark::State& st)
{
    const QByteArray text = largeFile(int(st.range(0)));
    const QString name = QStringLiteral("PFMax");
    for (auto _ : st)
        benchmark::DoNotOptimize(RegFile::find(text, SettingsKey, name));
    if (!RegFile::understood(text) || RegFile::find(text, SettingsKey, name)->dword != 500)
        st.SkipWithError("the value at the end was not found");
    st.counters["bytes"] = double(text.size());
}

// One write's pass: the value's line found and the text rebuilt around it.
void BM_EditLarge(benchmark::State& st)
{
    const QByteArray text = largeFile(int(st.range(0)));
    const QString name = QStringLiteral("PFMax");
    for (auto _ : st)
        benchmark::DoNotOptimize(
            RegFile::withValue(text, SettingsKey, name, RegValue::fromDword(7)));
    const QByteArray edited = RegFile::withValue(text, SettingsKey, name, RegValue::fromDword(7));
    if (edited.size() != text.size() || RegFile::find(edited, SettingsKey, name)->dword != 7)
        st.SkipWithError("the edit did not change the one value in place");
}

// Runs `measure` over a settings file of `count` values, removed afterwards.
void withLargeFile(benchmark::State& st, int count,
                   const std::function<void(const QString&)>& measure)
{
    const QString path = g_home->path() + QStringLiteral("/large.reg");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(largeFile(count)) < 0) {
        st.SkipWithError("cannot write the large file");
        return;
    }
    f.close();
    measure(path);
    QFile::remove(path);
}

void BM_ReadIntLarge(benchmark::State& st)
{
    withLargeFile(st, int(st.range(0)),
                  [&](const QString& path) { readInt(st, path, QStringLiteral("PFMax"), 500); });
}

// The settings share of start-up with the largest file.
void BM_ReadAllAtStartupLarge(benchmark::State& st)
{
    withLargeFile(st, 100000, [&](const QString& path) { readAllAtStartup(st, path); });
}

} // namespace

BENCHMARK(BM_ParseLarge)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_EditLarge)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ReadIntLarge)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ReadAllAtStartupLarge)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ReadInt)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReadString)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ReadAllAtStartup)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_WriteInt)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    if (argc == 4 && std::string(argv[1]) == "--make-file") {
        QFile f(QString::fromLocal8Bit(argv[2]));
        const QByteArray text = largeFile(QByteArray(argv[3]).toInt());
        return f.open(QIODevice::WriteOnly) && f.write(text) == text.size() ? 0 : 1;
    }
    // Nothing of the user's own: home and both XDG folders point into a temporary folder
    // before anything is created.
    g_home = std::make_unique<QTemporaryDir>();
    if (!g_home->isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 1;
    }
    const QByteArray home = QFile::encodeName(g_home->path());
    qputenv("HOME", home);
    qputenv("XDG_CONFIG_HOME", home + "/config");
    qputenv("XDG_DATA_HOME", home + "/data");

    QCoreApplication app(argc, argv);
    g_settingsPath = g_home->path() + QStringLiteral("/config/horolux/settings.reg");
    {
        RegFileRegistry registry(diskFiles(), g_settingsPath);
        writeRealisticFile(SettingsStore(registry));
    }
    if (!QFile::exists(g_settingsPath)) {
        std::fprintf(stderr, "the settings file was not written\n");
        return 1;
    }

    benchmark::Initialize(&argc, argv);
    benchmark::AddCustomContext("settings file bytes",
                                std::to_string(QFileInfo(g_settingsPath).size()));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_home.reset();
    return 0;
}
