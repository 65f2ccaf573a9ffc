#pragma once

#include <QString>

#include <functional>

// The desktop's notifications: a notice kept in the desktop's history, with Snooze and Dismiss
// actions, and opening the reminder as its default action, where the desktop offers actions.
class INotifier {
public:
    enum class Event { Dismissed, Closed, Snoozed, Opened };
    using Shown = std::function<void(quint32 id)>;
    using Events = std::function<void(quint32 id, Event event)>;

    virtual ~INotifier() = default;
    // Shows a notice in place of notice `replaces` (0: none) and returns at once. `shown` is
    // called later, on this thread, with the notice's id, or with 0 when none could be shown.
    virtual void notify(const QString& title, const QString& text, quint32 replaces,
                        Shown shown) = 0;
    // Withdraws a notice.
    virtual void close(quint32 id) = 0;
    // Where an action picked by the user, and a notice the desktop closed, are told; an empty
    // function tells nobody.
    virtual void setEvents(Events events) = 0;
};
