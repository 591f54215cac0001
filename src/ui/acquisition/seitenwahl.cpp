#include "ui/acquisition/seitenwahl.h"

#include "acquisition/scripts.h"
#include "acquisition/stations.h"
#include "app/acquisition_binding.h"
#include "base/formats.h"
#include "base/text_files.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace q::ui {

namespace {

QString lineOf(const PageEntry& p) {
    return QStringLiteral("%1  %2-%3  %4  %5").arg(p.Seitename.trimmed()).arg(p.SeitenVon).arg(p.Seitenbis).arg(p.Filter, p.Beschreibung);
}

QPushButton* button(const QString& text, const QString& tip, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setToolTip(tip);
    return b;
}

}  // namespace

TSeitenwahl::TSeitenwahl(PageDialog kind, Session& session, Interaction& ui, const QString& programPath, QWidget* owner)
    : QDialog(owner), m_kind(kind), m_session(session), m_ui(ui), m_programPath(programPath),
      m_file(kind == PageDialog::Daily ? kDailyPages : kIntradayPages) {
    const bool daily = kind == PageDialog::Daily;
    setObjectName(daily ? QStringLiteral("TTVSeitenwahl") : QStringLiteral("TDEESeitenwahl"));
    setWindowTitle(daily ? QStringLiteral("Script Erstellung für tägliches Einlesen der Kurse") : QStringLiteral("Script für das Einlesen der Intraday-Kurse"));
    const Einstellungen& v = session.values;

    m_station = new QComboBox(this);
    m_station->addItems(session.stations);
    // The intraday station field may hold any identifier the receiver knows.
    m_station->setEditable(!daily);
    const int preset = daily ? int(stationNames().indexOf(v.text(QStringLiteral("KursSender")))) : int(session.stations.indexOf(v.text(QStringLiteral("DDESender"))));
    if (preset >= 0) m_station->setCurrentIndex(preset);
    else if (!daily) m_station->setCurrentText(v.text(QStringLiteral("DDESender")));

    m_predefined = new QListWidget(this);
    m_active = new QListWidget(this);
    m_name = new QLineEdit(this);
    m_name->setMaxLength(12);
    m_from = new QSpinBox(this);
    m_to = new QSpinBox(this);
    for (QSpinBox* s : {m_from, m_to}) s->setRange(0, 99);
    m_from->setValue(1);
    m_to->setValue(2);
    m_filter = new QLineEdit(this);
    m_description = new QLineEdit(this);
    m_description->setMaxLength(30);

    auto* edit = new QFormLayout;
    edit->addRow(QStringLiteral("Seite"), m_name);
    edit->addRow(QStringLiteral("erste Seite"), m_from);
    edit->addRow(QStringLiteral("letzte Seite"), m_to);
    edit->addRow(QStringLiteral("Filter"), m_filter);
    edit->addRow(QStringLiteral("Beschreibung"), m_description);

    auto* take = button(QStringLiteral("Bearbeiten"), QStringLiteral("Übernahme des Listenwertes zum Bearbeiten"), this);
    auto* store = button(QStringLiteral("Eintragen"), QStringLiteral("Eintragen des bearbeiteten Wertes in Auswahl-Liste"), this);
    auto* remove = button(QStringLiteral("Löschen"), QStringLiteral("Löschen/bearbeiten des markierten Wertes aus der Liste"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(take);
    buttons->addWidget(store);
    buttons->addWidget(remove);
    if (!daily) {
        auto* copy = button(QStringLiteral("<"), QStringLiteral("In die Standardseiten eintragen"), this);
        buttons->addWidget(copy);
        connect(copy, &QPushButton::clicked, this, &TSeitenwahl::copyToPredefined);
    }
    connect(take, &QPushButton::clicked, this, &TSeitenwahl::takeForEditing);
    connect(store, &QPushButton::clicked, this, &TSeitenwahl::storeEdited);
    connect(remove, &QPushButton::clicked, this, &TSeitenwahl::removeMarked);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("Standardseiten"), this));
    left->addWidget(m_predefined);
    auto* right = new QVBoxLayout;
    right->addWidget(new QLabel(QStringLiteral("Auswahl-Liste"), this));
    right->addWidget(m_active);
    right->addLayout(edit);
    right->addLayout(buttons);
    auto* lists = new QHBoxLayout;
    lists->addLayout(left, 1);
    lists->addLayout(right, 1);

    auto* options = new QFormLayout;
    options->addRow(QStringLiteral("Sender"), m_station);
    if (daily) {
        m_alternative = new QCheckBox(QStringLiteral("Alternative Senderkennung verwenden"), this);
        m_alternativeId = new QLineEdit(QStringLiteral("0011"), this);
        m_alternativeId->setToolTip(QStringLiteral("Die Kennung, die VTPlus im Titel der Seiten verwendet, z.B. \"C11_\""));
        m_startAfter = new QCheckBox(QStringLiteral("Nach Beendigung Quintara Starten und Kurse einlesen"), this);
        options->addRow(m_alternative, m_alternativeId);
        options->addRow(m_startAfter);
        auto* dvb = new QGroupBox(QStringLiteral("DVB-Empfang"), this);
        m_stream = new QLineEdit(v.text(QStringLiteral("DVBQuelle")), dvb);
        m_stream->setPlaceholderText(QStringLiteral("/dev/dvb/adapter0/dvr0 oder aufnahme.ts"));
        m_stream->setToolTip(QStringLiteral("Transportstrom, aus dem der eingebaute Dekoder die Tagesseiten liest; den Sender stellt dvbv5-zap ein"));
        m_seconds = new QSpinBox(dvb);
        m_seconds->setRange(1, 3600);
        m_seconds->setValue(std::max(1, v.integer(QStringLiteral("DVBSekunden"))));
        m_seconds->setSuffix(QStringLiteral(" s"));
        auto* dvbLayout = new QFormLayout(dvb);
        dvbLayout->addRow(QStringLiteral("Datenstrom"), m_stream);
        dvbLayout->addRow(QStringLiteral("Lesedauer"), m_seconds);
        options->addRow(dvb);
    } else {
        m_end = new QCheckBox(QStringLiteral("Beenden des Einlesens"), this);
        m_end->setChecked(v.truth(QStringLiteral("DDEENDE")));
        m_endTime = new QTimeEdit(parseTime(v.text(QStringLiteral("DDETIME"))).value_or(QTime(22, 32)), this);
        m_endTime->setDisplayFormat(QStringLiteral("HH:mm"));
        options->addRow(m_end, m_endTime);
    }

    auto* close = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(close, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(options);
    layout->addLayout(lists, 1);
    layout->addWidget(close);
    resize(860, 560);

    connect(m_station, &QComboBox::currentTextChanged, this, [this] { fillLists(); });
    connect(m_predefined, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < int(m_predefinedPages.size())) showForEditing(m_predefinedPages[size_t(row)]);
    });
}

bool TSeitenwahl::prepare() {
    if (m_session.values.text(QStringLiteral("VTDatei")).isEmpty()) {
        m_ui.tell(QStringLiteral("Rufen Sie zuerst Einstellungen->Einlese-Optionen auf"));
        return false;
    }
    for (const QString& file : {kPredefinedPages, m_file}) {
        if (Status st = preparePageTable(m_session.store, file, m_kind, m_ui); !st) {
            tell(st);
            return false;
        }
    }
    fillLists();
    return true;
}

QString TSeitenwahl::chosenStation() const {
    const QString text = m_station->currentText().trimmed();
    return isSeveralStations(m_session.stations, text) ? kSeveralStations : text;
}

void TSeitenwahl::fillLists() {
    const QString station = chosenStation();
    auto predefined = readPages(m_session.store, kPredefinedPages, station);
    auto active = readPages(m_session.store, m_file, station);
    if (!predefined || !active) {
        tell(!predefined ? predefined.status() : active.status());
        return;
    }
    m_predefinedPages = *predefined;
    m_activePages = *active;
    m_predefined->clear();
    for (const PageEntry& p : m_predefinedPages) m_predefined->addItem(lineOf(p));
    m_active->clear();
    for (const PageEntry& p : m_activePages) m_active->addItem(lineOf(p));
}

void TSeitenwahl::tell(const Status& status) { m_ui.tell(status.message()); }

void TSeitenwahl::showForEditing(const PageEntry& p) {
    m_name->setText(p.Seitename.trimmed());
    m_from->setValue(p.SeitenVon);
    m_to->setValue(p.Seitenbis);
    m_filter->setText(p.Filter);
    m_description->setText(p.Beschreibung);
}

PageEntry TSeitenwahl::edited() const {
    const QString name = m_name->text().trimmed();
    return {m_description->text(), stationOfPageName(name), name, m_from->value(), m_to->value(), m_filter->text().trimmed()};
}

void TSeitenwahl::takeForEditing() {
    const int row = m_active->currentRow();
    if (row >= 0 && row < int(m_activePages.size())) showForEditing(m_activePages[size_t(row)]);
}

bool TSeitenwahl::storeEdited() {
    const PageEntry page = edited();
    if (page.Seitename.size() < 4) {
        m_ui.tell(QStringLiteral("Der Seitenname besteht aus der Senderkennung und der dreistelligen Seitennummer, z.B. ZDF200"));
        return false;
    }
    Status st = checkPage(page, m_kind, withSlash(m_session.values.text(QStringLiteral("FilterPath"))));
    if (st) st = addPage(m_session.store, m_file, page);
    if (!st) {
        tell(st);
        return false;
    }
    fillLists();
    return true;
}

void TSeitenwahl::removeMarked() {
    const int row = m_active->currentRow();
    if (row < 0 || row >= int(m_activePages.size())) return;
    takeForEditing();
    if (Status st = removePage(m_session.store, m_file, m_activePages[size_t(row)]); !st) tell(st);
    fillLists();
}

void TSeitenwahl::copyToPredefined() {
    const PageEntry page = edited();
    if (page.Seitename.isEmpty()) return;
    if (m_ui.ask(QStringLiteral("Standardseiten"), QStringLiteral("Soll die Seite ") + m_description->text() +
                                                       QStringLiteral(" in die Standardseiten eingetragen werden?")) != Answer::Yes)
        return;
    if (Status st = addPage(m_session.store, kPredefinedPages, page); !st) tell(st);
    fillLists();
}

void TSeitenwahl::done(int result) {
    if (result == QDialog::Accepted) {
        Einstellungen& v = m_session.values;
        const ReadingSettings before = readingSettings(m_session, m_programPath);
        if (m_kind == PageDialog::Daily) {
            const int slot = std::max(0, m_station->currentIndex());
            v.set(QStringLiteral("KursSender"), SettingValue::text(stationNames()[slot]));
            if (m_stream->text().trimmed() != before.dvbQuelle || m_seconds->value() != before.dvbSekunden)
                if (Status st = storeDvbSource(m_session, m_stream->text().trimmed(), m_seconds->value(), before.dvbPid); !st) tell(st);
            if (m_ui.ask(QStringLiteral("Kurs-Script neu?"), QStringLiteral("Kurs-Script zum täglichen Einlesen neu schreiben?")) == Answer::Yes) {
                DailyScriptOptions o;
                o.station = slot == 3 ? kSeveralStations : m_session.stations.value(slot);
                o.alternative = m_alternative->isChecked();
                o.alternativeId = m_alternativeId->text().trimmed();
                o.startAfter = m_startAfter->isChecked();
                if (Status st = writeDailyScript(m_session.store, readingSettings(m_session, m_programPath), o); !st) tell(st);
            }
        } else {
            v.set(QStringLiteral("DDESender"), SettingValue::text(m_station->currentText().trimmed()));
            v.set(QStringLiteral("DDEENDE"), SettingValue::truth(m_end->isChecked()));
            v.set(QStringLiteral("DDETIME"), SettingValue::text(formatTime(m_endTime->time())));
            if (m_ui.ask(QStringLiteral("Intraday-Script neu?"), QStringLiteral("Soll das Intraday-Script aktualisiert werden?")) == Answer::Yes)
                if (Status st = writeIntradayScript(m_session.store, readingSettings(m_session, m_programPath), chosenStation(),
                                                    m_end->isChecked(), m_endTime->time());
                    !st)
                    tell(st);
        }
    }
    QDialog::done(result);
}

}  // namespace q::ui
