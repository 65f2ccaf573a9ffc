#include "app/HoroluxApplication.h"
#include "app/PanelController.h"
#include "app/ReminderCommand.h"
#include "app/Translations.h"
#include "core/LosslessText.h"
#include "platform/linux/AppPaths.h"
#include "platform/linux/BusProbe.h"
#include "platform/linux/DisplayCheck.h"
#include "platform/linux/LinuxFileStore.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/LinuxSingleInstance.h"
#include "platform/linux/SessionBus.h"
#include "platform/linux/SignalWatcher.h"
#include "ports/IReminderService.h"
#include "rules/app/CommandLine.h"
#include "rules/settings/RegFileRegistry.h"
#include "windows/ui/ModalSeam.h"

#include <QDateTime>
#include <QEvent>
#include <QLoggingCategory>
#include <QtGlobal>

#include <cstdio>

// Off unless QT_LOGGING_RULES asks for it ("horolux.timing.info=true").
Q_LOGGING_CATEGORY(lcTiming, "horolux.timing", QtWarningMsg)

namespace {

// For the start-up measurement (bench/measure-startup.sh): logs the wall-clock time of the
// panel's first paint, then steps out of the way.
class FirstPaintReporter : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            qCInfo(lcTiming, "first-paint %lld",
                   static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
            watched->removeEventFilter(this);
        }
        return false;
    }
};

// Placing the panel, keeping it on top and finding windows by title need X11: under Wayland
// the program asks for XWayland when the session offers it.
void preferX11()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace

// The program's entry, called by the horolux executable (start.cpp) with SIGTERM, SIGINT and
// SIGHUP held back until the signal watcher below takes them over.
extern "C" int horolux_main(int argc, char** argv)
{
    // Arguments are answered before anything needs a display or finds a running copy, so
    // --help works on a console and in a second start alike.
    // Bytes that are not UTF-8 stay recognisable (see LosslessText), so a reminder's text made
    // of them is refused rather than stored garbled.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << LosslessText::decode(argv[i]);
    const CommandLine::Request request = CommandLine::parse(arguments);
    switch (request.action) {
    case CommandLine::Action::Help:
        std::fputs(CommandLine::helpText().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::fputs(CommandLine::versionText().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Refuse:
        std::fprintf(stderr, "%s\n", request.error.toLocal8Bit().constData());
        return CommandLine::UsageStatus;
    case CommandLine::Action::Remind:
    case CommandLine::Action::List:
    case CommandLine::Action::Cancel:
    case CommandLine::Action::Snooze: {
        // No display and no settings: these work from a terminal, ssh or cron alike.
        SignalWatcher::releaseHeldSignals();
        QCoreApplication app(argc, argv);
        LinuxSingleInstance instance;
        LinuxFileStore files;
        return ReminderCommand::run(request.reminder, instance, files,
                                    AppPaths::scheduleFile(AppPaths::dataDirectory()));
    }
    case CommandLine::Action::Run:
        break;
    }

    SignalWatcher watcher;
    // Without a display Qt would abort; the program says which display and ends before it
    // claims anything.
    preferX11();
    DisplayCheck::fitDescriptorLimit();
    DisplayCheck::drawOverTheConnection();
    const QString noDisplay = DisplayCheck::problem();
    if (!noDisplay.isEmpty()) {
        std::fprintf(stderr, "%s\n", noDisplay.toLocal8Bit().constData());
        return 1;
    }

    // One copy per user, decided before any file or window is touched: a later start on the
    // same display shows this copy's panel and leaves; one on another display only says where
    // the clock runs, since two copies would both fire and save the one schedule.
    LinuxSingleInstance instance;
    const ISingleInstance::Claim claim = instance.claim();
    switch (claim.outcome) {
    case ISingleInstance::Outcome::Claimed:
        break;
    case ISingleInstance::Outcome::Shown:
        return 0;
    case ISingleInstance::Outcome::OtherDisplay:
        std::fprintf(stderr, "horolux: already running for this user on display %s\n",
                     claim.display.toLocal8Bit().constData());
        return 0;
    case ISingleInstance::Outcome::Delivered: // only for a request
    case ISingleInstance::Outcome::Unanswered:
    case ISingleInstance::Outcome::Unreachable:
        std::fputs("horolux: a running copy holds the lock but cannot be reached\n", stderr);
        return 1;
    case ISingleInstance::Outcome::Busy:
        std::fputs("horolux: other horolux commands kept the lock too long; try again\n", stderr);
        return 1;
    case ISingleInstance::Outcome::NoSafePlace:
        std::fputs("horolux: no private folder for the lock that keeps a second copy out; set "
                   "HOME\n",
                   stderr);
        return 1;
    }
    // Ties the windows to the installed desktop entry and icon (Wayland's app id, task bars).
    QGuiApplication::setDesktopFileName(QStringLiteral(HOROLUX_APP_ID));
    HoroluxApplication app(argc, argv);
    // Before anything on this thread touches the session bus: Qt's accessibility bridge connects
    // with the first accessible name and would wait there for a bus that never answers.
    const QString busProblem = SessionBus::settle(BusProbe::DefaultLimitMs);
    if (!busProblem.isEmpty())
        std::fprintf(stderr, "%s\n", busProblem.toLocal8Bit().constData());
    installTranslations();
    LinuxPlatform platform;
    RegFileRegistry settingsFile(*platform.services().files, platform.services().settingsFile);
    platform.services().registry = &settingsFile;
    PanelController controller(platform.services());
    THoroluxMain& panel = controller.panel();

    // Every way of ending goes through the one shutdown path: SIGTERM, SIGINT and SIGHUP, the
    // end of the desktop session, and the display going away under the program.
    QObject::connect(&watcher, &SignalWatcher::terminationRequested, &controller,
                     &PanelController::end);
    QObject::connect(&app, &HoroluxApplication::endRequested, &controller, &PanelController::end);
    watcher.start();
    controller.shutdown().saveAtProcessExit();
    instance.setShowRequestHandler([&panel] { panel.showAndRaise(); });
    instance.setRequestHandler([&controller](const QList<ReminderRequest>& requests) {
        return controller.handleReminderRequests(requests);
    });
    // The session bus's callers get the same answers as a later start's command line. Published
    // only by the one copy, and withdrawn as the end begins. Without a bus, or with the name held
    // by another program, the clock runs as before.
    IReminderService& reminderService = *platform.services().reminderService;
    reminderService.publish([&controller](const ReminderRequest& asked) {
        return controller.handleReminderRequest(asked);
    });
    QObject::connect(&controller.shutdown(), &ShutdownPath::started, &controller,
                     [&reminderService] { reminderService.withdraw(); });

    FirstPaintReporter firstPaint;
    if (lcTiming().isInfoEnabled())
        panel.installEventFilter(&firstPaint);
    panel.show();
    app.exec();
    // Nothing is on the stack any more: a failed save is shown where nothing else can hold it.
    controller.shutdown().saveOnce();
    if (!controller.shutdownNotice().isEmpty())
        ModalSeam::passingWarning(nullptr, QCoreApplication::applicationName(),
                                  controller.shutdownNotice(), PanelController::ShutdownNoticeMs);
    return controller.exitStatus();
}
