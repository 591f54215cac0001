#include "ui/dialogs/database_dialog.h"

#include "store/server_connection.h"
#include "ui/status_progress.h"

#include <QDialogButtonBox>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

namespace q::ui {

DatabaseDialog::DatabaseDialog(QWidget* owner, const QString& current) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Einstellung Datenbank"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Verbindung zum Datenbankserver (leer: die Tabellendateien):"), this));
    m_uri = new QLineEdit(current, this);
    m_uri->setObjectName(QStringLiteral("uri"));
    m_uri->setPlaceholderText(QStringLiteral("postgresql://benutzer@rechner:5432/datenbank"));
    m_uri->setMinimumWidth(420);
    layout->addWidget(m_uri);
    auto* hint = new QLabel(QStringLiteral("Das Kennwort gehört in ~/.pgpass, nicht in die Angabe. "
                                           "Die Einstellung gilt ab dem nächsten Programmstart."),
                            this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("result"));
    m_result->setWordWrap(true);
    m_result->setMinimumHeight(3 * fontMetrics().lineSpacing());
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_result);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    QPushButton* tryIt = buttons->addButton(QStringLiteral("Verbindung prüfen"), QDialogButtonBox::ActionRole);
    tryIt->setObjectName(QStringLiteral("check"));
    connect(tryIt, &QPushButton::clicked, this, &DatabaseDialog::check);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

QString DatabaseDialog::uri() const { return m_uri->text().trimmed(); }

QString DatabaseDialog::checkResult() const { return m_result->text(); }

void DatabaseDialog::check() {
    if (uri().isEmpty()) {
        m_result->setText(QStringLiteral("Die Tabellen liegen in den Tabellendateien."));
        return;
    }
    // A server that does not answer takes up to its connect timeout: the attempt runs
    // beside the window, which keeps painting meanwhile.
    WaitCursor wait;
    m_result->setText(QStringLiteral("Verbindung wird geprüft …"));
    setEnabled(false);
    const QString wanted = uri();
    QString answer;
    QThread* attempt = QThread::create([&answer, wanted] {
        auto server = ServerConnection::open(wanted);
        answer = server ? QStringLiteral("Datenbankserver %1 erreichbar").arg((*server)->server()) : server.status().message();
    });
    QEventLoop waiting;
    connect(attempt, &QThread::finished, &waiting, &QEventLoop::quit);
    attempt->start();
    waiting.exec(QEventLoop::ExcludeUserInputEvents);
    attempt->wait();
    delete attempt;
    setEnabled(true);
    m_result->setText(answer);
    // A long answer (the server's reason) gets the lines it needs.
    adjustSize();
}

}  // namespace q::ui
