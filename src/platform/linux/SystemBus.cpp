#include "platform/linux/SystemBus.h"

#include <QDBusConnection>

namespace {
bool s_open = false; // the GUI thread's
} // namespace

void SystemBus::whenKnown(QObject* context, std::function<void(BusProbe::Verdict)> then)
{
    if (s_open) {
        then(BusProbe::Verdict::Answers);
        return;
    }
    BusProbe::ask(
        BusProbe::systemAddress(), context, [then = std::move(then)](BusProbe::Verdict verdict) {
            if (verdict == BusProbe::Verdict::Answers || verdict == BusProbe::Verdict::Unprobed) {
                // Connected now, while it is known to answer; Qt keeps the
                // connection for the run.
                s_open = QDBusConnection::systemBus().isConnected();
                verdict = s_open ? BusProbe::Verdict::Answers : BusProbe::Verdict::Absent;
            }
            then(verdict);
        });
}
