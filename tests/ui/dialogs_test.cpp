#include "app/intraday_values.h"
#include "base/formats.h"
#include "store/firma_hooks.h"
#include "store/list_tables.h"
#include "ui/dialogs/wexportcsv.h"
#include "ui/dialogs/datumwahl.h"
#include "ui/dialogs/firmeneingabe.h"
#include "ui/dialogs/information.h"
#include "ui/dialogs/spalten_edit.h"
#include "ui/dialogs/intraday_werte.h"
#include "ui/dialogs/statusfenster.h"
#include "ui/dialogs/statusform.h"
#include "ui_test_support.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

using namespace q;
using namespace q::ui;

namespace {

// The companion dialogs over the sample tables.
class Dialogs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.ok());
        m_store = Store({m_home.data(), m_home.data(), m_home.data(), m_home.home() + "/"});
        m_firma = *m_store.table("Firma.db");
    }
    Record security(int number) { return **m_firma->findKey({number}); }
    qint64 securities() { return *m_firma->count(Query{}); }

    uitest::SampleHome m_home{3};
    Store m_store;
    Table* m_firma = nullptr;
};

double at(int h, int m) { return timestampNumber(QDateTime(QDate(2026, 12, 2), QTime(h, m))); }

}  // namespace

TEST(Datumwahl, ConfirmReturnsTheChosenDayAndCancelIsReportedAsSuch) {
    TDatumwahl dialog(nullptr);
    dialog.setWindowText("Mit welchem Datum soll der Import Starten?");
    dialog.setDatum(dayNumber(QDate(2026, 12, 2)) + 0.75);
    EXPECT_EQ(dialog.calendar()->selectedDate(), QDate(2026, 12, 2));
    const int confirmed = uitest::execWith(dialog, [](QDialog& d) {
        auto& w = static_cast<TDatumwahl&>(d);
        w.calendar()->setSelectedDate(QDate(2026, 12, 24));
        uitest::screenshot(d, "datumwahl");
        d.accept();
    });
    EXPECT_EQ(confirmed, 1);
    EXPECT_EQ(dialog.datum(), dayNumber(QDate(2026, 12, 24)));
    EXPECT_EQ(uitest::execWith(dialog, [](QDialog& d) { d.reject(); }), 0);
}

TEST_F(Dialogs, SecuritiesEditorAppendsANewSecurityWithItsLists) {
    TFirmeneingabe editor(nullptr);
    editor.setWindowText("Neues Wertpapier");
    editor.setName("Neues Wertpapier");
    editor.bind(*m_firma, newSecurityRecord(*m_firma, "EUR"));
    editor.Fuellen(m_store);
    EXPECT_TRUE(editor.fundamentalsVisible());
    EXPECT_EQ(editor.list("Branche")->count(), int(readListTable(m_store, "Branchen.db")->size()));
    EXPECT_EQ(editor.list("Gruppe")->count(), int(readListTable(m_store, "Gruppen.db")->size()));
    const qint64 before = securities();
    const int result = uitest::execWith(editor, [](QDialog& d) {
        auto& e = static_cast<TFirmeneingabe&>(d);
        e.edit("FirmenName")->setText("Nordlicht Energie AG");
        e.edit("Kennung")->setText("NLE001");
        e.edit("Dividende")->setText("1,25");
        e.edit("Aktienzahl")->setText("2500000");
        e.list("Branche")->setCurrentIndex(e.list("Branche")->findText("Versorger"));
        uitest::screenshot(d, "firmeneingabe");
        e.accept();
    });
    ASSERT_EQ(result, 1);
    EXPECT_EQ(securities(), before + 1);
    const Record written = security(editor.firma());
    EXPECT_EQ(written.value("FirmenName").toString(), "Nordlicht Energie AG");
    EXPECT_EQ(written.value("Branche").toInt(), 4);
    EXPECT_DOUBLE_EQ(written.value("Dividende").toDouble(), 1.25);
    EXPECT_DOUBLE_EQ(written.value("Aktienzahl").toDouble(), 2500000.0);
    EXPECT_EQ(written.value("Waehrung").toString(), "EUR");
    // The match texts are filled on every post.
    EXPECT_EQ(written.value("ZDF").toString(), "NLE001");
}

TEST_F(Dialogs, SecuritiesEditorChangesTheBoundRecordOnlyWhenConfirmed) {
    const Record original = (*m_firma->rows(Query{}))[0];
    const int number = original.value("Firma").toInt();
    for (bool confirm : {false, true}) {
        TFirmeneingabe editor(nullptr);
        editor.bind(*m_firma, security(number));
        editor.Fuellen(m_store);
        EXPECT_EQ(editor.edit("FirmenName")->text(), confirm ? original.value("FirmenName").toString() : original.value("FirmenName").toString());
        const int result = uitest::execWith(editor, [confirm](QDialog& d) {
            static_cast<TFirmeneingabe&>(d).edit("FirmenName")->setText("Umbenannt AG");
            confirm ? static_cast<TFirmeneingabe&>(d).accept() : d.reject();
        });
        EXPECT_EQ(result, confirm ? 1 : 0);
        EXPECT_EQ(security(number).value("FirmenName").toString(), confirm ? "Umbenannt AG" : original.value("FirmenName").toString());
    }
    EXPECT_EQ(securities(), 3);
}

TEST_F(Dialogs, IntradayListOpensOnTheLastValueAndWritesOnlyWhenConfirmed) {
    ASSERT_TRUE(saveIntradayValues(m_store, 1, {{at(9, 0), 10.0, 100}, {at(9, 30), 10.5, std::nullopt}}).isOk());
    for (bool confirm : {false, true}) {
        TIntradayWerte list(nullptr);
        ASSERT_TRUE(list.bind(m_store, 1, "Erste AG").isOk());
        list.moveToLast();
        EXPECT_EQ(list.currentRow(), 1);
        const int result = uitest::execWith(list, [confirm](QDialog& d) {
            auto& l = static_cast<TIntradayWerte&>(d);
            l.grid()->item(0, 1)->setText("11,25");
            l.addRow();
            l.grid()->item(2, 0)->setText("02.12.2026 10:15");
            l.grid()->item(2, 1)->setText("11,75");
            if (confirm) uitest::screenshot(d, "intraday_werte");
            confirm ? l.accept() : d.reject();
        });
        EXPECT_EQ(result, confirm ? 1 : 0);
        auto values = intradayValues(m_store, 1);
        ASSERT_EQ(values->size(), confirm ? 3u : 2u);
        EXPECT_DOUBLE_EQ((*values)[0].Kurs, confirm ? 11.25 : 10.0);
        EXPECT_EQ((*values)[0].Volumen, 100);
        if (confirm) EXPECT_DOUBLE_EQ((*values)[2].Kurs, 11.75);
    }
}

TEST(StatusWindows, CarryTextPanelsAndCancel) {
    TStatusfenster status(nullptr);
    status.setWindowText("Sichere aktuelle Quintara Datenbank");
    status.setLine("Lege Sicherheitskopie der Datei /daten/Firma.db an");
    status.setPanels("/daten/Firma.db", "/sicher/Firma.db~");
    EXPECT_FALSE(status.isModal());
    EXPECT_EQ(status.panel(1), "/sicher/Firma.db~");
    uitest::screenshot(status, "statusfenster");

    Tstatusform form(nullptr);
    Progress& progress = form;
    progress.step("Kurse von DAX", 3, 12);
    EXPECT_EQ(form.percent(), 25);
    EXPECT_FALSE(progress.cancelRequested());
    for (QPushButton* b : form.findChildren<QPushButton*>())
        if (b->text() == "Abbrechen") b->click();
    EXPECT_TRUE(progress.cancelRequested());
    uitest::screenshot(form, "statusform");
}

TEST(Information, ShowsTheVersionText) {
    TInformation about(nullptr);
    EXPECT_EQ(versionText(), "5.3");
    EXPECT_EQ(about.findChild<QLabel*>("version")->text(), "Version 5.3");
    EXPECT_EQ(uitest::execWith(about, [](QDialog& d) {
                  uitest::screenshot(d, "information");
                  d.accept();
              }),
              1);
}

TEST(ColumnWindow, ShowsTheHeaderPrefilledAndReturnsTheChosenColumns) {
    const QStringList header = {"Datum", "Eröffnungskurs", "Hoch", "Tief", "Schlusskurs", "Volumen", "WKN"};
    TWExportcsv w(header, {0, 4, 5, -1, 6});
    EXPECT_EQ(w.windowTitle(), "Position von Datum und Kurs");
    EXPECT_EQ(w.findChild<QListWidget*>("fields")->count(), 7);
    EXPECT_EQ(w.findChild<QComboBox*>("wkn")->currentText(), "7: WKN");
    EXPECT_EQ(w.findChild<QComboBox*>("name")->currentText(), "(keine)");
    auto* kurs = w.findChild<QComboBox*>("kurs");
    auto* volumen = w.findChild<QComboBox*>("volumen");
    EXPECT_EQ(kurs->currentText(), "5: Schlusskurs");
    EXPECT_EQ(volumen->currentText(), "6: Volumen");
    // The opening price instead, and no volume.
    kurs->setCurrentIndex(1);
    volumen->setCurrentIndex(0);
    const HistoryColumns chosen = w.columns();
    EXPECT_EQ(chosen.datum, 0);
    EXPECT_EQ(chosen.kurs, 1);
    EXPECT_EQ(chosen.volumen, -1);
    EXPECT_EQ(chosen.wkn, 6);
    EXPECT_EQ(chosen.isin, -1);
    QPushButton* start = nullptr;
    for (QPushButton* b : w.findChildren<QPushButton*>())
        if (b->text() == "Import starten") start = b;
    ASSERT_NE(start, nullptr);
    const int result = uitest::execWith(w, [start](QDialog&) { start->click(); });
    EXPECT_EQ(result, QDialog::Accepted);
}

namespace {

QStringList listed(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) texts << list.item(i)->text();
    return texts;
}

QStringList fieldsOf(const QList<q::ui::GridColumn>& columns) {
    QStringList fields;
    for (const auto& c : columns) fields << c.field;
    return fields;
}

}  // namespace

TEST(ColumnEditor, MovesFieldsBetweenTheListsAndKeepsTitlesAndWidths) {
    using q::ui::GridColumn;
    const QStringList fields{"Firma", "Datum", "Kurs", "GlD"};
    q::ui::TSpaltenEdit editor({GridColumn{"Datum", "Tag", 90}, GridColumn{"Kurs", "Schluss", 70}}, fields, nullptr);
    EXPECT_EQ(editor.windowTitle(), "Spalten bearbeiten");
    EXPECT_EQ(listed(*editor.tableFields()), (QStringList{"Datum", "Kurs"}));
    EXPECT_EQ(listed(*editor.databaseFields()), fields);

    // "<---" puts the field after the selected column; a field already there is not
    // taken twice.
    editor.tableFields()->setCurrentRow(0);
    editor.databaseFields()->setCurrentRow(3);
    editor.takeIn()->click();
    editor.databaseFields()->setCurrentRow(2);
    editor.takeIn()->click();
    EXPECT_EQ(listed(*editor.tableFields()), (QStringList{"Datum", "GlD", "Kurs"}));
    // "--->" and a double click on the left take columns out; a double click on the
    // right takes one in.
    editor.tableFields()->setCurrentRow(0);
    editor.takeOut()->click();
    editor.databaseFields()->setCurrentRow(0);
    Q_EMIT editor.databaseFields()->itemDoubleClicked(editor.databaseFields()->item(0));
    editor.tableFields()->setCurrentRow(0);
    Q_EMIT editor.tableFields()->itemDoubleClicked(editor.tableFields()->item(0));
    EXPECT_EQ(listed(*editor.tableFields()), (QStringList{"Firma", "Kurs"}));

    const QList<GridColumn> result = editor.columns();
    ASSERT_EQ(result.size(), 2);
    EXPECT_EQ(result[0].title, "Firma");
    EXPECT_EQ(result[0].width, -1);
    EXPECT_EQ(result[1].title, "Schluss");
    EXPECT_EQ(result[1].width, 70);
    uitest::screenshot(editor, "spalten_edit");
}

TEST(ColumnEditor, AGridWithoutColumnsShowsEveryField) {
    const QStringList fields{"Firma", "Datum", "Volumen"};
    q::ui::TSpaltenEdit editor({}, fields, nullptr);
    EXPECT_EQ(listed(*editor.tableFields()), fields);
    while (editor.tableFields()->count() > 0) {
        editor.tableFields()->setCurrentRow(0);
        editor.takeOut()->click();
    }
    EXPECT_EQ(fieldsOf(editor.columns()), fields);
}
