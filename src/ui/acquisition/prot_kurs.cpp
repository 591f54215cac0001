#include "ui/acquisition/prot_kurs.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace q::ui {

namespace {

QListWidget* list(QWidget* parent) {
    auto* l = new QListWidget(parent);
    l->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Tab-separated protocol lines read as columns.
    l->setFont(QFont(QStringLiteral("DejaVu Sans Mono")));
    return l;
}

std::vector<ProtocolEntry> selected(const QListWidget* view, const std::vector<ProtocolEntry>& entries) {
    std::vector<ProtocolEntry> out;
    for (int i = 0; i < view->count() && i < int(entries.size()); ++i)
        if (view->item(i)->isSelected()) out.push_back(entries[size_t(i)]);
    return out;
}

}  // namespace

TProtKurs::TProtKurs(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("TProtKurs"));
    setWindowTitle(QStringLiteral("Protokoll der nicht aufgenommenen Kurs"));
    setModal(false);
    auto* top = new QGroupBox(QStringLiteral("Noch nicht aufgenommene Wertpapiere und Kurse  "), this);
    m_unmatched = list(top);
    m_aufnehmen = new QPushButton(QStringLiteral("Aufnehmen"), top);
    m_aufnehmen->setToolTip(QStringLiteral("Die markierten Wertpapiere werden neu aufgenommen und im Wertpapier-Editor angezeigt"));
    auto* topLayout = new QVBoxLayout(top);
    topLayout->addWidget(m_unmatched);
    topLayout->addWidget(m_aufnehmen, 0, Qt::AlignRight);

    auto* bottom = new QGroupBox(QStringLiteral("Diese Kurse weichen zu extrem vom Vortag ab!   "), this);
    m_implausible = list(bottom);
    m_splitten = new QPushButton(QStringLiteral("Splitten"), bottom);
    m_splitten->setToolTip(QStringLiteral("Die markierten Kurse werden erneut eingelesen"));
    auto* bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->addWidget(m_implausible);
    bottomLayout->addWidget(m_splitten, 0, Qt::AlignRight);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(top);
    layout->addWidget(bottom);
    resize(640, 480);

    connect(m_aufnehmen, &QPushButton::clicked, this, [this] { Q_EMIT aufnehmen(selectedUnmatched()); });
    connect(m_splitten, &QPushButton::clicked, this, [this] { Q_EMIT splitten(selectedImplausible()); });
}

void TProtKurs::setLists(const ProtocolLists& lists) {
    m_lists = lists;
    m_unmatched->clear();
    m_unmatched->addItems(lists.unmatchedLines());
    m_implausible->clear();
    m_implausible->addItems(lists.implausibleLines());
    m_aufnehmen->setEnabled(!lists.unmatched.empty());
    m_splitten->setEnabled(!lists.implausible.empty());
}

std::vector<ProtocolEntry> TProtKurs::selectedUnmatched() const { return selected(m_unmatched, m_lists.unmatched); }
std::vector<ProtocolEntry> TProtKurs::selectedImplausible() const { return selected(m_implausible, m_lists.implausible); }

}  // namespace q::ui
