#pragma once

#include <QHash>
#include <QString>

#include <functional>
#include <memory>

class INotifier;

// The desktop notification that goes with each reminder pop-up. Every firing sends one, in
// place of the one its item sent before, so repeats do not pile up in the desktop's history.
// Answering one answers both: dismissing or snoozing in the notification closes the pop-up;
// closing the pop-up (by OK or Snooze) withdraws the notification. The notification's default
// action opens the pop-up. Without a notification server the pop-up stands alone.
class ReminderNotices {
public:
    using Popup = std::function<void(quint64 firing)>;

    // `closePopup` closes a firing's pop-up if it is still open; `openPopup` shows it (again)
    // or brings it to the front; `snooze` snoozes the firing's reminder by ten minutes and
    // closes its pop-up.
    ReminderNotices(INotifier* notifier, Popup closePopup, Popup openPopup = {}, Popup snooze = {});
    ~ReminderNotices();
    ReminderNotices(const ReminderNotices&) = delete;
    ReminderNotices& operator=(const ReminderNotices&) = delete;

    // A reminder of `item` (its stored detail) has fired; returns the firing's number.
    // `showPopup` gets it at once, or with `notificationOnly` only once no notification could
    // be shown.
    quint64 fire(const QString& item, const QString& text, bool notificationOnly,
                 const Popup& showPopup);
    // The user closed the firing's pop-up.
    void popupClosed(quint64 firing);

private:
    struct Firing {
        QString item;
        quint32 id = 0;
        bool popupClosed = false;
        Popup showPopup; // set while the pop-up waits on the answer
    };
    void answered(quint64 firing, quint32 id);
    // The firing whose notification `id` is; 0 for none.
    quint64 firingOf(quint32 id) const;

    INotifier* m_notifier;
    Popup m_closePopup;
    Popup m_openPopup;
    Popup m_snooze;
    QHash<QString, quint32> m_lastId;
    // Firings whose notification is unanswered or still open.
    QHash<quint64, Firing> m_firings;
    quint64 m_lastFiring = 0;
    // Answers that come after we are gone find it empty.
    std::shared_ptr<ReminderNotices*> m_self;
};
