// The list selector, the filter editor, the classification editor, the page
// "Plus/Minus" and the news window, on the sample data (five securities, one year of
// prices up to Friday 04.12.2026; today is the Monday after).
#include "base/clock.h"
#include "news/news_table.h"
#include "overview/classifications.h"
#include "overview/watch_lists.h"
#include "ui/commands/list_commands.h"
#include "ui/main_menu.h"
#include "ui/main_window.h"
#include "ui/news/news_window.h"
#include "ui/overview/classification_editor.h"
#include "ui/overview/filter_editor.h"
#include "ui/overview/movers_page.h"
#include "ui/securities_model.h"
#include "ui/portfolio/open_document.h"
#include "ui_test_support.h"

#include <QComboBox>
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
