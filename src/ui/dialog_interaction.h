// The window's answer to the core's questions: message boxes, input boxes and file
// dialogs over the main window; in unattended mode no box at all (every question
// gets No, messages go to stderr), because nobody is there to click.
#pragma once

#include "base/interaction.h"

#include <QPointer>
#include <QWidget>
#include <functional>

namespace q::ui {

// "Beschreibung|muster;muster" as a Qt file filter "Beschreibung (muster muster)".
QString qtFileFilter(const QString& filter);

class DialogInteraction final : public Interaction {
public:
    explicit DialogInteraction(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }
    void setUnattended(bool unattended) { m_unattended = unattended; }
    // Where status() texts go (the main window's status bar).
    void setStatusSink(std::function<void(const QString&)> sink) { m_statusSink = std::move(sink); }

    Answer ask(const QString& title, const QString& text, Answer defaultAnswer) override;
    void tell(const QString& text, const QString& title) override;
    std::optional<QString> input(const QString& title, const QString& prompt, bool secret) override;
    std::optional<QString> chooseFile(const QString& title, const QString& filter, const QString& start) override;
    std::optional<QString> chooseDirectory(const QString& title, const QString& start) override;
    void status(const QString& text) override;

private:
    QPointer<QWidget> m_parent;
    bool m_unattended = false;
    std::function<void(const QString&)> m_statusSink;
};

}  // namespace q::ui
