#include "ui/acquisition/intraday_page.h"

#include "acquisition/intraday_commit.h"
#include "app/intraday_job.h"
#include "app/intraday_rollover.h"
#include "base/clock.h"
#include "base/formats.h"
#include "ui/acquisition/prot_kurs.h"
#include "ui/acquisition/videotext_commands.h"
#include "ui/acquisition/window_hooks.h"
#include "ui/main_menu.h"
#include "ui/main_window.h"
#include "ui/status_progress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

namespace q::ui {

namespace {

const QString kTeletext = QStringLiteral("Kursdaten werden über Videotext eingelesen");
const QString kInternet = QStringLiteral("Kurse über Internet laden");
const QString kNetwork = QStringLiteral("Intraday-Datei im Netzwerk (Intraday.db des Datenverzeichnisses, von einer anderen Installation gefüllt)");
const QString kNoNew = QStringLiteral("es werden keine neue Wertpapiere/Kurse aufgenommen");
const QString kNew = QStringLiteral("Es werden neue Wertpapiere/Kurse aufgenommen");

}  // namespace

class IntradayPage::Timer final : public PollTimer {
public:
    explicit Timer(IntradayPage& page) {
        QObject::connect(&m_timer, &QTimer::timeout, &page, [&page] { page.tick(); });
    }
    void start(int periodMs) override { m_timer.start(periodMs); }
    void stop() override { m_timer.stop(); }

private:
    QTimer m_timer;
};

IntradayPage::IntradayPage(TAktienkurse& window, QWidget* parent) : QWidget(parent), m_window(window) {
    m_timer = std::make_unique<Timer>(*this);
    IntradayPoller::Actions actions;
    actions.fetch = [this](PollSource source, bool daily) { return fetch(source, daily); };
    actions.archiveStaleDay = [this](const QDate& day) { return archiveStaleIntraday(m_window.session(), day); };
    m_poller = std::make_unique<IntradayPoller>(*m_timer, [] { return now(); }, actions);

    m_start = new QPushButton(QStringLiteral("Start"), this);
    m_start->setObjectName(QStringLiteral("start"));
    auto* neu = new QPushButton(QStringLiteral("neu"), this);
    neu->setToolTip(QStringLiteral("löschen aller Tageswerte"));
    auto* eintragen = new QPushButton(QStringLiteral("eintragen"), this);
    eintragen->setToolTip(QStringLiteral("akt. Kurse in Datenbank eintragen"));
    auto* protokoll = new QPushButton(QStringLiteral("Protokoll"), this);
    protokoll->setToolTip(QStringLiteral("Protokoll der nicht eingelesenen Kurse"));
    m_source = new QToolButton(this);
    m_source->setObjectName(QStringLiteral("source"));
    m_newSecurities = new QToolButton(this);
    m_newSecurities->setCheckable(true);
    m_favourites = new QToolButton(this);
    m_favourites->setText(QStringLiteral("F"));
    m_favourites->setCheckable(true);
    m_favourites->setToolTip(QStringLiteral("F in Rot: es werden nur die als Favorit markierten Wertpapiere eingelesen"));
    m_correction = new QToolButton(this);
    m_correction->setObjectName(QStringLiteral("correction"));
    m_correction->setText(QStringLiteral("K"));
    m_correction->setCheckable(true);
    m_correction->setToolTip(QStringLiteral("Korrekturmodus => es wird versucht geänderte TV-Kennungen anzupassen"));
    m_interval = new QSpinBox(this);
    m_interval->setRange(0, 60);
    m_interval->setToolTip(QStringLiteral("Aktualisierungs-Interval in Minuten"));
    m_interval->setValue(std::clamp(window.session().values.integer(QStringLiteral("DDEMinuten")), 0, 60));
    m_log = new QPlainTextEdit(this);
    m_log->setReadOnly(true);
    m_log->setPlainText(QStringLiteral("Start anklicken um DDE - Abfrage zu beginnen oder zu ändern"));

    connect(m_start, &QPushButton::clicked, this, [this] { polling() ? Stop() : Start(); });
    connect(neu, &QPushButton::clicked, this, &IntradayPage::Neu);
    connect(eintragen, &QPushButton::clicked, this, &IntradayPage::Eintragen);
    connect(protokoll, &QPushButton::clicked, this, [this] {
        m_window.menu().videotext().protocol().show();
        m_window.menu().videotext().protocol().raise();
    });
    connect(m_source, &QToolButton::clicked, this, &IntradayPage::nextSource);
    connect(m_newSecurities, &QToolButton::toggled, this, &IntradayPage::showState);
    connect(m_favourites, &QToolButton::toggled, this, &IntradayPage::showState);
    connect(m_interval, &QSpinBox::valueChanged, this, [this](int minutes) {
        m_poller->setInterval(minutes);
        m_window.session().values.set(QStringLiteral("DDEMinuten"), SettingValue::integer(minutes));
    });
    m_poller->setInterval(m_interval->value());

    auto* row = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{m_start, m_interval, m_source, m_newSecurities, m_favourites, m_correction, neu, eintragen, protokoll})
        row->addWidget(w);
    row->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(row);
    layout->addWidget(m_log, 1);
    showState();
}

IntradayPage::~IntradayPage() = default;

void IntradayPage::showState() {
    const bool running = polling();
    m_start->setText(running ? QStringLiteral("Stop") : QStringLiteral("Start"));
    m_start->setToolTip(running ? QStringLiteral("einlesen stoppen") : QStringLiteral("Start"));
    switch (m_poller->source()) {
    case PollSource::Teletext: m_source->setText(QStringLiteral("VT")); m_source->setToolTip(kTeletext); break;
    case PollSource::Internet: m_source->setText(QStringLiteral("WWW")); m_source->setToolTip(kInternet); break;
    case PollSource::Network: m_source->setText(QStringLiteral("NET")); m_source->setToolTip(kNetwork); break;
    }
    m_newSecurities->setText(m_newSecurities->isChecked() ? QStringLiteral("+") : QStringLiteral("-"));
    m_newSecurities->setToolTip(m_newSecurities->isChecked() ? kNew : kNoNew);
    m_favourites->setStyleSheet(m_favourites->isChecked() ? QStringLiteral("color: red; font-weight: bold") : QString());
}

void IntradayPage::Start() {
    // The chosen source, as the source button last stored it (the automatic start too).
    m_poller->setSource(storedPollSource(m_window.session()));
    m_poller->start();
    showState();
}

void IntradayPage::Stop() {
    m_poller->stop();
    showState();
}

void IntradayPage::startAutomatically() {
    m_newSecurities->setChecked(false);
    Start();
}

void IntradayPage::nextSource() {
    m_poller->setSource(m_poller->source() == PollSource::Teletext   ? PollSource::Internet
                        : m_poller->source() == PollSource::Internet ? PollSource::Network
                                                                     : PollSource::Teletext);
    m_interval->setValue(0);
    if (Status st = storePollSource(m_window.session(), m_poller->source()); !st) m_window.showStatus(st.message());
    showState();
}

Status IntradayPage::fetch(PollSource source, bool dailyPrices) {
    m_log->clear();
    WindowHooks hooks(m_window);
    const PollOptions options{QString(), m_newSecurities->isChecked(), m_favourites->isChecked(), QString(), m_correction->isChecked()};
    showState();
    const ReadReport report = pollFetch(m_window.session(), source, dailyPrices, options, m_window.interaction(), hooks, m_window.progress());
    m_window.progressDone();
    m_log->setPlainText(report.log.join(QLatin1Char('\n')));
    if (!report.protocol.empty()) m_window.menu().videotext().protocol().setLists(report.protocol);
    // A polling loop shows failures in the status bar: a message box on every tick
    // would stop an unattended run.
    m_window.showStatus(report.status ? QStringLiteral("%1: gebucht %2, nicht zugeordnet %3, unplausibel %4")
                                            .arg(formatDateTime(now()))
                                            .arg(report.counts.booked)
                                            .arg(report.counts.unmatched)
                                            .arg(report.counts.implausible)
                                      : report.status.message());
    return report.status;
}

void IntradayPage::Neu() {
    if (m_window.interaction().ask(QStringLiteral("Intraday-Kurse löschen?"), QStringLiteral("Wollen Sie die Intraday-Kurse wirklich löschen")) !=
        Answer::Yes)
        return;
    auto report = intradayRollover(m_window.session().dirs, m_window.session().store);
    if (!report) m_window.interaction().tell(report.status().message());
    else m_window.showStatus(QStringLiteral("Intraday-Kurse archiviert: %1").arg(report->rows));
}

void IntradayPage::Eintragen() {
    if (m_window.interaction().ask(QStringLiteral("Intraday-Kurse eintragen?"),
                                   QStringLiteral("Wollen Sie die Intraday-Kurse wirklich in die Kursdatenbank übernehmen")) != Answer::Yes)
        return;
    auto report = commitIntradayPrices(m_window.session().store);
    if (!report) {
        m_window.interaction().tell(report.status().message());
        return;
    }
    m_window.showStatus(QStringLiteral("Tageskurse eingetragen: %1").arg(report->written));
    m_window.reopenViews();
}

}  // namespace q::ui
