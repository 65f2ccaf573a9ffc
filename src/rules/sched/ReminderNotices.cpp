#include "rules/sched/ReminderNotices.h"

#include "ports/INotifier.h"

#include <QCoreApplication>

#include <utility>

ReminderNotices::ReminderNotices(INotifier* notifier, Popup closePopup, Popup openPopup,
                                 Popup snooze)
    : m_notifier(notifier), m_closePopup(std::move(closePopup)), m_openPopup(std::move(openPopup)),
      m_snooze(std::move(snooze)), m_self(std::make_shared<ReminderNotices*>(this))
{
    if (!m_notifier)
        return;
    m_notifier->setEvents([this](quint32 id, INotifier::Event event) {
        const quint64 firing = firingOf(id);
        if (firing == 0)
            return;
        if (event == INotifier::Event::Opened) {
            // Still tied to the pop-up it opens: closing that withdraws the notice.
            if (m_openPopup)
                m_openPopup(firing);
            return;
        }
        m_firings.remove(firing);
        // A notification that merely expired leaves the pop-up to the user.
        if (event == INotifier::Event::Closed)
            return;
        // A resident notice stays after an action until it is withdrawn.
        m_notifier->close(id);
        if (event == INotifier::Event::Snoozed && m_snooze)
            m_snooze(firing);
        else if (m_closePopup)
            m_closePopup(firing);
    });
}

ReminderNotices::~ReminderNotices()
{
    if (m_notifier)
        m_notifier->setEvents({});
}

quint64 ReminderNotices::fire(const QString& item, const QString& text, bool notificationOnly,
                              const Popup& showPopup)
{
    const quint64 firing = ++m_lastFiring;
    if (!m_notifier) {
        showPopup(firing);
        return firing;
    }
    Firing& f = m_firings[firing];
    f.item = item;
    if (notificationOnly)
        f.showPopup = showPopup;
    else
        showPopup(firing);
    m_notifier->notify(QCoreApplication::translate("ReminderNotices", "Reminder"), text,
                       m_lastId.value(item),
                       [self = std::weak_ptr<ReminderNotices*>(m_self), firing](quint32 id) {
                           if (const auto alive = self.lock())
                               (*alive)->answered(firing, id);
                       });
    return firing;
}

void ReminderNotices::answered(quint64 firing, quint32 id)
{
    const auto it = m_firings.constFind(firing);
    if (it == m_firings.cend())
        return;
    Firing f = *it;
    m_firings.erase(it);
    if (id == 0) {
        if (f.showPopup)
            f.showPopup(firing);
        return;
    }
    m_lastId.insert(f.item, id);
    if (f.popupClosed) {
        m_notifier->close(id);
        return;
    }
    // A replaced notification now belongs to the latest firing of its item.
    if (const quint64 earlier = firingOf(id))
        m_firings.remove(earlier);
    f.id = id;
    m_firings.insert(firing, f);
}

void ReminderNotices::popupClosed(quint64 firing)
{
    const auto it = m_firings.find(firing);
    if (it == m_firings.end())
        return;
    if (it->id == 0) {
        it->popupClosed = true; // withdrawn once the server answers
        return;
    }
    m_notifier->close(it->id);
    m_firings.erase(it);
}

quint64 ReminderNotices::firingOf(quint32 id) const
{
    if (id == 0)
        return 0;
    for (auto it = m_firings.cbegin(); it != m_firings.cend(); ++it)
        if (it->id == id)
            return it.key();
    return 0;
}
