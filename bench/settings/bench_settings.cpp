// One settings read and one settings write through the settings file, as the program does
// them: every call opens, parses and closes the file; a write locks, re-reads, changes one
// value and replaces the file (fsync of the file and its folder).
#include "platform/RegFileRegistry.h"
#include "settings/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

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

void BM_ReadInt(benchmark::State& st)
{
    RegFileRegistry registry(g_settingsPath);
    const SettingsStore store(registry);
    const QString name = QStringLiteral("UpdateInterval");
    for (auto _ : st)
        benchmark::DoNotOptimize(store.ReadRegInt(Settings, name, -1));
    if (store.ReadRegInt(Settings, name, -1) != 1)
        st.SkipWithError("the stored value was not found");
}

void BM_ReadString(benchmark::State& st)
{
    RegFileRegistry registry(g_settingsPath);
    const SettingsStore store(registry);
    const QString name = QStringLiteral("HostName");
    for (auto _ : st)
        benchmark::DoNotOptimize(store.ReadRegString(Settings, name, QString()));
    if (store.ReadRegString(Settings, name, QString()) != QStringLiteral("US: time.nist.gov"))
        st.SkipWithError("the stored text was not found");
}

// Every setting start-up reads, one open-parse-close each.
void BM_ReadAllAtStartup(benchmark::State& st)
{
    RegFileRegistry registry(g_settingsPath);
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

// Lock, re-read, change one value, write a temporary file, fsync, rename, fsync the folder.
void BM_WriteInt(benchmark::State& st)
{
    RegFileRegistry registry(g_settingsPath);
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

} // namespace

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
        RegFileRegistry registry(g_settingsPath);
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
