#include "ui/overview/security_search_bar.h"

#include "ui/main_window.h"
#include "ui/securities_model.h"

#include <QHBoxLayout>
#include <QToolButton>

namespace q::ui {

SecuritySearchBar::SecuritySearchBar(TAktienkurse& window, QWidget* parent) : QWidget(parent), m_window(window) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    struct Button {
        const char* text;
        const char* hint;
        SearchKind kind;
    };
    for (const Button& b : {Button{"Name…", "suche nach einem Kursname oder Tickersymbol", SearchKind::Name},
                            Button{"WKN…", "suche nach WKN oder ISIN", SearchKind::Number}}) {
        auto* button = new QToolButton(this);
        button->setText(QString::fromUtf8(b.text));
        button->setToolTip(QString::fromUtf8(b.hint));
        button->setObjectName(b.kind == SearchKind::Name ? QStringLiteral("searchName") : QStringLiteral("searchNumber"));
        connect(button, &QToolButton::clicked, this, [this, kind = b.kind] { search(kind); });
        layout->addWidget(button);
    }
    layout->addStretch();
}

void SecuritySearchBar::search(SearchKind kind) {
    Interaction& ui = m_window.interaction();
    const auto answer = ui.input(QStringLiteral("Kurssuche"), kind == SearchKind::Name
                                                                  ? QStringLiteral("Geben Sie einen Teil der Aktienbezeichnung ein")
                                                                  : QStringLiteral("Geben Sie einen Teil der WKN oder ISIN ein"));
    if (!answer || answer->trimmed().isEmpty()) return;
    QString& text = m_texts[static_cast<int>(kind)];
    text = answer->toUpper();

    std::vector<int> order;
    for (const SecuritiesModel::Row& row : m_window.securitiesModel()->rows()) order.push_back(row.Firma);
    if (order.empty()) return;
    auto rows = searchFieldsOf(m_window.session().store, order);
    if (!rows) return ui.tell(rows.status().message());
    const int current = m_window.securitiesModel()->rowOf(m_window.currentFirma());
    int hit = nextMatch(*rows, current + 1, text, kind);
    if (hit < 0) {
        const bool again = ui.ask(QStringLiteral("Konnte Kurs nicht finden"),
                                  QStringLiteral("Konnte Kurs nicht finden! Vom Anfang beginnen?")) == Answer::Yes;
        hit = again ? nextMatch(*rows, 0, text, kind) : -1;
        if (hit < 0) hit = static_cast<int>(order.size()) - 1;  // the walk ends on the last record
    }
    m_window.selectFirma(order[size_t(hit)]);
}

}  // namespace q::ui
