#include "base/line_reader.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace q;

namespace {

QStringList readAll(const QString& path, QList<bool>* cuts = nullptr) {
    LineReader reader;
    EXPECT_TRUE(reader.open(path).isOk());
    QStringList lines;
    bool cut = false;
    while (auto line = reader.next(&cut)) {
        lines << *line;
        if (cuts) *cuts << cut;
    }
    EXPECT_TRUE(reader.error().isOk());
    return lines;
}

QString write(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

}  // namespace

// The reader takes 64 KB at a time: a CRLF split between two reads is one line end.
TEST(LineReader, ReadsEveryLineEndAlsoAcrossItsReadsAndDecodesEachLine) {
    QTemporaryDir dir;
    QByteArray bytes(64 * 1024 - 1, 'a');
    bytes += "\r\nb\rc\n\nM\xfcller\r\n";  // Windows-1252 "Müller"
    bytes += "Gr\xc3\xbc\xc3\x9f" "e";          // UTF-8 "Grüße", no line end
    const QStringList lines = readAll(write(dir, "kurse.txt", bytes));
    ASSERT_EQ(lines.size(), 6);
    EXPECT_EQ(lines[0].size(), LineReader::kLongestLine);
    EXPECT_EQ(lines.mid(1), (QStringList{"b", "c", "", QString::fromUtf8("Müller"), QString::fromUtf8("Grüße")}));
}

TEST(LineReader, KeepsTheStartOfAnOverlongLineAndSkipsTheRest) {
    QTemporaryDir dir;
    const QByteArray bytes = QByteArray(3 * LineReader::kLongestLine, 'x') + "\nkurz\n";
    QList<bool> cuts;
    const QStringList lines = readAll(write(dir, "lang.txt", bytes), &cuts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0].size(), LineReader::kLongestLine);
    EXPECT_EQ(lines[1], "kurz");
    EXPECT_EQ(cuts, (QList<bool>{true, false}));
}

TEST(LineReader, RefusesWhatIsNoRegularFile) {
    QTemporaryDir dir;
    const QString fifo = dir.filePath("rohr");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {fifo, QString("/dev/zero"), dir.path()}) {
        LineReader reader;
        const Status s = reader.open(path);
        EXPECT_EQ(s.category(), Category::Invalid) << path.toStdString();
        EXPECT_EQ(s.message(), "Die Datei " + path + " ist keine gewöhnliche Datei");
    }
    LineReader missing;
    EXPECT_EQ(missing.open(dir.filePath("fehlt.txt")).category(), Category::NotFound);
}
