// PanelController, continued: the menu's commands, the tray icon's clicks and what the
// settings dialog changes.
#include "app/PanelController.h"

#include "ports/IClock.h"
#include "ports/IClockSetter.h"
#include "ports/IDesktopWindow.h"
#include "ports/IDriveInfo.h"
#include "ports/IProcessPriority.h"
#include "rules/clock/ClockSetting.h"
#include "rules/nettime/TimeClient.h"
#include "rules/perf/PerfSampler.h"
#include "windows/components/TTaskIcon.h"
#include "windows/nettime/TAutoFrm.h"
#include "windows/perf/TReportFrm.h"
#include "windows/sched/SchedulerUi.h"
#include "windows/ui/HelpSystem.h"
#include "windows/ui/SharedRoutines.h"
#include "windows/ui/TAbtFrm.h"

#include <QApplication>

void PanelController::MenuItemClick(PanelMenu::Item item)
{
    using Item = PanelMenu::Item;
    switch (item) {
    case Item::Settings:
        SettingsItemClick();
        break;
    case Item::Sched:
        SchedItemClick();
        break;
    case Item::Reminder:
        ReminderItemClick();
        break;
    case Item::Report:
        ReportItemClick();
        break;
    case Item::StayOnTop:
        StayOnTopItemClick();
        break;
    case Item::Auto:
        AutoItemClick();
        break;
    case Item::Help:
        HelpItemClick();
        break;
    case Item::Connect:
        ConnectItemClick();
        break;
    case Item::About:
        AboutItemClick();
        break;
    case Item::Close:
        CloseItemClick();
        break;
    }
}

void PanelController::CloseItemClick()
{
    m_shutdown.request();
}

void PanelController::StayOnTopItemClick()
{
    // The item has already flipped its own check mark.
    m_platform.desktop->setStayOnTop(&m_panel, m_panel.popupMenu()->stayOnTopChecked());
}

void PanelController::AutoItemClick()
{
    m_state.settings.AutoUpdate = m_panel.popupMenu()->autoUpdateChecked();
}

void PanelController::HelpItemClick()
{
    HelpSystem::showFinder();
}

void PanelController::ConnectItemClick()
{
    if (!SharedRoutines::LaunchProgram(*m_platform.launcher,
                                       QStringLiteral("https://") + PanelMenu::WebHost +
                                           QLatin1Char('/'),
                                       QString(), QString(), 5))
        ShowWarning(tr("Could not connect to Web site"));
}

void PanelController::AboutItemClick()
{
    if (modalDialogOpen())
        return;
    TAbtFrm dialog(&m_panel);
    dialog.exec();
}

void PanelController::TaskIconClick()
{
    if (m_panel.isVisible())
        m_panel.hide();
    else
        m_panel.showAndRaise();
}

void PanelController::TaskIconRightClick(QPoint at)
{
    if (!modalDialogOpen())
        m_panel.popupMenu()->popup(at);
}

// A tray icon reached over the session bus is not blocked by a modal dialog: commands that
// open dialogs of their own wait for it to close and bring it forward instead.
bool PanelController::modalDialogOpen()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return false;
    modal->raise();
    modal->activateWindow();
    return true;
}

void PanelController::SchedItemClick()
{
    if (modalDialogOpen())
        return;
    m_schedulerUi->SchedItemClick([this] { SaveSchedule(); });
}

void PanelController::ReminderItemClick()
{
    if (modalDialogOpen())
        return;
    m_schedulerUi->ReminderItemClick([this] { SaveSchedule(); });
}

void PanelController::ReportItemClick()
{
    if (modalDialogOpen())
        return;
    TReportFrm dialog(m_state.perf, m_state.settings, &m_panel);
    dialog.exec();
}

void PanelController::SettingsItemClick()
{
    if (modalDialogOpen())
        return;
    TOptionsFrm dialog(*this, &m_panel);
    dialog.setValues(OptionsRules::fill(m_state.settings, m_state.clock, m_store,
                                        m_platform.drives->listDrives()));
    dialog.askClockSync(m_platform.clockSync);
    // The program may have been closed while the dialog was open: nothing is applied then.
    if (dialog.exec() == QDialog::Accepted && !m_shutDown)
        OptionsRules::apply(dialog.values(), m_state.settings, m_store, *this);
}

void PanelController::SetDisplayFormat(bool use12Hour)
{
    m_tick.SetDisplayFormat(use12Hour);
    m_state.tick.LastMinuteShown = TickState::ForceMinuteSteps;
}

void PanelController::GetDriveSpace(const QString& drive)
{
    m_sampler->GetDriveSpace(drive);
}

void PanelController::setTrayIconShown(bool shown)
{
    m_taskIcon->setActive(shown);
    if (shown && !m_taskIcon->Active() && !m_noTraySaid) {
        m_noTraySaid = true;
        showStatus(tr(NoTrayText));
    }
}

bool PanelController::SetPriorityClass(int priorityClass)
{
    const IProcessPriority::Result result = m_platform.priority->setPriorityClass(priorityClass);
    if (result != IProcessPriority::Result::Set)
        showStatus(OptionsRules::priorityStatus(result));
    return result == IProcessPriority::Result::Set;
}

void PanelController::btnSetClick(int hour, int minute, int second)
{
    IClockSetter& setter = *m_platform.clockSetter;
    // A change still waiting for the system's answer (and perhaps the user's password).
    if (setter.busy()) {
        showStatus(TimeClient::settingInProgress());
        return;
    }
    if (ClockSetting::SetLocalTimeOfDay(setter, *m_platform.clock, quint16(hour), quint16(minute),
                                        quint16(second))) {
        // An earlier refusal's reason would still stand there: the new date and time replace it.
        if (m_state.tick.DateLineCountdown > 0) {
            m_panel.setDateLine(ClockTick::longDate(m_platform.clock->now().date()));
            m_state.tick.DateLineCountdown = 1; // the next tick ends the message as usual
        }
        return;
    }
    // The box says what every refusal says; the date line says why, where the system told.
    const QString reason = setter.refusalReason();
    if (!reason.isEmpty())
        showStatus(reason);
    ShowWarning(tr("You do not have the privilege needed to set the system time"));
}

void PanelController::btnAutoClick(QWidget* dialog)
{
    ::btnAutoClick(dialog, m_state.settings, m_store);
}

void PanelController::btnSetInternetClick()
{
    if (m_platform.clockSetter->busy()) {
        showStatus(TimeClient::settingInProgress());
        return;
    }
    m_timeClient->BeginTimeUpdate(TimeClient::ByHand);
}
