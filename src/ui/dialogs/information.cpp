#include "ui/dialogs/information.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QVBoxLayout>

namespace q::ui {

QString versionText() { return QStringLiteral(QUINTARA_VERSION_TEXT); }

TInformation::TInformation(QWidget* owner) : QDialog(owner) {
    setWindowTitle(QStringLiteral("Info über Quintara"));
    auto* name = new QLabel(QStringLiteral("<h2>Quintara</h2>"), this);
    auto* version = new QLabel(QStringLiteral("Version %1").arg(versionText()), this);
    version->setObjectName(QStringLiteral("version"));
    auto* text = new QLabel(QStringLiteral("Aktienkurse sammeln, auswerten und das Depot bewerten."), this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    for (QLabel* l : {name, version, text}) {
        l->setAlignment(Qt::AlignHCenter);
        layout->addWidget(l);
    }
    layout->addWidget(buttons);
}

}  // namespace q::ui
