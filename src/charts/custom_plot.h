// QCustomPlot for the window's charts. Its header uses Qt's keywords (signals,
// slots, emit, foreach), which this project switches off (QT_NO_KEYWORDS); they
// stand for the macros while the header is read, and only then.
#pragma once

#define signals Q_SIGNALS
#define slots Q_SLOTS
#define emit Q_EMIT
#define foreach Q_FOREACH
#include <qcustomplot.h>
#undef signals
#undef slots
#undef emit
#undef foreach
