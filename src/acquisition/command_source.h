// Pages from a command: for receivers this program does not know, a command the
// user configures prints the page text. The command (`DDESERVER`) and its argument
// (`DDETopic`, then `DDEItem`) may hold the templates "[Seite]" (page number),
// "[Unter]" (two-digit subpage) and "[SeiteName]" (the page name).
#pragma once

#include "acquisition/page_source.h"
#include "base/interaction.h"

#include <QStringList>

namespace q {

// The command line for a request: the command split into words (double quotes keep
// a word with blanks together), then the topic and the item when they are not
// empty, each with its templates filled. Empty when the command is empty.
QStringList pageCommandLine(const QString& command, const QString& topic, const QString& item, const PageRequest& request);

class CommandPageSource final : public PageSource {
public:
    // `timeoutMs`: how long one page may take. `progress` keeps the window painted
    // while the command runs.
    CommandPageSource(QString command, QString topic, QString item, Progress& progress, int timeoutMs = 15000)
        : m_command(std::move(command)), m_topic(std::move(topic)), m_item(std::move(item)), m_progress(progress), m_timeoutMs(timeoutMs) {}

    // The command's standard output (UTF-8 or Windows-1252) is the page text; an exit
    // status other than 0 or no output means the page is not available. Fails Io
    // with "Konnte … nicht starten!!" when the command cannot be started, and Busy
    // when it runs longer than the time limit (it is ended).
    Result<std::optional<QString>> fetch(const PageRequest& request) override;

private:
    QString m_command;
    QString m_topic;
    QString m_item;
    Progress& m_progress;
    int m_timeoutMs;
};

}  // namespace q
