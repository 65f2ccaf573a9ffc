#pragma once

#include "ports/IUserInfo.h"

// The full name from the password database (up to the first comma), else the login name.
class PasswdUserInfo : public IUserInfo {
public:
    QString userName() const override;
};
