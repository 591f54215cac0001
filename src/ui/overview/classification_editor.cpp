#include "ui/overview/classification_editor.h"

#include "ui/main_window.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace q::ui {

TGruppenEdit::TGruppenEdit(TAktienkurse& window, Classification kind, QWidget* parent)
    : QDialog(parent ? parent : &window), m_window(window), m_kind(kind) {
    setWindowTitle(QStringLiteral("Bearbeitung der Gruppen "));
    m_list = new QListWidget(this);
    m_name = new QLineEdit(this);
    auto* label = new QLabel(QStringLiteral("Gruppenname bearbeiten"), this);
    label->setBuddy(m_name);
    auto* neu = new QPushButton(QStringLiteral("Neu"), this);
    auto* rename = new QPushButton(QStringLiteral("Umbenennen"), this);
    auto* remove = new QPushButton(QStringLiteral("Löschen"), this);
    auto* up = new QPushButton(QStringLiteral("▲"), this);
    up->setToolTip(QStringLiteral("Eintrag nach oben"));
    auto* down = new QPushButton(QStringLiteral("▼"), this);
    down->setToolTip(QStringLiteral("Eintrag nach unten"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);

    auto* row = new QHBoxLayout;
    for (QPushButton* b : {neu, rename, remove, up, down}) row->addWidget(b);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(label);
    layout->addWidget(m_name);
    layout->addLayout(row);
    layout->addWidget(buttons);

    connect(m_list, &QListWidget::currentRowChanged, this, [this](int r) {
        if (r >= 0) m_name->setText(m_list->item(r)->data(Qt::UserRole + 1).toString());
    });
    connect(neu, &QPushButton::clicked, this, &TGruppenEdit::Neu);
    connect(rename, &QPushButton::clicked, this, &TGruppenEdit::Umbenennen);
    connect(remove, &QPushButton::clicked, this, &TGruppenEdit::Loeschen);
    connect(up, &QPushButton::clicked, this, [this] { Verschieben(true); });
    connect(down, &QPushButton::clicked, this, [this] { Verschieben(false); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);
    reload(0);
    resize(360, 420);
}

bool TGruppenEdit::report(const Status& status) {
    if (status) return true;
    if (status.category() != Category::Cancelled) m_window.interaction().tell(status.message());
    return false;
}

void TGruppenEdit::reload(int select) {
    auto entries = readClassification(m_window.session().store, m_kind);
    m_list->clear();
    if (!report(entries.status())) return;
    for (const ClassEntry& e : *entries) {
        auto* item = new QListWidgetItem(QStringLiteral("%1  %2").arg(e.GruppenIndex).arg(e.GruppenName), m_list);
        item->setData(Qt::UserRole, e.GruppenIndex);
        item->setData(Qt::UserRole + 1, e.GruppenName);
    }
    m_list->setCurrentRow(std::clamp(select, 0, m_list->count() - 1));
}

void TGruppenEdit::Neu() {
    auto added = addClassification(m_window.session().store, m_kind, m_name->text());
    if (report(added.status())) reload(m_list->count());
}

void TGruppenEdit::Umbenennen() {
    const int r = m_list->currentRow();
    if (report(renameClassification(m_window.session().store, m_kind, r, m_name->text()))) reload(r);
}

void TGruppenEdit::Loeschen() {
    const int r = m_list->currentRow();
    auto deleted = deleteClassification(m_window.session().store, m_kind, r, m_window.interaction());
    if (report(deleted.status())) reload(r);
}

void TGruppenEdit::Verschieben(bool up) {
    auto place = moveClassification(m_window.session().store, m_kind, m_list->currentRow(), up);
    if (report(place.status())) reload(*place);
}

}  // namespace q::ui
