#include "support/test_server.h"

#include "store/server_connection.h"

#include <QCoreApplication>
#include <QTcpServer>
#include <QUrl>
#include <atomic>

namespace qtest {

namespace {

std::atomic<int> g_counter{0};

}  // namespace

QString TestServerDatabase::clusterUri() { return qEnvironmentVariable("QUINTARA_TEST_DATABASE"); }

TestServerDatabase::TestServerDatabase() {
    const QString cluster = clusterUri();
    if (cluster.isEmpty()) {
        m_reason = QStringLiteral("kein Test-Server (QUINTARA_TEST_DATABASE; tools/test.sh startet einen)");
        return;
    }
    m_name = QStringLiteral("t_%1_%2").arg(QCoreApplication::applicationPid()).arg(g_counter++);
    auto c = q::ServerConnection::open(cluster);
    if (!c) {
        m_reason = c.status().message();
        return;
    }
    if (q::Status s = (*c)->exec(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(m_name)); !s) {
        m_reason = s.message();
        return;
    }
    if (q::Status s = (*c)->exec(QStringLiteral("CREATE DATABASE %1").arg(m_name)); !s) {
        m_reason = s.message();
        return;
    }
    QUrl url(cluster);
    url.setPath(QLatin1Char('/') + m_name);
    m_uri = url.toString();
}

TestServerDatabase::~TestServerDatabase() {
    if (m_uri.isEmpty()) return;
    if (auto c = q::ServerConnection::open(clusterUri()))
        (void)(*c)->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_name));
}

QString unreachableServerUri() {
    // A port that was free a moment ago: nothing listens there.
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return QStringLiteral("postgresql://quintara@127.0.0.1:%1/quintara?connect_timeout=2").arg(port);
}

}  // namespace qtest
