#pragma once

#include <QString>

class IUserInfo {
public:
    virtual ~IUserInfo() = default;
    // The user's full name, or the login name when there is none; may be empty.
    virtual QString userName() const = 0;
};
