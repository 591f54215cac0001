// The PostgreSQL cluster the test command starts (tools/test-server.sh): its URI
// comes in QUINTARA_TEST_DATABASE. Each test gets a database of its own, dropped
// when it ends, so tests running in parallel never see each other's schemas.
#pragma once

#include <QString>

namespace qtest {

class TestServerDatabase {
public:
    // Creates the database; uri() stays empty when no cluster was started (the
    // caller skips) or the database cannot be made (reason()).
    TestServerDatabase();
    ~TestServerDatabase();
    TestServerDatabase(const TestServerDatabase&) = delete;
    TestServerDatabase& operator=(const TestServerDatabase&) = delete;

    const QString& uri() const { return m_uri; }
    const QString& reason() const { return m_reason; }
    // The cluster's maintenance URI; empty without a cluster.
    static QString clusterUri();

private:
    QString m_name;
    QString m_uri;
    QString m_reason;
};

// A URI of a server that refuses connections (a port nothing listens on).
QString unreachableServerUri();

}  // namespace qtest

// Skips the test when the test command started no cluster.
#define QTEST_NEEDS_SERVER(db)                                                              \
    do {                                                                                    \
        if ((db).uri().isEmpty()) GTEST_SKIP() << (db).reason().toStdString();              \
    } while (0)
