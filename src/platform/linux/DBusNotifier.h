#pragma once

#include "ports/INotifier.h"

#include <QList>
#include <QObject>

class QDBusMessage;

// Desktop notifications through the notification server on the session bus. Every call is
// asynchronous: a missing bus or server, or one that does not answer, never holds up the
// program, and is no error, only a notice not shown.
class DBusNotifier : public QObject, public INotifier {
    Q_OBJECT
public:
    static constexpr int DefaultAnswerLimitMs = 10000;

    explicit DBusNotifier(int answerLimitMs = DefaultAnswerLimitMs, QObject* parent = nullptr);

    void notify(const QString& title, const QString& text, quint32 replaces, Shown shown) override;
    void close(quint32 id) override;
    void setEvents(Events events) override;

private slots:
    void actionInvoked(uint id, const QString& action);
    void notificationClosed(uint id, uint reason);

private:
    enum class Bus { Unknown, Connecting, Up, Down };
    // Runs `then` once it is known whether there is a session bus; connects on first use.
    void withBus(std::function<void(bool up)> then);
    void busFound(bool up);
    void send(const QString& title, const QString& text, quint32 replaces, const Shown& shown);
    // `actions`: the server offers them, so the notice carries Snooze and opens the pop-up.
    void post(const QString& title, const QString& body, quint32 replaces, bool actions,
              const Shown& shown);
    static QDBusMessage call(const QString& method);

    int m_answerLimitMs;
    Bus m_bus = Bus::Unknown;
    QList<std::function<void(bool up)>> m_waiting;
    Events m_events;
};
