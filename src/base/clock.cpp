#include "base/clock.h"

namespace q {

namespace {
QDate g_today;
}

QDate today() { return g_today.isValid() ? g_today : QDate::currentDate(); }

QDateTime now() {
    QDateTime t = QDateTime::currentDateTime();
    if (g_today.isValid()) t.setDate(g_today);
    return t;
}

void setToday(const QDate& day) { g_today = day; }

}  // namespace q
