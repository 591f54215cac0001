// The column window of a web export: lists the header fields and lets the user
// set which columns hold the date, the price and the volume before the import.
#pragma once

#include "exchange/history_import.h"

#include <QDialog>

class QComboBox;

namespace q::ui {

class TWExportcsv final : public QDialog {
    Q_OBJECT
public:
    // `header`: the file's header fields; `preset`: the positions the program found.
    TWExportcsv(const QStringList& header, const HistoryColumns& preset, QWidget* parent = nullptr);

    // The positions chosen; volume -1 for "(keine)".
    HistoryColumns columns() const;

private:
    QComboBox* m_datum;
    QComboBox* m_kurs;
    QComboBox* m_volumen;
};

}  // namespace q::ui
