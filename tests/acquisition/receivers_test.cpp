#include "acquisition/receivers.h"
#include "base/text_files.h"
#include "support/test_support.h"

#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace q;

namespace {
ExistsFn installed(const QStringList& paths) {
    const QSet<QString> set(paths.begin(), paths.end());
    return [set](const QString& p) { return set.contains(p); };
}
}  // namespace

TEST(ReceiverDetection, ALaterReceiverOverridesAnEarlierOne) {
    const ReceiverSettings both = detectReceivers({}, installed({"c:\\programme\\progdvb\\progdvbnet.exe",
                                                                 "c:\\programme\\progdvb\\plugins\\goldenTTX.dll",
                                                                 "c:\\program files\\dvbviewer\\dvbviewer.exe"}));
    EXPECT_EQ(both.multiDecPath, "c:\\program files\\dvbviewer\\dvbviewer.exe");
    EXPECT_FALSE(both.viaDde);
    EXPECT_TRUE(both.multiDec2);
    EXPECT_TRUE(both.ddeTopic.isEmpty());

    const ReceiverSettings progDvb = detectReceivers({}, installed({"c:\\program files\\multidec\\multidec.exe",
                                                                    "c:\\program files\\progdvb\\plugins\\goldenTTX.dll",
                                                                    "c:\\program files\\MultiDec\\MultiDec.exe"}));
    EXPECT_EQ(progDvb.multiDecPath, "c:\\program files\\MultiDec\\MultiDec.exe");
    EXPECT_EQ(progDvb.ddeTopic, "[Seite]:00[Unter]");
    EXPECT_EQ(progDvb.ddeItem, "page");
    EXPECT_TRUE(progDvb.viaDde && progDvb.multiDec);

    // Without the teletext plug-in MultiDec is not taken up.
    EXPECT_TRUE(detectReceivers({}, installed({"c:\\programme\\multidec\\multidec.exe"})).multiDecPath.isEmpty());
    const ReceiverSettings winTv = detectReceivers({}, installed({"c:\\program files\\wintv\\wintv.exe"}));
    EXPECT_EQ(winTv.vtPath, "c:\\program files\\vtpuls\\vtplus32.exe");
    EXPECT_FALSE(winTv.multiDec);
    // A receiver set by the user is never probed over.
    ReceiverSettings own;
    own.vtPath = "/opt/vt";
    EXPECT_EQ(detectReceivers(own, installed({"c:\\program files\\wintv\\wintv.exe"})).winTvAufruf, "");
    EXPECT_EQ(checkedVtPath("/opt/vt", installed({})), "INTERNET");
    EXPECT_EQ(checkedVtPath("/opt/vt", installed({"\\progra~1\\vtplus\\vtplus32.exe"})), "\\progra~1\\vtplus\\vtplus32.exe");
}

TEST(MultiDec, ChannelNumbersByTheLayoutOfEachVersion) {
    // Version 8.2: records of 804 bytes from byte 788; the name at 788 + 2 × 804.
    QByteArray v82 = "MultiDec 8.2" + QByteArray(2395 - 12, '\0') + "N-TV Nachrichten";
    v82.replace(0, 12, "Dec 8.2     ");
    EXPECT_EQ(*multiDecChannelNumber(v82, "N-TV"), 3);
    // Version 9: the channel's number is how many 16-byte 0xFF runs precede it.
    const QByteArray run(16, char(0xFF));
    QByteArray v9 = "Dec 9.1" + run + QByteArray(30, 'x') + run + QByteArray(8, 'y') + "ZDF" + run;
    EXPECT_EQ(*multiDecChannelNumber(v9, "ZDF"), 2);
    // Older files: 276-byte records; the name at byte 1105 is record 3.
    QByteArray old = QByteArray(1104, ' ') + "BAYERN 3";
    EXPECT_EQ(*multiDecChannelNumber(old, "BAYERN 3"), 3);
    EXPECT_EQ(*multiDecChannelNumber(QByteArray("SF1"), "SF1"), 0);

    EXPECT_EQ(multiDecChannelNumber({}, "ZDF").status().message(), "MultiDec Programmeinstellungen nicht gefunden");
    EXPECT_EQ(multiDecChannelNumber(old, "ARTE").status().message(),
              "ARTE ist im MultiDec noch nicht eingestellt!! Verwenden die diese Bezeichnung in der Senderliste des MultiDec");
}

TEST(MultiDec, TheIniIsSetUpForPageExport) {
    QTemporaryDir tmp;
    const QString dir = tmp.path() + "/";
    qtest::writeFile(dir + "Programm.set", QByteArray(1104, ' ') + "N-TV");
    ASSERT_TRUE(writeTextLines(dir + "MultiDec.ini", {"; Version 7", "LETZTES_PROGRAMM=9;", "VBI_VT=FALSE;", "VT-ALWAYS-EXPORT=FALSE;",
                                                     "VT-EXPORT-TYP=0;", "VT-BASE-DIR=C:\\VT;", "; Version 8", "FARBE=3;"})
                    .isOk());
    auto pageDir = MultiDecTest(dir, "N-TV");
    ASSERT_TRUE(pageDir.isOk()) << pageDir.status().message().toStdString();
    EXPECT_EQ(*pageDir, "C:/VT/");
    // Channel 3, one less for the "Version 7" line before it; the later one counts not.
    EXPECT_EQ(*readTextLines(dir + "MultiDec.ini"),
              (QStringList{"; Version 7", "LETZTES_PROGRAMM=2;", "VBI_VT=TRUE;", "VT-ALWAYS-EXPORT=TRUE;", "VT-EXPORT-TYP=2;",
                           "VT-BASE-DIR=C:\\VT;", "; Version 8", "FARBE=3;"}));
    // A station MultiDec does not know leaves the ini alone.
    EXPECT_EQ(MultiDecTest(dir, "ARTE").status().category(), Category::NotFound);
    EXPECT_EQ(multiDecChannel("MEHR", {"ZDF200", "N-TV300"}), "N-TV");
    EXPECT_EQ(multiDecChannel("MEHR", {}), "N-TV");
    EXPECT_EQ(multiDecChannel("ZDF", {"N-TV300"}), "ZDF");
}
