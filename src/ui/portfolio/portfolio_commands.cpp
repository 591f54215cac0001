#include "ui/portfolio/portfolio_commands.h"

#include "app/portfolio_binding.h"
#include "base/clock.h"
#include "base/formats.h"
#include "portfolio/bookings.h"
#include "portfolio/cash.h"
#include "portfolio/income.h"
#include "ui/dialogs/wertwahl_form.h"
#include "ui/main_window.h"
#include "ui/portfolio/aktiensplit.h"
#include "ui/portfolio/assistent.h"
#include "ui/portfolio/bookings_page.h"
#include "ui/portfolio/dividende.h"
#include "ui/portfolio/holdings_page.h"
#include "ui/portfolio/sold_page.h"
#include "ui/portfolio/laendereinstellung.h"
#include "ui/portfolio/lots_page.h"
#include "ui/portfolio/waehrungen.h"
#include "ui/securities_model.h"

#include <QAction>
#include <QCheckBox>
#include <QInputDialog>
#include <QTabWidget>
#include <cmath>

namespace q::ui {

namespace {

// An input box with a preset answer; nullopt on cancel.
std::optional<QString> askText(QWidget* parent, const QString& title, const QString& prompt, const QString& preset) {
    QInputDialog box(parent);
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(preset);
    box.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return box.textValue();
}

// A number asked with askText(); nullopt on cancel, and after telling `error` when
// the answer is no number.
std::optional<double> askNumber(QWidget* parent, Interaction& ui, const QString& title, const QString& prompt, double preset,
                                const QString& error) {
    const auto text = askText(parent, title, prompt, formatGeneral(preset));
    if (!text) return std::nullopt;
    const auto n = parseNumber(*text);
    if (!n) ui.tell(error);
    return n;
}

}  // namespace

PortfolioCommands::PortfolioCommands(TAktienkurse& window) : QObject(&window), m_window(window) {
    m_anlagen = new QAction(QStringLiteral("&Anlagen-Übersicht"), &window);
    m_buchungen = new QAction(QStringLiteral("&Depot-Buchungen"), &window);
    m_aktiensplit = new QAction(QStringLiteral("&Aktiensplit"), &window);
    m_bargeld = new QAction(QStringLiteral("&Bargeldbestand berechnen"), &window);
    m_waehrungen = new QAction(QStringLiteral("&Währungen"), &window);
    m_laender = new QAction(QStringLiteral("&Ländereinstellung"), &window);
    connect(m_anlagen, &QAction::triggered, this, &PortfolioCommands::AnlagenUebersicht);
    connect(m_buchungen, &QAction::triggered, this, &PortfolioCommands::DepotBuchungen);
    connect(m_aktiensplit, &QAction::triggered, this, &PortfolioCommands::Aktiensplit);
    connect(m_bargeld, &QAction::triggered, this, &PortfolioCommands::Bargeldbestand);
    connect(m_waehrungen, &QAction::triggered, this, &PortfolioCommands::Waehrungen);
    connect(m_laender, &QAction::triggered, this, &PortfolioCommands::Laendereinstellung);
}

void PortfolioCommands::AnlagenUebersicht() { m_window.pages()->setCurrentWidget(m_window.holdingsPage()); }
void PortfolioCommands::DepotBuchungen() { m_window.pages()->setCurrentWidget(m_window.bookingsPage()); }

void PortfolioCommands::booked(const QString& status) {
    m_window.showStatus(status);
    m_window.lotsPage()->showSecurity(m_window.currentFirma());
    m_window.bookingsPage()->reload();
}

int PortfolioCommands::assistant(bool purchase) {
    const int firma = m_window.currentFirma();
    const Lot* selected = m_window.lotsPage()->selectedLot();
    if (firma <= 0 || (!purchase && (!selected || selected->isSold()))) return 0;
    const std::optional<PricePoint> price = m_window.selectedPrice();
    Session& s = m_window.session();
    const PortfolioSettings settings = portfolioSettings(s);
    TAssistent dialog(purchase ? Trade::Purchase : Trade::Sale, &m_window);
    dialog.setValues(price ? price->datum : today(), purchase ? 1.0 : selected->Anteile, price ? price->kurs : 1.0, settings.fees,
                     settings.wechselkurs, settings.secondSymbol);
    if (dialog.exec() != QDialog::Accepted) return 0;
    if (Status f = storeFeeRates(s, dialog.fees()); !f) m_window.showStatus(f.message());
    if (purchase) {
        auto lot = buy(s.store, {firma, dialog.datum(), dialog.anteile(), dialog.preis(), QString()});
        if (!lot) {
            m_window.interaction().tell(lot.status().message());
            return 0;
        }
    } else {
        auto sold = sell(s.store, {firma, dialog.anteile(), dialog.datum(), dialog.preis(), selected->id, true});
        if (!sold) {
            m_window.interaction().tell(sold.status().message());
            return 0;
        }
        if (!sold->warning.isEmpty()) m_window.interaction().tell(sold->warning);
        // No lot was held on the sale date: the message said so, nothing is booked.
        if (sold->plan.changes.empty()) return 0;
    }
    booked(purchase ? QStringLiteral("Kauf gebucht") : QStringLiteral("Verkauf gebucht"));
    return 1;
}

int PortfolioCommands::Ankaufsassistent() { return assistant(true); }
int PortfolioCommands::Verkaufsassistent() { return assistant(false); }

int PortfolioCommands::AnkaufKurz() {
    const int firma = m_window.currentFirma();
    if (firma <= 0) return 0;
    const std::optional<PricePoint> price = m_window.selectedPrice();
    const double kurs = price ? price->kurs : 0.0;
    double n = kurs > 0 ? std::round(5000.0 / kurs / 10.0) * 10.0 : 100.0;
    Interaction& ui = m_window.interaction();
    const auto total = askNumber(&m_window, ui, QStringLiteral("Kosten"), QStringLiteral("Welche Gesamtkosten sind entstanden?"), kurs * n,
                                 QStringLiteral("Fehler in Kosteneingabe"));
    if (!total) return 0;
    // Without a price the suggestion stays; a total ÷ 0 would be no count.
    if (*total > 0 && kurs > 0) n = *total / kurs;
    const auto shares = askNumber(&m_window, ui, QStringLiteral("Anteile"), QStringLiteral("Wieviele Anteile haben Sie gekauft"), n,
                                  QStringLiteral("Fehler bei Anzahl"));
    if (!shares) return 0;
    const double preis = *shares != 0 ? *total / *shares : 0.0;
    auto lot = buy(m_window.session().store, {firma, price ? price->datum : today(), *shares, preis, QString()});
    if (!lot) {
        m_window.interaction().tell(lot.status().message());
        return 0;
    }
    booked(QStringLiteral("Kauf gebucht"));
    return 1;
}

int PortfolioCommands::VerkaufKurz() {
    const int firma = m_window.currentFirma();
    const Lot* selected = m_window.lotsPage()->selectedLot();
    if (firma <= 0 || !selected || selected->isSold()) return 0;
    const Lot lot = *selected;
    const std::optional<PricePoint> price = m_window.selectedPrice();
    Interaction& ui = m_window.interaction();
    const auto shares = askNumber(&m_window, ui, QStringLiteral("Anteile"), QStringLiteral("Wieviele Anteile haben Sie verkauft"),
                                  lot.Anteile, QStringLiteral("Fehler bei Anzahl"));
    if (!shares) return 0;
    const auto proceeds = askNumber(&m_window, ui, QStringLiteral("Erlös"), QStringLiteral("Welchen Erlös konnten einnehmen?"),
                                    (price ? price->kurs : 0.0) * *shares, QStringLiteral("Fehler in Erlöseingabe"));
    if (!proceeds) return 0;
    const double preis = *shares != 0 ? *proceeds / *shares : 0.0;
    auto sold = sell(m_window.session().store, {firma, *shares, price ? price->datum : today(), preis, lot.id, false});
    if (!sold) {
        m_window.interaction().tell(sold.status().message());
        return 0;
    }
    if (!sold->warning.isEmpty()) m_window.interaction().tell(sold->warning);
    if (sold->plan.changes.empty()) return 0;
    booked(QStringLiteral("Verkauf gebucht"));
    return 1;
}

int PortfolioCommands::Uebertragen() {
    const int from = m_window.currentFirma();
    if (from <= 0) return 0;
    Interaction& ui = m_window.interaction();
    if (ui.ask(QStringLiteral("Jetzt übertragen?"), QStringLiteral("Sollen alle Depoteintrage übertragen werden?"), Answer::No) != Answer::Yes)
        return 0;
    const bool favourites = ui.ask(QStringLiteral("Nur Favoriten?"), QStringLiteral("Nur aus Favoriten wählen?")) == Answer::Yes;
    SecuritiesModel list;
    if (Status loaded = list.load(m_window.session().store, favourites); !loaded) {
        ui.tell(loaded.message());
        return 0;
    }
    QStringList names;
    for (const SecuritiesModel::Row& r : list.rows()) names << r.FirmenName;
    TWertWahlForm choice(&m_window);
    choice.setItems(names);
    if (choice.exec() != QDialog::Accepted || choice.itemIndex() < 0) return 0;
    auto moved = moveLots(m_window.session().store, from, list.firmaAt(choice.itemIndex()));
    if (!moved) {
        ui.tell(moved.status().message());
        return 0;
    }
    booked(QStringLiteral("Übertragen: %1 Posten").arg(*moved));
    return 1;
}

int PortfolioCommands::income(bool reinvest) {
    const int firma = m_window.currentFirma();
    if (firma <= 0) return 0;
    Session& s = m_window.session();
    const QString name = m_window.currentFirmenName();
    const std::optional<PricePoint> price = m_window.selectedPrice();
    auto lots = s.store.table(kLots);
    const auto held = lots ? lotsOf(**lots, firma) : Result<std::vector<Lot>>(lots.status());
    const double shares = held ? heldShares(*held, firma, today()) : 0.0;
    double dividende = 0;
    if (!reinvest) {
        auto master = s.store.table(QStringLiteral("Firma.db"));
        auto record = master ? (*master)->findKey({firma}) : Result<std::optional<Record>>(master.status());
        if (record && record->has_value()) dividende = (*record)->value(QStringLiteral("Dividende")).toDouble();
    } else if (price) {
        dividende = price->kurs;
    }
    TDividende dialog(reinvest ? TDividende::Kind::Reinvestment : TDividende::Kind::Dividend, &m_window);
    dialog.setValues(shares, 0, dividende, price ? price->datum : today(),
                     (reinvest ? QStringLiteral("Ausschüttung ") : QStringLiteral("Dividende ")) + name);
    dialog.setBooking([&](const TDividende::Entry& e) -> Status {
        if (reinvest) {
            auto lot = bookReinvestment(s.store, {firma, e.betrag, e.dividende, e.datum, e.bezeichnung});
            return lot ? Status::ok() : lot.status();
        }
        auto lot = bookDividend(s.store, {firma, e.anteile, e.dividende, std::nullopt, e.datum, e.bezeichnung});
        return lot ? Status::ok() : lot.status();
    });
    if (dialog.exec() != QDialog::Accepted) return 0;
    booked(reinvest ? QStringLiteral("Wiederanlage gebucht") : QStringLiteral("Dividende gebucht"));
    return 1;
}

int PortfolioCommands::Dividende() { return income(false); }
int PortfolioCommands::Ausschuettung() { return income(true); }

int PortfolioCommands::Zahlung() {
    Session& s = m_window.session();
    TDividende dialog(TDividende::Kind::Payment, &m_window);
    dialog.setValues(1, 0, 0, today(), QStringLiteral("Zahlung"));
    dialog.setBooking([&](const TDividende::Entry& e) -> Status {
        auto lot = bookPayment(s.store, e.betrag, e.datum, e.bezeichnung);
        return lot ? Status::ok() : lot.status();
    });
    if (dialog.exec() != QDialog::Accepted) return 0;
    booked(QStringLiteral("Zahlung gebucht"));
    return 1;
}

bool PortfolioCommands::offerSplit(int firma, const QString& caption, double lastPrice, int ratio) {
    TAktiensplit dialog(m_window.session().store, firma, QString(), &m_window);
    dialog.setWindowTitle(caption);
    auto aktien = m_window.session().store.table(QStringLiteral("Aktien.db"));
    Query newest = Query::detailOf(firma);
    newest.reverse = true;
    auto last = aktien ? (*aktien)->first(newest) : Result<std::optional<Record>>(aktien.status());
    const QDate day = last && last->has_value() ? dateFromDayNumber((*last)->value(QStringLiteral("Datum")).toDouble()) : today();
    dialog.setSelectedPrice(lastPrice, day);
    dialog.setRatio(ratio);
    return dialog.exec() == QDialog::Accepted;
}

int PortfolioCommands::Aktiensplit() {
    const int firma = m_window.currentFirma();
    if (firma <= 0) return 0;
    TAktiensplit dialog(m_window.session().store, firma, m_window.currentFirmenName(), &m_window);
    const std::optional<PricePoint> price = m_window.selectedPrice();
    dialog.setSelectedPrice(price ? price->kurs : 0.0, price ? price->datum : today());
    const int result = dialog.exec();
    if (result == QDialog::Accepted) {
        m_window.reopenViews();
        booked(QStringLiteral("Aktiensplit: %1 Kurse, %2 Posten geändert").arg(dialog.result()->prices).arg(dialog.result()->lots));
    }
    return result;
}

int PortfolioCommands::Bargeldbestand() {
    Session& s = m_window.session();
    auto r = rebuildCash(s.store, m_window.interaction(), portfolioSettings(s).homeSymbol);
    if (!r) {
        if (r.status().category() != Category::Cancelled) m_window.interaction().tell(r.status().message());
        return 0;
    }
    m_window.reopenViews();
    m_window.selectFirma(r->cash);
    booked(QStringLiteral("Bargeldbestand: %1").arg(formatMoney(r->balance, portfolioSettings(s).decimals, portfolioSettings(s).homeSymbol)));
    return 1;
}

int PortfolioCommands::Waehrungen() {
    TWaehrungen dialog(m_window.session().store, &m_window);
    if (Status filled = dialog.fill(); !filled) {
        m_window.interaction().tell(filled.message());
        return 0;
    }
    return dialog.exec();
}

int PortfolioCommands::Laendereinstellung() {
    TLaendereinstellung dialog(m_window.session(), &m_window);
    const int result = dialog.exec();
    if (result == QDialog::Accepted) {
        const QString second = portfolioSettings(m_window.session()).secondSymbol;
        m_window.holdingsPage()->setSecondCurrency(second);
        m_window.soldPage()->setSecondCurrency(second);
    }
    return result;
}

}  // namespace q::ui
