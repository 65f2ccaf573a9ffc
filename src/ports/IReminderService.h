#pragma once

#include "ports/ReminderRequest.h"

// The clock's service on the desktop session's bus: other programs (and scripts) add, list and
// cancel reminders and show the panel. Every call is handed to one handler, which decides what
// is valid; the service only carries requests and replies.
class IReminderService {
public:
    virtual ~IReminderService() = default;
    // Answers every call through `handler` from now on. False when there is no session bus or
    // another program owns the service's name: the clock then runs without it, as before.
    virtual bool publish(ReminderRequestHandler handler) = 0;
    // Stops answering and gives the name up, for the end of the run: a call that comes while
    // the clock ends must not bring a window back.
    virtual void withdraw() = 0;
};
