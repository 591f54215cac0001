// The page "Wertpapierliste" of "&Analyse": the securities of the current list in a
// grid, with its own "nur Favoriten", list, branch and feature boxes (they set the
// main window's and reselect its list), the filter editor, a search field that
// narrows the grid by name, WKN or ISIN, and the two exports of Wertpapierliste.txt.
#pragma once

#include "overview/fill_input.h"
#include "overview/security_master.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QWidget>

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QTableView;

namespace q::ui {

class TAktienkurse;

// The grid's rows: the securities read last, of which those matching the search
// text are shown.
class SecuritiesTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // `groups`, `branches`, `features`: the names by `GruppenIndex`.
    void setSecurities(std::vector<SecurityRecord> all, QHash<int, QString> groups, QHash<int, QString> branches,
                       QHash<int, QString> features);
    void setSearch(const QString& text);
    // The security numbers shown, in the grid's order.
    std::vector<int> shownNumbers() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void refilter();

    std::vector<SecurityRecord> m_all;
    std::vector<const SecurityRecord*> m_shown;
    QHash<int, QString> m_groups, m_branches, m_features;
    QString m_search;
};

class SecuritiesListPage final : public QWidget {
    Q_OBJECT
public:
    SecuritiesListPage(TAktienkurse& window, QWidget* parent = nullptr);

    // The page is shown: its boxes take the main window's list, favourites and
    // classification entries, and the grid is read anew.
    void activate();
    // Reads the grid from the main window's current selection.
    void reload();

    // The two exports: every security by WKN, or the grid's securities (the
    // selection narrowed by the search field) by name. Asks for the file, then
    // exportTo().
    void Exportieren(bool selection);
    // Writes Wertpapierliste.txt to `path`; says what it wrote in the status bar, or
    // shows the message.
    Result<ExportCount> exportTo(const QString& path, bool selection);

    QAction* exportAll() const { return m_exportAll; }
    QAction* exportSelection() const { return m_exportSelection; }
    QTableView* grid() const { return m_grid; }
    SecuritiesTableModel* model() const { return m_model; }
    QLineEdit* searchField() const { return m_search; }
    QCheckBox* favouritesBox() const { return m_favourites; }
    QComboBox* listBox() const { return m_list; }
    QComboBox* branchBox() const { return m_branch; }
    QComboBox* featureBox() const { return m_feature; }

private:
    void fillBoxes();
    void classificationChanged();

    TAktienkurse& m_window;
    SecuritiesTableModel* m_model;
    QTableView* m_grid;
    QLineEdit* m_search;
    QCheckBox* m_favourites;
    QComboBox* m_list;
    QComboBox* m_branch;
    QComboBox* m_feature;
    QAction* m_exportAll;
    QAction* m_exportSelection;
};

}  // namespace q::ui
