// Questions on the terminal, for `quintara-cli --interactive`.
#pragma once

#include "base/interaction.h"

namespace q::cli {

class TerminalInteraction final : public Interaction {
public:
    Answer ask(const QString& title, const QString& text, Answer defaultAnswer) override;
    void tell(const QString& text, const QString& title) override;
    std::optional<QString> input(const QString& title, const QString& prompt, bool secret) override;
    std::optional<QString> chooseFile(const QString& title, const QString& filter, const QString& start) override;
    std::optional<QString> chooseDirectory(const QString& title, const QString& start) override;
    void status(const QString& text) override;
    QStringList messages;
};

}  // namespace q::cli
