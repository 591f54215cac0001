#include "ui/dialogs/data_directory_dialog.h"

#include "ui/dialog_interaction.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace q::ui {

DataDirectoryDialog::DataDirectoryDialog(QWidget* owner, const QString& current, const QStringList& recent, Texts texts)
    : QDialog(owner), m_texts(std::move(texts)) {
    setWindowTitle(m_texts.title);
    m_box = new QComboBox(this);
    m_box->setEditable(true);
    m_box->setMinimumWidth(420);
    // Most recent first, as a drop-down shows it.
    for (auto it = recent.rbegin(); it != recent.rend(); ++it) m_box->addItem(*it);
    m_box->setCurrentText(current);
    auto* browse = new QPushButton(QStringLiteral("Durchsuchen..."), this);
    connect(browse, &QPushButton::clicked, this, &DataDirectoryDialog::browse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(m_box, 1);
    row->addWidget(browse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(m_texts.label, this));
    layout->addLayout(row);
    layout->addWidget(buttons);
}

QString DataDirectoryDialog::directory() const { return m_box->currentText().trimmed(); }

void DataDirectoryDialog::browse() {
    const QString start = m_texts.proposedFile.isEmpty() ? directory() : QDir(directory()).filePath(m_texts.proposedFile);
    const QString title = m_texts.browseTitle.isEmpty() ? windowTitle() : m_texts.browseTitle;
    // A depot may be a new folder: the name typed need not exist yet.
    const QString file = m_texts.proposedFile.isEmpty()
                             ? QFileDialog::getOpenFileName(this, title, start, qtFileFilter(m_texts.filter))
                             : QFileDialog::getSaveFileName(this, title, start, qtFileFilter(m_texts.filter), nullptr,
                                                            QFileDialog::DontConfirmOverwrite);
    if (!file.isEmpty()) m_box->setCurrentText(QFileInfo(file).absolutePath() + QLatin1Char('/'));
}

}  // namespace q::ui
