#pragma once

#include <functional>

// One copy of the program per user and display.
class ISingleInstance {
public:
    virtual ~ISingleInstance() = default;
    // True when this process is now the one copy. False when another copy already runs: it
    // has been asked to show its panel (or was too busy to take the request) and this
    // process should leave.
    virtual bool claim() = 0;
    // Called from the event loop each time a later start asks this copy to show itself.
    // Requests made before this is set are delivered once it is.
    virtual void setShowRequestHandler(std::function<void()> handler) = 0;
};
