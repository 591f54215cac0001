#include "ui/dialog_interaction.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>

namespace q::ui {

namespace {

QString boxTitle(const QString& title) { return title.isEmpty() ? QStringLiteral("Quintara") : title; }

// A window title holds a few words; a window manager cuts a longer one to
// "Soll die Textd…n?". A title that is a sentence (a question, or longer than a
// short caption) goes into the box above the text, and the program's name stays
// in the title bar.
constexpr qsizetype kShortTitle = 24;

struct Shown {
    QString title;
    QString text;
};

Shown shown(const QString& title, const QString& text) {
    const bool sentence = title.size() > kShortTitle || title.trimmed().endsWith(QLatin1Char('?'));
    if (!sentence) return {boxTitle(title), text};
    if (text.isEmpty() || text.contains(title.trimmed())) return {QStringLiteral("Quintara"), text.isEmpty() ? title : text};
    return {QStringLiteral("Quintara"), title + QStringLiteral("\n\n") + text};
}

}  // namespace

QString qtFileFilter(const QString& filter) {
    const qsizetype bar = filter.indexOf(QLatin1Char('|'));
    if (bar < 0) return filter;
    QStringList patterns = filter.mid(bar + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    // Table files come in any letter case from the Windows installations.
    const QStringList given = patterns;
    for (const QString& p : given) {
        if (!patterns.contains(p.toUpper())) patterns << p.toUpper();
        const QString capital = p.left(1).toUpper() + p.mid(1);
        if (!patterns.contains(capital)) patterns << capital;
    }
    return QStringLiteral("%1 (%2)").arg(filter.left(bar), patterns.join(QLatin1Char(' ')));
}

Answer DialogInteraction::ask(const QString& title, const QString& text, Answer defaultAnswer) {
    if (m_unattended) {
        std::fprintf(stderr, "%s (Nein)\n", qUtf8Printable(text));
        return Answer::No;
    }
    const Shown s = shown(title, text);
    QMessageBox box(QMessageBox::Question, s.title, s.text, QMessageBox::Yes | QMessageBox::No, m_parent);
    // German captions whether or not Qt's own translations are installed.
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
    box.setDefaultButton(defaultAnswer == Answer::Yes ? QMessageBox::Yes : QMessageBox::No);
    return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

void DialogInteraction::tell(const QString& text, const QString& title) {
    if (m_unattended) {
        std::fprintf(stderr, "%s\n", qUtf8Printable(text));
        return;
    }
    const Shown s = shown(title, text);
    QMessageBox::information(m_parent, s.title, s.text);
}

std::optional<QString> DialogInteraction::input(const QString& title, const QString& prompt, bool secret) {
    if (m_unattended) return std::nullopt;
    bool ok = false;
    const Shown s = shown(title, prompt);
    const QString text =
        QInputDialog::getText(m_parent, s.title, s.text, secret ? QLineEdit::Password : QLineEdit::Normal, QString(), &ok);
    if (!ok) return std::nullopt;
    return text;
}

std::optional<QString> DialogInteraction::chooseFile(const QString& title, const QString& filter, const QString& start) {
    if (m_unattended) return std::nullopt;
    const QString file = QFileDialog::getOpenFileName(m_parent, title, start, qtFileFilter(filter));
    if (file.isEmpty()) return std::nullopt;
    return file;
}

std::optional<QString> DialogInteraction::chooseDirectory(const QString& title, const QString& start) {
    if (m_unattended) return std::nullopt;
    const QString dir = QFileDialog::getExistingDirectory(m_parent, title, start);
    if (dir.isEmpty()) return std::nullopt;
    return dir;
}

void DialogInteraction::status(const QString& text) {
    if (m_statusSink) m_statusSink(text);
    else if (m_unattended) std::fprintf(stderr, "%s\n", qUtf8Printable(text));
}

}  // namespace q::ui
