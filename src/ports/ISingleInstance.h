#pragma once

#include "ports/ReminderRequest.h"

#include <QList>
#include <QString>
#include <functional>

// One copy of the program per user, whatever display it was started on: two copies would both
// scan and write the one schedule and settings.
class ISingleInstance {
public:
    enum class Outcome {
        Claimed,      // this process is now the one copy
        Shown,        // a copy runs on this display and was asked to show its panel
        OtherDisplay, // a copy runs for this user on another display, named in `display`
        Unreachable,  // a copy holds the lock but did not take the request
        NoSafePlace,  // no folder only this user controls, so no copy can be kept out
        Delivered,    // a copy, on any display, took a request and answered it
        Unanswered,   // a copy was sent the request but did not answer: it may have been done
        Busy,         // other commands held the lock all along; nothing was asked of anyone
    };
    struct Claim {
        Outcome outcome;
        QString display;
        // True when this process is the one copy and should run.
        explicit operator bool() const { return outcome == Outcome::Claimed; }
    };

    virtual ~ISingleInstance() = default;
    // Tries to become the one copy; any outcome but Claimed means this process should leave.
    virtual Claim claim() = 0;
    // Called from the event loop each time a later start asks this copy to show itself.
    // Requests made before this is set are delivered once it is.
    virtual void setShowRequestHandler(std::function<void()> handler) = 0;

    // Requests that arrived together, answered in order with one reply each. Called from the
    // event loop; requests made before this is set wait for it.
    using RequestBatchHandler = std::function<QList<ReminderReply>(const QList<ReminderRequest>&)>;
    virtual void setRequestHandler(RequestBatchHandler handler) = 0;
    // Hands `request` to the running copy, whatever its display: Delivered with its `reply`.
    // Claimed when no copy runs: this process then holds the lock, so no copy starts until it
    // ends, but it takes no requests itself. Only Delivered and Unanswered mean the request
    // reached a copy; a copy drops a request whose caller has gone before it is carried out.
    virtual Claim deliver(const ReminderRequest& request, ReminderReply& reply) = 0;
};
