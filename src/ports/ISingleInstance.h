#pragma once

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
};
