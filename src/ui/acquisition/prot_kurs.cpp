#include "ui/acquisition/prot_kurs.h"

#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace q::ui {

namespace {

// One list under its caption, with its button below.
QGroupBox* section(QWidget* parent, const QString& caption, const QString& buttonText, const QString& tip, QListWidget** list,
                   QPushButton** button) {
    auto* box = new QGroupBox(caption, parent);
    *list = new QListWidget(box);
    (*list)->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Tab-separated protocol lines read as columns.
    (*list)->setFont(QFont(QStringLiteral("DejaVu Sans Mono")));
    *button = new QPushButton(buttonText, box);
    (*button)->setToolTip(tip);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(*list);
    layout->addWidget(*button, 0, Qt::AlignRight);
    return box;
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
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(section(this, QStringLiteral("Noch nicht aufgenommene Wertpapiere und Kurse  "), QStringLiteral("Aufnehmen"),
                              QStringLiteral("Die markierten Wertpapiere werden neu aufgenommen und im Wertpapier-Editor angezeigt"),
                              &m_unmatched, &m_aufnehmen));
    layout->addWidget(section(this, QStringLiteral("Diese Kurse weichen zu extrem vom Vortag ab!   "), QStringLiteral("Splitten"),
                              QStringLiteral("Die markierten Kurse werden erneut eingelesen"), &m_implausible, &m_splitten));
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
