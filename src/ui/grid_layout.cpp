#include "ui/grid_layout.h"

#include <QHeaderView>
#include <QScrollBar>

namespace q::ui {

namespace {

// The font style is one byte of the form designer's style set.
constexpr char kBold = 0x01, kItalic = 0x02, kUnderline = 0x04, kStrikeOut = 0x08;

// Colours are stored as 0x00BBGGRR, as the companion programs read them.
int storedColour(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }
QColor colourOf(int stored) { return QColor(stored & 0xff, (stored >> 8) & 0xff, (stored >> 16) & 0xff); }

}  // namespace

QList<GridColumn> storedGridColumns(const Einstellungen& values, int grid, const QList<GridColumn>& design,
                                    const QStringList& known) {
    if (!values.has(gridFontName(grid, QStringLiteral("FontName")))) return design;
    QList<GridColumn> columns;
    for (int i = 0; values.has(gridColumnName(grid, QStringLiteral("Width"), i)); ++i) {
        GridColumn c;
        c.width = values.integer(gridColumnName(grid, QStringLiteral("Width"), i));
        c.field = values.text(gridColumnName(grid, QStringLiteral("Name"), i));
        c.title = values.text(gridColumnName(grid, QStringLiteral("Title"), i));
        if (known.contains(c.field, Qt::CaseInsensitive)) columns << c;
    }
    return columns.isEmpty() ? design : columns;
}

QStringList tableFields(Store& store, const QString& file) {
    QStringList names;
    if (auto t = store.table(file))
        for (const Field& f : (*t)->layout().fields) names << f.name;
    return names;
}

void applyGridFont(const Einstellungen& values, int grid, QTableView& view) {
    const QString name = gridFontName(grid, QStringLiteral("FontName"));
    if (!values.has(name)) return;
    QFont font = view.font();
    font.setFamily(values.text(name));
    if (const int size = values.integer(gridFontName(grid, QStringLiteral("FontSize"))); size > 0) font.setPointSize(size);
    const auto style = values.value(gridFontName(grid, QStringLiteral("FontStyle")));
    const QByteArray bits = style ? style->data.toByteArray() : QByteArray();
    const char b = bits.isEmpty() ? 0 : bits[0];
    font.setBold(b & kBold);
    font.setItalic(b & kItalic);
    font.setUnderline(b & kUnderline);
    font.setStrikeOut(b & kStrikeOut);
    view.setFont(font);
    if (values.has(gridFontName(grid, QStringLiteral("FontColor")))) {
        QPalette p = view.palette();
        p.setColor(QPalette::Text, colourOf(values.integer(gridFontName(grid, QStringLiteral("FontColor")))));
        view.setPalette(p);
    }
}

void fitNumberColumns(QTableView& view) {
    const QAbstractItemModel* model = view.model();
    if (!model) return;
    view.setTextElideMode(Qt::ElideLeft);
    const QFontMetrics metrics(view.font());
    // Cell padding of the style, with a little room to spare.
    const int padding = 2 * metrics.averageCharWidth() + 6;
    const int rows = model->rowCount(), columns = model->columnCount();
    // A long list's widest numbers are among its first and last rows (prices and
    // volumes grow and fall over the years; a sample keeps a switch of securities fast).
    constexpr int kSampled = 1500;
    std::vector<int> needed(size_t(columns), 0);
    std::vector<bool> number(size_t(columns), false);
    for (int c = 0; c < columns; ++c) {
        const QString title = model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        needed[size_t(c)] = metrics.horizontalAdvance(title) + padding;
        for (int r = 0; r < rows; ++r) {
            if (r == kSampled && rows > 2 * kSampled) r = rows - kSampled;
            const QModelIndex i = model->index(r, c);
            if (model->data(i, Qt::TextAlignmentRole).toInt() & Qt::AlignRight) number[size_t(c)] = true;
            needed[size_t(c)] = std::max(needed[size_t(c)], metrics.horizontalAdvance(model->data(i, Qt::DisplayRole).toString()) + padding);
        }
    }
    // A stretched last column fills what the others leave: only its text counts.
    int stretched = -1;
    if (view.horizontalHeader()->stretchLastSection())
        for (int c = columns - 1; c >= 0 && stretched < 0; --c)
            if (!view.isColumnHidden(c)) stretched = c;
    int total = 0;
    for (int c = 0; c < columns; ++c) {
        if (view.isColumnHidden(c)) continue;
        if (c == stretched) {
            total += needed[size_t(c)];
            continue;
        }
        if (number[size_t(c)] && view.columnWidth(c) < needed[size_t(c)]) view.setColumnWidth(c, needed[size_t(c)]);
        total += view.columnWidth(c);
    }
    // Stored widths wider than the view: the columns give back what they have beyond
    // their widest text (a date is not cut either).
    // A view not laid out yet has no width to fit to (it fits again when shown).
    if (!view.isVisible()) return;
    const int room = view.viewport()->width() - (view.verticalScrollBar()->isVisible() ? 0 : view.verticalScrollBar()->sizeHint().width());
    if (room <= 0 || total <= room) return;
    int excess = 0;
    for (int c = 0; c < columns; ++c)
        if (!view.isColumnHidden(c) && c != stretched) excess += std::max(0, view.columnWidth(c) - needed[size_t(c)]);
    if (excess <= 0) return;
    const double share = std::min(1.0, double(total - room) / excess);
    for (int c = 0; c < columns; ++c) {
        if (view.isColumnHidden(c) || c == stretched) continue;
        const int spare = std::max(0, view.columnWidth(c) - needed[size_t(c)]);
        view.setColumnWidth(c, view.columnWidth(c) - int(std::ceil(spare * share)));
    }
}

void storeGridLayout(Einstellungen& values, int grid, const QTableView& view, const RecordTableModel& model) {
    values.removeGrid(grid);
    const QFont font = view.font();
    char style = 0;
    if (font.bold()) style |= kBold;
    if (font.italic()) style |= kItalic;
    if (font.underline()) style |= kUnderline;
    if (font.strikeOut()) style |= kStrikeOut;
    values.set(gridFontName(grid, QStringLiteral("FontName")), SettingValue::text(font.family()));
    values.set(gridFontName(grid, QStringLiteral("FontColor")), SettingValue::integer(storedColour(view.palette().color(QPalette::Text))));
    values.set(gridFontName(grid, QStringLiteral("FontSize")), SettingValue::integer(font.pointSize()));
    values.set(gridFontName(grid, QStringLiteral("FontStyle")), SettingValue::bytes(QByteArray(1, style)));
    const QList<GridColumn>& columns = model.columns();
    for (int i = 0; i < columns.size(); ++i) {
        // Columns in the order the user sees them after moving headers.
        const int logical = view.horizontalHeader()->logicalIndex(i);
        values.set(gridColumnName(grid, QStringLiteral("Width"), i), SettingValue::integer(view.columnWidth(logical)));
        values.set(gridColumnName(grid, QStringLiteral("Name"), i), SettingValue::text(columns[logical].field));
        values.set(gridColumnName(grid, QStringLiteral("Title"), i), SettingValue::text(columns[logical].title));
    }
}

}  // namespace q::ui
