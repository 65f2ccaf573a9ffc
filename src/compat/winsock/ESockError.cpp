#include "compat/winsock/ESockError.h"

ESockError::ESockError(const QString& message) : std::runtime_error(message.toStdString()) {}

QString ESockError::message() const
{
    return QString::fromStdString(what());
}
