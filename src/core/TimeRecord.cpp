#include "core/TimeRecord.h"

#include <QDate>

bool SystemTimeRecord::isValid() const
{
    // QDate knows no year 0 and checks the month's length, leap years included.
    return QDate::isValid(wYear, wMonth, wDay) && wHour < 24 && wMinute < 60 && wSecond < 60 &&
           wMilliseconds < 1000;
}
