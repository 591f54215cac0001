#include "base/interaction.h"

namespace q {

Answer UnattendedInteraction::ask(const QString&, const QString& text, Answer) {
    m_log << QStringLiteral("Frage: %1 -> %2").arg(text.trimmed(), m_fixed == Answer::Yes ? QStringLiteral("Ja") : QStringLiteral("Nein"));
    return m_fixed;
}

void UnattendedInteraction::tell(const QString& text, const QString&) {
    m_log << QStringLiteral("Meldung: ") + text;
    m_messages << text;
}

void UnattendedInteraction::status(const QString& text) { m_log << QStringLiteral("Status: ") + text; }

Answer ScriptedInteraction::ask(const QString& title, const QString& text, Answer) {
    titles << title;
    questions << text;
    if (answers.empty()) return Answer::No;
    const Answer a = answers.front();
    answers.pop_front();
    return a;
}

void ScriptedInteraction::tell(const QString& text, const QString&) { messages << text; }

std::optional<QString> ScriptedInteraction::input(const QString&, const QString& prompt, bool) {
    questions << prompt;
    if (inputs.empty()) return std::nullopt;
    auto v = inputs.front();
    inputs.pop_front();
    return v;
}

std::optional<QString> ScriptedInteraction::chooseFile(const QString&, const QString&, const QString&) {
    if (inputs.empty()) return std::nullopt;
    auto v = inputs.front();
    inputs.pop_front();
    return v;
}

std::optional<QString> ScriptedInteraction::chooseDirectory(const QString& title, const QString& start) {
    return chooseFile(title, QString(), start);
}

int ScriptedInteraction::choose(const QString& title, const QString& text, const QStringList&, int defaultChoice) {
    titles << title;
    questions << text;
    if (choices.empty()) return defaultChoice;
    const int c = choices.front();
    choices.pop_front();
    return c;
}

}  // namespace q
