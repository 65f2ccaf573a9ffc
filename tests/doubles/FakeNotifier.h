#pragma once

#include "ports/INotifier.h"

#include <QStringList>

// Records notices as "notify REPLACES TEXT" and "close ID"; the test answers for the server,
// oldest notice first, with its id or 0 for none shown.
class FakeNotifier : public INotifier {
public:
    void notify(const QString&, const QString& text, quint32 replaces, Shown shown) override
    {
        calls << QString("notify %1 %2").arg(replaces).arg(text);
        unanswered << shown;
    }
    void close(quint32 id) override { calls << QString("close %1").arg(id); }
    void setEvents(Events e) override { events = e; }
    void answer(quint32 id) { unanswered.takeFirst()(id); }
    QStringList calls;
    QList<Shown> unanswered;
    Events events;
};
