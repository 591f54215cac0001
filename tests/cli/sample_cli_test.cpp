// The bundled sample directory as tools/run.sh writes it (quintara-sample DIR), read
// with quintara-cli as a user tries it first: the price file beside Daten/ by name.
#include "base/text_files.h"
#include "sample/sample_data.h"
#include "support/test_support.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace q;

namespace {

class SampleDirectory : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_tmp.isValid());
        home = withSlash(m_tmp.path());
        NoProgress none;
        ASSERT_TRUE(sample::writeSampleData(home + "Daten/", plan, none).isOk());
        ASSERT_TRUE(sample::writeSamplePriceText(home + sample::kSamplePriceFile, plan).isOk());
        ASSERT_EQ(cli({"start"}).exitCode, 0);
    }
    qtest::CliRun cli(const QStringList& args) {
        return qtest::runCli(QStringList{"--home", home, "--settings", home + "Quintara.conf", "--today", "08.12.2026"} + args);
    }
    QJsonObject importText() {
        auto r = cli({"--json", "import-text", home + sample::kSamplePriceFile});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out.toUtf8()).object();
    }

    QTemporaryDir m_tmp;
    QString home;
    const sample::Plan plan;
};

}  // namespace

TEST_F(SampleDirectory, ThePriceFileBooksEveryLineByItsStationName) {
    const QByteArray bytes = qtest::readFile(home + sample::kSamplePriceFile);
    // Windows-1252 with CRLF: one line per security, none ending bare.
    EXPECT_EQ(bytes.count("\r\n"), plan.securities);
    EXPECT_EQ(bytes.count('\n'), plan.securities);
    const QStringList lines = *readTextLines(home + sample::kSamplePriceFile);
    ASSERT_EQ(lines.size(), plan.securities);
    // A teletext name: upper case, within the 20 characters of `ZDF`; the first
    // security is Albrecht Maschinen AG.
    EXPECT_TRUE(lines[0].startsWith("ALBRECHT MASCH\t")) << lines[0].toStdString();
    const QRegularExpression line("^[A-Z][A-Z0-9 ]{0,19}\t\\d+,\\d\\d\t07\\.12\\.2026\t\\d+$");
    for (const QString& l : lines) EXPECT_TRUE(line.match(l).hasMatch()) << l.toStdString();

    QJsonObject first = importText();
    EXPECT_EQ(first["booked"].toInt(), plan.securities);
    EXPECT_EQ(first["unmatched"].toInt(), 0);
    EXPECT_EQ(first["implausible"].toInt(), 0);
    EXPECT_EQ(first["newSecurities"].toInt(), 0);
    EXPECT_TRUE(first["unmatchedLines"].toArray().isEmpty());
    // One new day for every security, 07.12.2026 (day number 46363).
    EXPECT_EQ(qtest::sqlNumber(home + "Daten/Aktien.db", "SELECT COUNT(DISTINCT Firma) FROM Aktien WHERE Datum = 46363"),
              plan.securities);
    EXPECT_EQ(qtest::sqlNumber(home + "Daten/Volumen.db", "SELECT COUNT(*) FROM Volumen WHERE Datum = 46363"), plan.securities);

    // The same file again finds every price there.
    QJsonObject again = importText();
    EXPECT_EQ(again["booked"].toInt(), 0);
    EXPECT_EQ(again["already"].toInt(), plan.securities);
}

TEST(SampleStations, NamesAreUniqueAndFitTheStationColumn) {
    QStringList names;
    for (int i = 0; i < 102; ++i) names << sample::stationName(i);
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 102);
    for (const QString& n : names) EXPECT_LE(n.size(), 20) << n.toStdString();
    EXPECT_EQ(sample::stationName(15), "BRUNNFELD VERS");
}
