#include "ui/news/news_window.h"

#include "base/clock.h"
#include "base/formats.h"
#include "base/text_files.h"
#include "ui/main_window.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTableWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace q::ui {

namespace {

// Shows local item files only: anything a page refers to (images, style sheets,
// addresses on the network) stays unloaded.
class LocalBrowser final : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

}  // namespace

TNachrichten::TNachrichten(TAktienkurse& window, const NewsFilter& filter, QWidget* parent)
    : QDialog(parent ? parent : &window), m_window(window), m_filter(filter) {
    setWindowTitle(QStringLiteral("Nachrichtenübersicht"));
    m_list = new QTableWidget(0, 3, this);
    m_list->setHorizontalHeaderLabels({QStringLiteral("Zeit"), QStringLiteral("Nachricht"), QStringLiteral("Aktiv")});
    m_list->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view = new LocalBrowser(this);
    m_view->setOpenLinks(false);
    m_view->setOpenExternalLinks(false);
    m_inactive = new QCheckBox(QStringLiteral("inaktive"), this);
    m_general = new QCheckBox(QStringLiteral("News"), this);
    m_company = new QCheckBox(QStringLiteral("Unternehmens-Meldungen"), this);
    m_inactive->setChecked(filter.inactive);
    m_general->setChecked(filter.general);
    m_company->setChecked(filter.company);
    auto* neu = new QPushButton(QStringLiteral("Neu"), this);
    neu->setToolTip(QStringLiteral("Neue Überschrift"));
    auto* purge = new QPushButton(QStringLiteral("Inaktive löschen"), this);
    purge->setToolTip(QStringLiteral("Löschen aller nicht aktiven Nachrichten"));
    m_link = new QPushButton(QStringLiteral("Nachricht zuordnen"), this);
    m_unlink = new QPushButton(QStringLiteral("Zuordnung aufheben"), this);
    m_link->setVisible(filter.security != 0);
    m_unlink->setVisible(filter.security != 0);

    auto* bar = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{neu, purge, m_inactive, m_general, m_company, m_link, m_unlink})
        bar->addWidget(w);
    bar->addStretch(1);
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_list);
    split->addWidget(m_view);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(split, 1);

    for (QCheckBox* box : {m_inactive, m_general, m_company})
        connect(box, &QCheckBox::clicked, this, [this] {
            m_filter.inactive = m_inactive->isChecked();
            m_filter.general = m_general->isChecked();
            m_filter.company = m_company->isChecked();
            reload();
        });
    connect(m_list, &QTableWidget::currentCellChanged, this, [this](int row) { showItem(row); });
    connect(neu, &QPushButton::clicked, this, &TNachrichten::NeueNachricht);
    connect(purge, &QPushButton::clicked, this, &TNachrichten::InaktiveLoeschen);
    connect(m_link, &QPushButton::clicked, this, [this] { Zuordnen(true); });
    connect(m_unlink, &QPushButton::clicked, this, [this] { Zuordnen(false); });

    const Einstellungen& v = window.session().values;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize available = screen ? screen->availableSize() : QSize(1024, 768);
    const int w = v.has(QStringLiteral("News_Width")) ? v.integer(QStringLiteral("News_Width")) : 700;
    const int h = v.has(QStringLiteral("News_Height")) ? v.integer(QStringLiteral("News_Height")) : 500;
    resize(clampedSize(w, h, available));
    reload();
}

TNachrichten::~TNachrichten() = default;

QSize TNachrichten::clampedSize(int width, int height, const QSize& available) {
    return {std::clamp(width, 300, std::max(300, available.width())), std::clamp(height, 200, std::max(200, available.height()))};
}

void TNachrichten::done(int result) {
    Session& s = m_window.session();
    s.values.set(QStringLiteral("News_Width"), SettingValue::integer(width()));
    s.values.set(QStringLiteral("News_Height"), SettingValue::integer(height()));
    QDialog::done(result);
}

QString TNachrichten::newsDir() const {
    const Session& s = m_window.session();
    const QString dir = s.values.text(QStringLiteral("NachrichtenPath"));
    return dir.isEmpty() ? s.dirs.install + QStringLiteral("Nachrichten/") : withSlash(dir);
}

void TNachrichten::reload() {
    auto items = listNews(m_window.session().store, m_filter);
    m_items.clear();
    if (!items) m_window.interaction().tell(items.status().message());
    else m_items = std::move(*items);
    m_list->setRowCount(int(m_items.size()));
    for (int r = 0; r < int(m_items.size()); ++r) {
        const NewsItem& n = m_items[size_t(r)];
        m_list->setItem(r, 0, new QTableWidgetItem(formatDateTime(n.Zeit)));
        m_list->setItem(r, 1, new QTableWidgetItem(n.Nachricht));
        auto* aktiv = new QTableWidgetItem;
        aktiv->setCheckState(n.Aktiv ? Qt::Checked : Qt::Unchecked);
        m_list->setItem(r, 2, aktiv);
    }
    if (!m_items.empty()) m_list->setCurrentCell(0, 1);
    else m_view->clear();
}

void TNachrichten::showItem(int row) {
    if (row < 0 || row >= int(m_items.size())) return;
    const NewsText t = readNewsText(newsDir(), m_items[size_t(row)].Nummer);
    if (t.html) m_view->setHtml(t.text);
    else m_view->setPlainText(t.text);
}

void TNachrichten::NeueNachricht() {
    auto headline = m_window.interaction().input(QStringLiteral("Nachricht"), QStringLiteral("Geben Sie die Überschrift für diese Nachricht ein"));
    if (!headline || headline->trimmed().isEmpty()) return;
    auto added = addNews(m_window.session().store, newsDir(), *headline, m_filter.security, now());
    if (!added) m_window.interaction().tell(added.status().message());
    reload();
}

void TNachrichten::InaktiveLoeschen() {
    auto purged = purgeNews(m_window.session().store, newsDir(), NewsPurge::Inactive, today());
    if (!purged) m_window.interaction().tell(purged.status().message());
    reload();
}

void TNachrichten::Zuordnen(bool link) {
    const int row = m_list->currentRow();
    if (row < 0 || row >= int(m_items.size())) return;
    NewsEdit e;
    e.firma = link ? m_filter.security : 0;
    auto edited = editNews(m_window.session().store, m_items[size_t(row)].Nummer, e);
    if (!edited) m_window.interaction().tell(edited.status().message());
    reload();
}

}  // namespace q::ui
