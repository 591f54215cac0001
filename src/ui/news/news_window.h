// The news window "Nachrichtenübersicht": the headlines the switches let through,
// newest first, and the selected item's text. Text files are decoded by the core and
// shown as plain text; HTML files in a QTextBrowser that runs no scripts and loads
// nothing from the network (only the item file itself is read).
#pragma once

#include "news/news_store.h"

#include <QDialog>

class QCheckBox;
class QPushButton;
class QTableWidget;
class QTextBrowser;

namespace q::ui {

class TAktienkurse;

class TNachrichten final : public QDialog {
    Q_OBJECT
public:
    // `filter` gives the switches and the security the window is opened for.
    TNachrichten(TAktienkurse& window, const NewsFilter& filter, QWidget* parent = nullptr);
    ~TNachrichten() override;

    QTableWidget* headlines() const { return m_list; }
    QTextBrowser* view() const { return m_view; }
    QCheckBox* inactiveBox() const { return m_inactive; }
    QCheckBox* generalBox() const { return m_general; }
    QCheckBox* companyBox() const { return m_company; }
    const std::vector<NewsItem>& items() const { return m_items; }

    void reload();
    void showItem(int row);
    // "Neue Überschrift": asks the headline, adds the item for the window's security.
    void NeueNachricht();
    void InaktiveLoeschen();
    void Zuordnen(bool link);

    // The stored size clamped to `available` (a window wider or taller than the
    // screen would hide its own frame).
    static QSize clampedSize(int width, int height, const QSize& available);

protected:
    void done(int result) override;

private:
    QString newsDir() const;

    TAktienkurse& m_window;
    NewsFilter m_filter;
    std::vector<NewsItem> m_items;
    QTableWidget* m_list;
    QTextBrowser* m_view;
    QCheckBox* m_inactive;
    QCheckBox* m_general;
    QCheckBox* m_company;
    QPushButton* m_link;
    QPushButton* m_unlink;
};

}  // namespace q::ui
