// Pages from the files a receiver program exports: the receiver directory, then a
// folder per station, then "VT" + page + "-" + two-digit subpage + ".txt"
// ("ZDF/VT200-00.txt"). Names are found whatever their letter case.
#pragma once

#include "acquisition/page_source.h"

#include <QDate>

namespace q {

// The page file of a request in `receiverDir`, found whatever its letter case; the
// path in the given spelling when there is none yet.
QString pageFilePath(const QString& receiverDir, const PageRequest& request);

class PageFileSource final : public PageSource {
public:
    PageFileSource(QString receiverDir, QDate today) : m_dir(std::move(receiverDir)), m_today(today) {}
    // The file's lines (each cut at 1024 characters). A file from before today is an
    // old page: it is deleted and the page counts as not available.
    Result<std::optional<QString>> fetch(const PageRequest& request) override;

private:
    QString m_dir;
    QDate m_today;
};

}  // namespace q
