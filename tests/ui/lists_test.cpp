// The list selector, the filter editor, the classification editor, the page
// "Plus/Minus" and the news window, on the sample data (five securities, one year of
// prices up to Friday 04.12.2026; today is the Monday after).
#include "base/clock.h"
#include "news/news_table.h"
#include "overview/classifications.h"
#include "overview/security_master.h"
#include "overview/watch_lists.h"
#include "ui/commands/list_commands.h"
#include "ui/main_menu.h"
#include "ui/main_window.h"
#include "ui/news/news_window.h"
#include "ui/overview/classification_editor.h"
#include "ui/overview/filter_editor.h"
#include "ui/overview/movers_page.h"
#include "ui/overview/securities_list_page.h"
#include "ui/overview/watch_names_dialog.h"
#include "ui/acquisition/price_source_commands.h"
#include "app/watch_names.h"
#include "base/text_files.h"
#include "ui/securities_model.h"
#include "ui/portfolio/open_document.h"
#include "ui_test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QMenu>
#include <QTableView>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QFile>
#include <QTableWidget>
#include <QTabWidget>
#include <QTextBrowser>
#include <QUrl>
#include <gtest/gtest.h>

using namespace q;
using namespace q::ui;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class WindowLists : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.ok());
        setToday(QDate(2026, 12, 7));
        setDocumentOpener([this](const QUrl& url) {
            opened << url.toLocalFile();
            return true;
        });
    }
    void TearDown() override {
        setToday(QDate());
        setDocumentOpener({});
    }
    std::unique_ptr<TAktienkurse> start() { return uitest::startMainWindow(m_home, ui); }

    uitest::SampleHome m_home;
    ScriptedInteraction ui;
    QStringList opened;
};

}  // namespace

TEST_F(WindowLists, TheSelectorShowsAWatchListsSecurities) {
    auto w = start();
    QComboBox* selector = w->listSelector();
    ASSERT_GE(selector->count(), 7);
    EXPECT_EQ(selector->itemText(0), "alle Gruppen");
    EXPECT_EQ(selector->itemText(1), "akt.Depotwerte");
    EXPECT_EQ(selector->itemText(2), "1.Beobachtungsliste");
    const int first = w->securitiesModel()->firmaAt(0);
    ASSERT_TRUE(toggleWatch(w->session().store, 1, first).isOk());
    selector->setCurrentIndex(2);
    w->refillSecurities();
    EXPECT_EQ(w->securitiesModel()->rowCount(), 1);
    EXPECT_EQ(w->securitiesModel()->firmaAt(0), first);
    uitest::screenshot(*w, "list_selector");
    selector->setCurrentIndex(0);
    w->refillSecurities();
    EXPECT_EQ(w->securitiesModel()->rowCount(), 5);
}

TEST_F(WindowLists, TheFilterEditorTakesOnlyATextThatParses) {
    auto w = start();
    TFilterEditor editor(*w, QString());
    const int result = uitest::execWith(editor, [&](QDialog& d) {
        auto& e = static_cast<TFilterEditor&>(d);
        e.BedingungEinfuegen();  // no field yet
        const QList<QListWidgetItem*> found = e.fields()->findItems("Firma", Qt::MatchExactly);
        ASSERT_FALSE(found.isEmpty());
        e.fields()->setCurrentItem(found[0]);
        e.FeldUebernehmen();
        e.value()->setText("2");
        e.BedingungEinfuegen();
        EXPECT_EQ(e.text()->toPlainText(), "(Firma>'2') ");
        uitest::screenshot(d, "filter_editor");
        e.text()->setPlainText("(Firma>'2'");
        e.Uebernehmen();  // refused: the dialog stays
        EXPECT_TRUE(d.isVisible());
        e.text()->setPlainText("(Firma>'2') ");
        e.Uebernehmen();
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(ui.messages.value(0), "Fügen Sie zuerst ein Datenbankfeld ein");
    EXPECT_EQ(ui.messages.value(1), "Es fehlt \")\" zur Klammer an Stelle 1 des Filters");
    EXPECT_EQ(editor.filter(), "(Firma>'2')");
    w->setFilterText(editor.filter());
    EXPECT_EQ(w->securitiesModel()->rowCount(), 3);
}

TEST_F(WindowLists, TheClassificationEditorSavesThroughTheCore) {
    auto w = start();
    TGruppenEdit editor(*w, Classification::Merkmale);
    uitest::execWith(editor, [&](QDialog& d) {
        auto& e = static_cast<TGruppenEdit&>(d);
        EXPECT_EQ(e.list()->count(), 5);
        e.nameEdit()->setText("Ozeanien");
        e.Neu();
        EXPECT_EQ(e.list()->count(), 6);
        EXPECT_EQ(e.list()->currentRow(), 5);
        e.Verschieben(true);
        EXPECT_EQ(e.list()->currentRow(), 4);
        EXPECT_EQ(e.list()->item(4)->text(), "5  Ozeanien");
        e.list()->setCurrentRow(0);
        e.Loeschen();  // "Weltweit" stands for all
        uitest::screenshot(d, "classification_editor");
        d.accept();
    });
    EXPECT_EQ(ui.messages.value(0), "Der Eintrag \"Weltweit\" (0) steht für alle und kann nicht gelöscht werden");
    auto entries = readClassification(w->session().store, Classification::Merkmale);
    ASSERT_TRUE(entries.isOk());
    EXPECT_EQ((*entries)[4].GruppenName, "Ozeanien");
}

TEST_F(WindowLists, PlusMinusShowsTheMoversOfTheList) {
    auto w = start();
    MoversPage* page = w->moversPage();
    ASSERT_NE(page, nullptr);
    page->countBox()->setValue(5);
    page->Tage(30);
    ASSERT_TRUE(page->last().has_value());
    EXPECT_EQ(page->last()->up + page->last()->down, 5);
    EXPECT_TRUE(page->view()->toPlainText().contains("Gewinner")) << page->view()->toPlainText().toStdString();
    EXPECT_TRUE(QFile::exists(w->session().dirs.work + "gewinner.rtf"));
    auto* pages = w->pages();
    for (int i = 0; i < pages->count(); ++i)
        if (pages->tabText(i) == "&Analyse") pages->setCurrentIndex(i);
    if (auto* inner = qobject_cast<QTabWidget*>(page->parentWidget()->parentWidget())) inner->setCurrentWidget(page);
    uitest::screenshot(*w, "plus_minus");
}

TEST_F(WindowLists, TheNewsWindowShowsTextsAndANoticeForAMissingFile) {
    auto w = start();
    Session& s = w->session();
    const QString dir = s.dirs.install + "Nachrichten/";
    s.values.set("NachrichtenPath", SettingValue::text(dir));
    QDir().mkpath(dir);
    ASSERT_TRUE(saveNewsItem(s.store, NewsItem{3121530, QDateTime(QDate(2026, 3, 12), QTime(15, 30)), "Zinsen steigen", 0, true}).isOk());
    ASSERT_TRUE(saveNewsItem(s.store, NewsItem{77, QDateTime(QDate(2026, 12, 7), QTime(9, 0)), "Ohne Datei", 0, true}).isOk());
    ASSERT_TRUE(saveNewsItem(s.store, NewsItem{78, QDateTime(QDate(2026, 12, 6), QTime(9, 0)), "Seite", 0, true}).isOk());
    writeBytes(dir + "03121530.TXT", "Die Zinsen steigen \xfc" "berall.\r\n");
    writeBytes(dir + "78.HTM", "<p>Eine <b>Seite</b><script>document.write('x')</script><img src=\"http://127.0.0.1:9/a.png\"></p>");
    s.values.set("News_Width", SettingValue::integer(100000));
    s.values.set("News_Height", SettingValue::integer(100000));

    TNachrichten news(*w, NewsFilter{});
    ASSERT_EQ(news.items().size(), 3u);
    EXPECT_EQ(news.items()[0].Nachricht, "Ohne Datei");
    EXPECT_EQ(news.view()->toPlainText(), "Zu dieser Nachricht gibt es keine Datei (77.TXT)");
    news.headlines()->setCurrentCell(1, 1);
    EXPECT_TRUE(news.view()->toPlainText().startsWith("Eine Seite")) << news.view()->toPlainText().toStdString();
    news.headlines()->setCurrentCell(2, 1);
    EXPECT_EQ(news.view()->toPlainText().trimmed(), QString::fromUtf8("Die Zinsen steigen überall."));
    const QSize screen = TNachrichten::clampedSize(100000, 100000, QSize(1280, 800));
    EXPECT_EQ(screen, QSize(1280, 800));
    EXPECT_LE(news.width(), 100000);
    ui.inputs = {QString("Neue Meldung")};
    news.NeueNachricht();
    EXPECT_EQ(news.items().size(), 4u);
    news.show();
    uitest::screenshot(news, "news_window");
}

TEST_F(WindowLists, TheMenuEntriesCallTheCore) {
    auto w = start();
    ListCommands& lists = w->menu().lists();
    const int firma = w->currentFirma();
    ASSERT_GT(firma, 0);
    lists.WatchToggle(2);
    EXPECT_TRUE(*isOnWatch(w->session().store, 2, firma));
    lists.WatchAddAll(2);
    lists.WatchAddAll(2);
    EXPECT_EQ(*isOnWatch(w->session().store, 2, w->securitiesModel()->firmaAt(4)), true);
    ui.answers = {Answer::Yes};
    const QString path = lists.FehlendeKurswerte();
    EXPECT_TRUE(path.endsWith("Wasfehlt.txt"));
    EXPECT_EQ(opened, QStringList{path});
    EXPECT_TRUE(readBytes(path).contains("Insgesamt fehlen heute noch 5 Kurse"));
}

TEST_F(WindowLists, TheSecuritiesPageNarrowsByNameWknOrIsinAndExportsWhatItShows) {
    auto w = start();
    SecuritiesListPage* page = w->securitiesPage();
    ASSERT_NE(page, nullptr);
    page->activate();
    SecuritiesTableModel* model = page->model();
    ASSERT_EQ(model->rowCount(), 5);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "WKN");
    const QString name = model->index(3, 0).data().toString();
    const QString wkn = model->index(2, 1).data().toString();
    const QString isin = model->index(1, 2).data().toString();
    ASSERT_FALSE(isin.isEmpty());

    page->searchField()->setText(name.mid(1, 5).toUpper());
    ASSERT_GE(model->rowCount(), 1);
    bool found = false;
    for (int r = 0; r < model->rowCount(); ++r) found |= model->index(r, 0).data().toString() == name;
    EXPECT_TRUE(found);
    page->searchField()->setText(wkn.toLower());
    ASSERT_EQ(model->rowCount(), 1);
    EXPECT_EQ(model->index(0, 1).data().toString(), wkn);
    page->searchField()->setText(isin.toLower());
    ASSERT_EQ(model->rowCount(), 1);
    EXPECT_EQ(model->index(0, 2).data().toString(), isin);
    page->searchField()->setText("kein solches Papier");
    EXPECT_EQ(model->rowCount(), 0);
    const QString none = QDir(m_home.home()).filePath("leer.txt");
    EXPECT_EQ(page->exportTo(none, true).status().category(), Category::NotFound);
    EXPECT_EQ(ui.messages.value(0), "Die Auswahl enthält keine Wertpapiere");
    EXPECT_FALSE(QFile::exists(none));

    // The selection's export holds what the grid shows, the other one every security.
    page->searchField()->setText(isin);
    const QString one = QDir(m_home.home()).filePath("Wertpapierliste.txt");
    ASSERT_TRUE(page->exportTo(one, true).isOk());
    const QByteArray bytes = readBytes(one);
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 3) << bytes.toStdString();  // header, one row, the end
    EXPECT_TRUE(lines[0].startsWith("Wertpapierbezeichnung\tWKN\tISIN\tTicker\t")) << lines[0].toStdString();
    EXPECT_TRUE(lines[0].endsWith("\t\r"));
    EXPECT_TRUE(lines[1].contains("\t" + isin.toLatin1() + "\t")) << lines[1].toStdString();
    EXPECT_EQ(w->statusText(0), "1 Wertpapiere nach " + one + " geschrieben");
    QAction* all = w->menu().action("&Wertpapierliste exportieren (alle nach WKN)");
    ASSERT_EQ(all, page->exportAll());
    ASSERT_NE(w->menu().action("Wertpapierliste der &Auswahl exportieren (nach Namen)"), nullptr);
    ASSERT_TRUE(page->exportTo(one, false).isOk());
    EXPECT_EQ(readBytes(one).count("\r\n"), 6);

    // The page's boxes set the main window's list.
    page->searchField()->clear();
    ASSERT_TRUE(setFavourite(w->session().store, w->securitiesModel()->firmaAt(0), false).isOk());
    ListSelection favourites;
    favourites.favouritesOnly = true;
    const int expected = int(resolveList(w->session().store, favourites)->size());
    ASSERT_LT(expected, 5);
    page->favouritesBox()->click();
    EXPECT_TRUE(w->favouritesBox()->isChecked());
    EXPECT_EQ(model->rowCount(), expected);
    EXPECT_EQ(w->securitiesModel()->rowCount(), expected);
    page->favouritesBox()->click();
    EXPECT_EQ(model->rowCount(), 5);
    EXPECT_EQ(page->branchBox()->currentIndex(), 0);
    EXPECT_GT(page->featureBox()->count(), 1);
    page->searchField()->setText(name.left(4).toLower());
    page->resize(900, 400);
    page->show();
    uitest::screenshot(*page, "securities_list");
}

TEST_F(WindowLists, TheSelectorOffersTheRatingRunsLists) {
    auto w = start();
    EXPECT_EQ(w->listSelector()->findText("Gewinner(Quintara)"), -1);
    const int second = w->securitiesModel()->firmaAt(1);
    ASSERT_TRUE(w->session().store.recreate("Gewinner.db", {Row{second}}).isOk());
    ASSERT_TRUE(w->session().store.recreate("Verlierer.db", {}).isOk());
    w->reloadLists();
    const int winners = w->listSelector()->findText("Gewinner(Quintara)");
    ASSERT_GE(winners, 0);
    EXPECT_EQ(w->listSelector()->itemText(winners + 1), "Verlierer(Quintara)");
    w->selectList(winners);
    ASSERT_EQ(w->securitiesModel()->rowCount(), 1);
    EXPECT_EQ(w->securitiesModel()->firmaAt(0), second);
}

TEST_F(WindowLists, TheContextMenuChecksWhatTheSecurityIsMarkedWith) {
    auto w = start();
    Session& s = w->session();
    ListCommands& lists = w->menu().lists();
    const int firma = w->currentFirma();
    ASSERT_GT(firma, 0);
    ASSERT_TRUE(setFavourite(s.store, firma, true).isOk());
    ASSERT_TRUE(storeWatchListName(s, 3, "").isOk());
    lists.updateContextChecks();
    EXPECT_TRUE(lists.contextFavourite()->isChecked());
    EXPECT_EQ(lists.contextWatch(1)->text(), s.watchNames.value(0));
    for (int k = 1; k <= 4; ++k) EXPECT_FALSE(lists.contextWatch(k)->isChecked()) << k;
    EXPECT_FALSE(lists.contextWatch(3)->isVisible());
    EXPECT_TRUE(lists.contextWatch(4)->isVisible());

    lists.contextWatch(2)->trigger();
    lists.contextFavourite()->trigger();
    EXPECT_TRUE(*isOnWatch(s.store, 2, firma));
    EXPECT_FALSE(readSecurity(s.store, firma)->Aktiv);
    lists.contextWatch(2)->setChecked(false);  // what the menu shows is read from the tables
    lists.updateContextChecks();
    EXPECT_TRUE(lists.contextWatch(2)->isChecked());
    EXPECT_FALSE(lists.contextFavourite()->isChecked());
    EXPECT_FALSE(lists.contextWatch(1)->isChecked());
    // Another security: its own marks.
    ASSERT_TRUE(w->selectFirma(w->securitiesModel()->firmaAt(2)));
    ASSERT_TRUE(setFavourite(s.store, w->currentFirma(), true).isOk());
    lists.updateContextChecks();
    EXPECT_FALSE(lists.contextWatch(2)->isChecked());
    EXPECT_TRUE(lists.contextFavourite()->isChecked());
}

TEST_F(WindowLists, TheWatchNamesDialogStoresAllFourOnOkAndNothingOnCancel) {
    auto w = start();
    Session& s = w->session();
    const QStringList before = s.watchNames;
    const QByteArray fileBefore = readBytes(s.dirs.data + "WNamen.ini");
    {
        TWatchNames dialog(*w);
        EXPECT_EQ(dialog.nameEdit(1)->text(), before.value(0));
        const int result = uitest::execWith(dialog, [](QDialog& d) {
            auto& e = static_cast<TWatchNames&>(d);
            e.nameEdit(1)->setText("Nebenwerte");
            d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
        });
        EXPECT_EQ(result, QDialog::Rejected);
    }
    EXPECT_EQ(s.watchNames, before);
    EXPECT_EQ(readBytes(s.dirs.data + "WNamen.ini"), fileBefore);
    {
        TWatchNames dialog(*w);
        const int result = uitest::execWith(dialog, [](QDialog& d) {
            auto& e = static_cast<TWatchNames&>(d);
            e.nameEdit(1)->setText("Nebenwerte");
            e.nameEdit(2)->setText("  ");
            e.nameEdit(4)->setText("Anleihen");
            uitest::screenshot(d, "watch_names");
            d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        EXPECT_EQ(result, QDialog::Accepted);
    }
    EXPECT_EQ(s.watchNames, (QStringList{"Nebenwerte", "", before.value(2), "Anleihen"}));
    EXPECT_TRUE(readBytes(s.dirs.data + "WNamen.ini").startsWith("Nebenwerte\r\n\r\n"));
    w->reloadLists();
    EXPECT_GE(w->listSelector()->findText("Nebenwerte"), 0);
    EXPECT_EQ(w->listSelector()->findText(before.value(1)), -1);
}

TEST_F(WindowLists, TheInternetReadingTakesTheChosenList) {
    auto w = start();
    Session& s = w->session();
    PriceSourceCommands& sources = w->menu().sources();
    const int second = w->securitiesModel()->firmaAt(1);
    ASSERT_TRUE(toggleWatch(s.store, 1, second).isOk());
    EXPECT_EQ(sources.internetSelection(std::nullopt)->size(), 5u);
    EXPECT_EQ(*sources.internetSelection(s.watchNames.value(0).toUpper()), std::vector<int>{second});
    w->selectList(w->listSelector()->findText(s.watchNames.value(0)));
    EXPECT_EQ(*sources.internetSelection(QString()), std::vector<int>{second});
    auto empty = sources.internetSelection(s.watchNames.value(1));
    EXPECT_EQ(empty.status().category(), Category::NotFound);
    EXPECT_EQ(empty.status().message(), "Die Liste \"" + s.watchNames.value(1) + "\" enthält keine Wertpapiere");
    EXPECT_TRUE(sources.internetSelection("keine solche Liste").status().message().startsWith("Die Liste \"keine solche Liste\" gibt es nicht"));
    ui.answers = {Answer::No};
    EXPECT_TRUE(sources.InternetKurse1Click().status.isOk());
    EXPECT_TRUE(ui.questions.last().endsWith("Eingelesen wird die Gruppe \"" + s.watchNames.value(0) + "\"."));
}

TEST_F(WindowLists, TheNewsMenuOpensTheNewsSiteAndLeavesTheCompanionProgramOut) {
    auto w = start();
    QAction* site = w->menu().action("Meldungen im &Internet");
    ASSERT_NE(site, nullptr);
    EXPECT_TRUE(site->isEnabled());
    EXPECT_TRUE(site->toolTip().contains("https://")) << site->toolTip().toStdString();
    QAction* companion = w->menu().action("&Meldungen ins Quintara einlesen");
    ASSERT_NE(companion, nullptr);
    EXPECT_FALSE(companion->isEnabled());
}
