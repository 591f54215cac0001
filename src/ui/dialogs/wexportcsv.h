// The column window of a web export: lists the header fields and lets the user
// set which columns hold the date, the price and the volume, and beside them the
// security's name, WKN, ISIN and ticker, before the import.
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

    // The positions chosen; -1 for "(keine)" (volume and the security's columns).
    HistoryColumns columns() const;

private:
    QComboBox* m_datum;
    QComboBox* m_kurs;
    QComboBox* m_volumen;
    QComboBox* m_name;
    QComboBox* m_wkn;
    QComboBox* m_isin;
    QComboBox* m_ticker;
};

}  // namespace q::ui
