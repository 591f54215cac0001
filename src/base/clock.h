// The program's one clock. Every rule that says "today" asks here, so that tests
// and scripts (quintara-cli --today) can set the day. Not thread-safe to set.
#pragma once

#include <QDate>
#include <QDateTime>

namespace q {

// The system date, or the day set by setToday().
QDate today();
// The system time; its date is today() when a day was set.
QDateTime now();
// Sets the program's today; an invalid date returns to the system date.
void setToday(const QDate& day);

}  // namespace q
