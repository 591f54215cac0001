// Intraday value list (TIntradayWerte): the day's intraday prices of one security
// in a grid the user edits (time, price, volume; rows added and deleted). The caller
// binds it to the store and the security, moves it to the last value and shows it
// modally. Confirming writes the list into Intraday.db in one step; a cancel writes
// nothing.
#pragma once

#include "app/intraday_values.h"

#include <QDialog>

class QTableWidget;

namespace q::ui {

class TIntradayWerte final : public QDialog {
    Q_OBJECT
public:
    explicit TIntradayWerte(QWidget* owner);

    // Reads the security's intraday prices; the store must outlive the dialog.
    // Fails with the store's message (the table is missing).
    Status bind(Store& store, int firma, const QString& firmenName);
    // Makes the last value the current row.
    void moveToLast();
    int currentRow() const;
    QTableWidget* grid() const { return m_grid; }

    // Appends an empty row preset to the current time and makes it current.
    void addRow();
    void removeCurrentRow();

public Q_SLOTS:
    void accept() override;

private:
    void setRow(int row, const IntradayValue& v);
    Result<std::vector<IntradayValue>> edited() const;

    Store* m_store = nullptr;
    int m_firma = 0;
    QTableWidget* m_grid;
};

}  // namespace q::ui
