// The one way the core asks or tells the user something. The window answers with
// dialogs, unattended jobs by rule (UnattendedInteraction), tests by script
// (ScriptedInteraction). Long work reports through a Progress sink.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

namespace q {

enum class Answer { Yes, No };

class Interaction {
public:
    virtual ~Interaction() = default;
    // A yes/no question with its box title; `defaultAnswer` is the preselected button.
    virtual Answer ask(const QString& title, const QString& text, Answer defaultAnswer = Answer::Yes) = 0;
    // A message the user acknowledges (information, warning or error alike).
    virtual void tell(const QString& text, const QString& title = QString()) = 0;
    // A line of text; nullopt when the user cancels. `secret` hides what is typed.
    virtual std::optional<QString> input(const QString& title, const QString& prompt, bool secret = false) = 0;
    // A file to open; `filter` as "Beschreibung|muster;muster". nullopt on cancel.
    virtual std::optional<QString> chooseFile(const QString& title, const QString& filter, const QString& start) = 0;
    // A directory, starting at `start`; nullopt on cancel. Where nobody can choose
    // (unattended), the answer is a cancel.
    virtual std::optional<QString> chooseDirectory(const QString& title, const QString& start) {
        Q_UNUSED(title);
        Q_UNUSED(start);
        return std::nullopt;
    }
    // One of several answers, given as button captions; returns the index of the one
    // chosen, or -1 for a cancel. Where nobody can choose (unattended), the answer is
    // `defaultChoice`.
    virtual int choose(const QString& title, const QString& text, const QStringList& choices, int defaultChoice = 0) {
        Q_UNUSED(title);
        Q_UNUSED(text);
        Q_UNUSED(choices);
        return defaultChoice;
    }
    // A short state text for the status bar (window) or the log (jobs).
    virtual void status(const QString& text) = 0;
};

// Progress of a long pass; `cancelRequested` lets the user stop it between items.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void step(const QString& text, qint64 done, qint64 total) = 0;
    virtual bool cancelRequested() { return false; }
};

// Line-by-line imports name only every kStepLines-th line in the progress: building the
// text costs more than booking the line, and nobody reads faster than that.
constexpr qint64 kStepLines = 64;

class NoProgress final : public Progress {
public:
    void step(const QString&, qint64, qint64) override {}
};

// Unattended jobs: never a question. Every question gets the fixed answer (No unless
// the job was started with --yes); messages and status lines are collected in order.
class UnattendedInteraction final : public Interaction {
public:
    explicit UnattendedInteraction(Answer fixed = Answer::No) : m_fixed(fixed) {}
    Answer ask(const QString& title, const QString& text, Answer) override;
    void tell(const QString& text, const QString& title) override;
    std::optional<QString> input(const QString&, const QString&, bool) override { return std::nullopt; }
    std::optional<QString> chooseFile(const QString&, const QString&, const QString&) override { return std::nullopt; }
    void status(const QString& text) override;

    // Everything said, as "Frage: …", "Meldung: …" and "Status: …" lines.
    const QStringList& log() const { return m_log; }
    // The messages only (what a window would have shown in boxes).
    const QStringList& messages() const { return m_messages; }

private:
    Answer m_fixed;
    QStringList m_log;
    QStringList m_messages;
};

// Tests: answers come from a queue (No when it runs dry); everything asked and
// told is recorded for the test to compare.
class ScriptedInteraction final : public Interaction {
public:
    std::deque<Answer> answers;
    std::deque<std::optional<QString>> inputs;
    std::deque<int> choices;  // answers of choose(); the default choice when it runs dry
    QStringList questions;  // the texts asked
    QStringList titles;     // the titles of the questions asked
    QStringList messages;   // the texts told
    QStringList statusLines;

    Answer ask(const QString& title, const QString& text, Answer) override;
    void tell(const QString& text, const QString& title) override;
    std::optional<QString> input(const QString& title, const QString& prompt, bool secret) override;
    std::optional<QString> chooseFile(const QString&, const QString&, const QString&) override;
    // Takes its answer from `inputs` too.
    std::optional<QString> chooseDirectory(const QString& title, const QString& start) override;
    int choose(const QString& title, const QString& text, const QStringList& options, int defaultChoice) override;
    void status(const QString& text) override { statusLines << text; }
};

}  // namespace q
