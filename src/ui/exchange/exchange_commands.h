// The price exchange entries of the menu "Datenaus&tausch": the single-security
// export and import window (TKursExport), the intraday bar export of the selected
// security, and the two text exports of all prices. Each asks its dates and file
// and calls the core function of src/exchange.
#pragma once

#include "exchange/intraday_export.h"
#include "exchange/price_text_export.h"

#include <QObject>

class QAction;

namespace q::ui {

class TAktienkurse;

class ExchangeCommands final : public QObject {
    Q_OBJECT
public:
    explicit ExchangeCommands(TAktienkurse& window);

    QAction* exportEinzelkurs() const { return m_export; }
    QAction* importEinzelkurs() const { return m_import; }
    QAction* intradayExport() const { return m_intraday; }
    QAction* kurseText() const { return m_text; }
    QAction* erweiterteText() const { return m_extended; }

    void Export1Click();
    void Export2Click();
    void TextexportIntradayOpenHighLowClose1Click();
    void Auslagern1Click();
    void AuslagernWKNClick();

    // The work once dates, file and options are chosen: the result in the status
    // bar, a failure's message shown; returns it.
    Result<IntradayExportReport> intradayTo(const QString& file, IntradayExportOptions options);
    Result<PriceTextReport> priceTextTo(const QString& file, const PriceTextOptions& options);

private:
    void priceText(bool extended);
    int decimals() const;

    TAktienkurse& m_window;
    QAction* m_export;
    QAction* m_import;
    QAction* m_intraday;
    QAction* m_text;
    QAction* m_extended;
};

}  // namespace q::ui
