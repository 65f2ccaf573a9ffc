#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// The cell texts of the scheduler list: "Time", "Date", "Type", "Detail".
namespace GridTexts {

QStringList headers();
// "09:05", straight from the line's first four characters.
QString timeText(const QString& line);
// The day number as "ddMMMyy" with the locale's abbreviated month, e.g. 01Jan00.
QString dateText(const QString& line, const QLocale& locale);
// "One-shot", "Daily", "Weekly", "Each " + abbreviated weekday; "Unknown" for other codes.
QString typeText(int code, const QLocale& locale);
// The detail with its "Reminder:" or "Run:" prefix in the user's language; the file keeps the
// English one, which is part of its format. Any other detail is shown as it stands.
QString detailText(const QString& line);
// One row of the grid.
QStringList rowTexts(const QString& line, const QLocale& locale);

} // namespace GridTexts
