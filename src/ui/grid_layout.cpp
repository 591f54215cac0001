#include "ui/grid_layout.h"

#include <QHeaderView>

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
