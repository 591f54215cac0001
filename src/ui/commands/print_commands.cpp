#include "ui/commands/print_commands.h"

#include "charts/custom_plot.h"
#include "charts/price_chart.h"
#include "ui/main_window.h"
#include "ui/overview/chart_panels.h"
#include "ui/overview/overview_page.h"
#include "ui/printing.h"

#include <QAction>
#include <QPrinter>
#include <QTabWidget>
#include <QTableView>

namespace q::ui {

PrintCommands::PrintCommands(TAktienkurse& window)
    : QObject(&window),
      m_window(window),
      m_chart(new QAction(QStringLiteral("Kurs&diagramm drucken"), this)),
      m_sheet(new QAction(QStringLiteral("Kurs&blatt drucken"), this)) {
    connect(m_chart, &QAction::triggered, this, &PrintCommands::KursdiagrammDrucken);
    connect(m_sheet, &QAction::triggered, this, &PrintCommands::KursblattDrucken);
}

void PrintCommands::KursdiagrammDrucken() {
    OverviewPage* overview = m_window.overviewPage();
    const bool kurs = overview->innerPages()->currentIndex() == 0;
    QCustomPlot* plot = kurs ? overview->chartPanel()->chart() : overview->profitChart();
    printChart(&m_window, *plot);
}

void PrintCommands::KursblattDrucken() {
    QWidget* sheet = m_window.pages()->widget(0);
    if (m_window.pages()->currentWidget() != sheet) {
        m_window.interaction().tell(QStringLiteral("Wechseln Sie in die \"KURSE-Übersicht\" und wählen Sie eine Wertpapier aus"));
        return;
    }
    // The page reaches the printer as a picture of the widgets: 300 dpi keep the
    // small figures of the list readable without a page of many megabytes.
    QPrinter printer;
    printer.setResolution(300);
    if (!choosePrinter(printer, &m_window)) return;
    const int answer = m_window.interaction().choose(QStringLiteral("Kursblatt drucken"), QStringLiteral("Kursblatt auf Seite anpassen?"),
                                                     {QStringLiteral("&Ja"), QStringLiteral("&Nein"), QStringLiteral("Abbrechen")}, 0);
    // "Abbrechen" prints the page as it is; the other two print the price list in a
    // small font so that more of its columns fit on the paper.
    const bool small = answer == 0 || answer == 1;
    QTableView* grid = m_window.priceGrid();
    const QFont font = grid->font();
    if (small) {
        QFont print = font;
        print.setPointSize(7);
        grid->setFont(print);
        // More rows fit in the small font; the newest stay in view.
        grid->scrollToBottom();
    }
    paintWidget(printer, *sheet, answer == 0 ? PageFit::Width : PageFit::Screen);
    if (!small) return;
    grid->setFont(font);
    grid->scrollToBottom();
}

}  // namespace q::ui
