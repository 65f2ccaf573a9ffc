// Opening the settings dialog on the offscreen platform: reading what it shows (the stored
// priority class from a real settings file, the mounted file systems) and building, filling and
// showing it up to its first painted frame. The first open of a process is measured on its own,
// after a window with text has been painted as the clock's face is at start: it also pays for
// the first dialog's style and the widgets' first use.
#include "core/ClockReading.h"
#include "doubles/DiskFiles.h"
#include "platform/linux/AppPaths.h"
#include "platform/linux/LinuxDriveInfo.h"
#include "rules/options/OptionsRules.h"
#include "rules/settings/RegFileRegistry.h"
#include "rules/settings/SettingsInForce.h"
#include "rules/settings/SettingsStore.h"
#include "windows/ui/TOptionsFrm.h"

#include <QApplication>
#include <QLabel>
#include <QTemporaryDir>

#include "BenchHome.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

class NoActions : public TimePageActions {
public:
    void btnSetClick(int, int, int) override {}
    void btnAutoClick(QWidget*) override {}
    void btnSetInternetClick() override {}
};

struct Opening {
    SettingsInForce settings;
    ClockReading clock;
    RegFileRegistry registry{diskFiles(), AppPaths::settingsFile()};
    SettingsStore store{registry};
    LinuxDriveInfo drives;
    NoActions actions;
};
Opening* g_open = nullptr;

std::unique_ptr<TOptionsFrm> openDialog()
{
    Opening& o = *g_open;
    auto dialog = std::make_unique<TOptionsFrm>(o.actions);
    dialog->setValues(OptionsRules::fill(o.settings, o.clock, o.store, o.drives.listDrives()));
    dialog->show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    return dialog;
}

void run(benchmark::State& st)
{
    for (auto _ : st) {
        std::unique_ptr<TOptionsFrm> dialog = openDialog();
        st.PauseTiming();
        dialog.reset();
        QCoreApplication::processEvents();
        st.ResumeTiming();
    }
}

void BM_FirstOpen(benchmark::State& st)
{
    run(st);
}

void BM_Open(benchmark::State& st)
{
    run(st);
}

} // namespace

BENCHMARK(BM_FirstOpen)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    QTemporaryDir home;
    if (!isolateBenchHome(home))
        return 1;
    QApplication app(argc, argv);
    Opening opening;
    opening.settings.MonitorDrive = QStringLiteral("/");
    opening.store.WriteRegInt(QStringLiteral("Settings"), QStringLiteral("PriorityClass"), 32);
    g_open = &opening;
    QLabel face(QStringLiteral("Good morning"));
    face.show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    g_open = nullptr;
    return 0;
}
