#pragma once

#include <QString>

#include <stdexcept>

// A socket failure. what() is the message text in UTF-8.
class ESockError : public std::runtime_error {
public:
    explicit ESockError(const QString& message);
    QString message() const;
};
