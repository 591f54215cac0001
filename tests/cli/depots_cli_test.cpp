// Depots as a user manages them with quintara-cli: create, choose, the recent list,
// importing another depot's lots as linked lots, the password gate and deleting.
#include "cli/cli_fixture.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>

using namespace q;

namespace {

class DepotsCli : public CliTest {
protected:
    QString passwordFile(const QString& name, const QByteArray& text) {
        const QString path = home + name;
        qtest::writeFile(path, text);
        return path;
    }
};

}  // namespace

TEST_F(DepotsCli, CreateChooseAndTheLastTen) {
    QJsonObject r = json({"depot-create", "Familie", "--start", "01.01.2024"});
    const QString familie = home + "Familie/";
    EXPECT_EQ(r["depot"].toString(), familie);
    EXPECT_EQ(r["caption"].toString(), "Quintara - Familie");
    EXPECT_TRUE(QFile::exists(familie + "Transaktionen.db"));
    EXPECT_TRUE(QFile::exists(familie + "Anlagen.DB") || QFile::exists(familie + "Anlagen.db"));
    EXPECT_EQ(json({"depot-list"})["depot"].toString(), familie);
    // Nothing booked yet, and the home depot's lots stay where they are.
    EXPECT_EQ(json({"lots", "--all"})["lots"].toArray().size(), 0);

    // Eleven depots: the first drops out, the newest is Depotpath9.
    for (int i = 1; i <= 11; ++i) json({"depot-use", QStringLiteral("D%1").arg(i)});
    const QJsonArray recent = json({"depot-list"})["recent"].toArray();
    ASSERT_EQ(recent.size(), 10);
    EXPECT_EQ(recent[0].toObject()["dir"].toString(), home + "D2/");
    EXPECT_EQ(recent[9].toObject()["dir"].toString(), home + "D11/");
    // Choosing a picked Transaktionen.db means its folder; a known one is not added twice.
    json({"depot-use", home + "D5/Transaktionen.db"});
    EXPECT_EQ(json({"depot-list"})["depot"].toString(), home + "D5/");
    EXPECT_EQ(json({"depot-list"})["recent"].toArray().size(), 10);

    EXPECT_EQ(run({"depot-create", "", "--start", "01.01.2024"}).exitCode, 1);
    EXPECT_TRUE(run({"depot-create", "", "--start", "01.01.2024"}).err.contains("Fehler in Verzeichnisname"));
    EXPECT_EQ(run({"depot-create", "X"}).exitCode, 1);  // no start date
    // An unwritable place: the old depot stays.
    EXPECT_NE(run({"depot-use", "/proc/quintara-depot"}).exitCode, 0);
    EXPECT_EQ(json({"depot-list"})["depot"].toString(), home + "D5/");
}

TEST_F(DepotsCli, ImportedLotsAreLinkedAndSellInBothDepots) {
    security("Alpha AG");
    // Familie's lot of a known security.
    json({"depot-create", "Familie", "--start", "01.01.2024"});
    json({"buy", "Alpha AG", "--shares", "10", "--price", "50", "--date", "02.01.2024"});
    json({"depot-use", home});
    QJsonObject r = json({"depot-import", home + "Familie/Transaktionen.db"});
    EXPECT_EQ(r["added"].toInt(), 1);
    EXPECT_EQ(r["linked"].toInt(), 1);
    QJsonArray lots = json({"lots", "--all"})["lots"].toArray();
    ASSERT_EQ(lots.size(), 1);
    EXPECT_EQ(lots[0].toObject()["text"].toString(), "Familie");
    EXPECT_EQ(lots[0].toObject()["firma"].toInt(), 1);
    // A second import adds nothing; the depot into itself is refused.
    EXPECT_EQ(json({"depot-import", home + "Familie"})["added"].toInt(), 0);
    auto self = run({"depot-import", home + "Transaktionen.db"});
    EXPECT_EQ(self.exitCode, 1);
    EXPECT_TRUE(self.err.contains("Das Depot kann nicht in sich selbst eingelesen werden")) << self.err.toStdString();
    // Selling it here closes it in Familie too.
    json({"sell", "Alpha AG", "--shares", "10", "--price", "60", "--date", "03.06.2024"});
    json({"depot-use", "Familie"});
    lots = json({"lots", "--all"})["lots"].toArray();
    ASSERT_EQ(lots.size(), 1);
    EXPECT_EQ(lots[0].toObject()["saleDate"].toString(), "03.06.2024");
}

TEST_F(DepotsCli, APasswordGatesTheDepot) {
    security("Alpha AG");
    json({"buy", "Alpha AG", "--shares", "1", "--price", "10", "--date", "02.01.2024"});
    const QString secret = passwordFile("geheim.txt", "Sesam öffne dich\n");
    const QString wrong = passwordFile("falsch.txt", "Sesam\n");
    EXPECT_EQ(json({"depot-password", "--new-password-file", secret})["lines"].toArray().first().toString(), "Passwort gesetzt");
    // The hash, not the password, is in the file.
    EXPECT_FALSE(qtest::readFile(home + "Transaktionen.db").contains("Sesam"));
    auto locked = run({"depot"});
    EXPECT_NE(locked.exitCode, 0);
    EXPECT_TRUE(locked.err.contains("ist durch ein Passwort geschützt")) << locked.err.toStdString();
    auto bad = run({"--password-file", wrong, "depot"});
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_TRUE(bad.err.contains("Falsches Passwort für das Depot")) << bad.err.toStdString();
    EXPECT_EQ(run({"--password-file", secret, "depot"}).exitCode, 0);
    // What does not touch the lots needs no depot password.
    EXPECT_EQ(run({"depot-list"}).exitCode, 0);
    // Clearing needs the old one; PeppyMarlin as the new one means none.
    EXPECT_NE(run({"depot-password", "--clear"}).exitCode, 0);
    json({"--password-file", secret, "depot-password", "--clear"});
    EXPECT_EQ(run({"depot"}).exitCode, 0);
    json({"depot-password", "--new-password-file", passwordFile("peppy.txt", "PeppyMarlin\n")});
    EXPECT_EQ(run({"depot"}).exitCode, 0);
    // The password travels with the file: an import of a protected depot needs it.
    json({"depot-create", "Verein", "--start", "01.01.2024"});
    json({"depot-password", "--new-password-file", secret});
    json({"--password-file", secret, "depot-use", home});
    EXPECT_NE(run({"depot-import", home + "Verein"}).exitCode, 0);
    EXPECT_EQ(run({"--password-file", secret, "depot-import", home + "Verein"}).exitCode, 0);
}

TEST_F(DepotsCli, DeletingRemovesFilesFolderAndRecentEntry) {
    json({"depot-create", "Alt", "--start", "01.01.2024"});
    qtest::writeFile(home + "Alt/Depot.ini", "1000\r\n10\r\n");
    json({"depot-use", home});
    EXPECT_NE(run({"depot-delete", "Alt"}).exitCode, 0);  // not confirmed
    EXPECT_TRUE(QFile::exists(home + "Alt/Transaktionen.db"));
    json({"--yes", "depot-delete", "Alt"});
    EXPECT_FALSE(QDir(home + "Alt").exists());
    for (const QJsonValue& v : json({"depot-list"})["recent"].toArray())
        EXPECT_NE(v.toObject()["dir"].toString(), home + "Alt/");
    EXPECT_NE(run({"--yes", "depot-delete", "Gibtsnicht"}).exitCode, 0);
    // The current depot deleted: the run goes on with the data directory's.
    json({"depot-create", "Weg", "--start", "01.01.2024"});
    EXPECT_EQ(json({"--yes", "depot-delete", "Weg"})["depot"].toString(), home);
}
