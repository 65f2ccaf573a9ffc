#pragma once

#include "ports/IReminderService.h"

#include <QDBusContext>
#include <QObject>
#include <QStringList>

// The clock's service on the session bus: name org.horolux.Horolux, object /Horolux. Its
// methods are the exported slots below; packaging/org.horolux.Horolux.xml describes them to
// other programs and must say the same (a test compares the two).
class DBusReminderService : public QObject, public IReminderService, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.horolux.Horolux")
public:
    static constexpr int DefaultAnswerLimitMs = 3000;
    static inline const QString Name = QStringLiteral("org.horolux.Horolux");
    static inline const QString Path = QStringLiteral("/Horolux");

    explicit DBusReminderService(int answerLimitMs = DefaultAnswerLimitMs,
                                 QObject* parent = nullptr);
    ~DBusReminderService() override;

    bool publish(ReminderRequestHandler handler) override;
    void withdraw() override;

public slots:
    // The replies come in the reference arguments, so that the interface names them.
    Q_SCRIPTABLE void AddReminder(const QString& time, const QString& text, QStringList& lines);
    Q_SCRIPTABLE void List(QStringList& lines);
    Q_SCRIPTABLE void Cancel(const QString& id, QStringList& lines);
    Q_SCRIPTABLE void Snooze(const QString& id, uint minutes, QStringList& lines);
    Q_SCRIPTABLE void Show();

private:
    QStringList answer(const ReminderRequest& request);

    int m_answerLimitMs;
    ReminderRequestHandler m_handler;
    bool m_published = false;
};
