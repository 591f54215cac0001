#include "acquisition/mask.h"

#include <gtest/gtest.h>

using namespace q;

namespace {
MaskFile mask(const QStringList& lines) { return parseMaskFile(lines); }
}  // namespace

TEST(Mask, PipeSplitsTheNameFromTheNumberBeforeIt) {
    // Columns 0-12 name, 13-17 price; "|" under the price's last digit.
    const MaskFile m = mask({"", "xxxxxxxxxxxxxxxxx|#######"});
    const QStringList out = applyMask({"SIEMENS      45,20  +1,2%"}, &m, ';');
    ASSERT_EQ(out.size(), 1);
    EXPECT_EQ(out[0], "SIEMENS      ;45,20");
}

TEST(Mask, DollarDropsLinesWithABlankWhereTheMaskWantsText) {
    // Each page line has its own mask line.
    const MaskFile m = mask({"", "$xxxxxxxxxx|", "$xxxxxxxxxx|", "$xxxxxxxxxx|"});
    const QStringList out = applyMask({"BASF   41,10", "       Xetra", "BAYER  30,25"}, &m, '\t');
    EXPECT_EQ(out, (QStringList{"BASF   \t41,10", "BAYER  \t30,25"}));
}

TEST(Mask, HashSkipsAndAngleSplitsWithABlank) {
    const MaskFile m = mask({"", "xxxx###xxx<"});
    EXPECT_EQ(applyMask({"ABCD---12,5"}, &m, ';'), QStringList{"ABCD 12,5"});
}

TEST(Mask, NationalCharactersBecomeUmlautsBeforeMasking) {
    EXPECT_EQ(applyMask({"M}NCHENER R{CK Gr|~e"}, nullptr, ';'), QStringList{"MüNCHENER RäCK Größe"});
}

TEST(Mask, DecimalMarkDirectives) {
    const MaskFile m1 = mask({"dec=\"1\""}), m2 = mask({"dec=\"2\""}), m3 = mask({"dec=\"3\""}), m4 = mask({"dec=\"4\""});
    EXPECT_EQ(applyMask({"A 1,5 x, 2"}, &m1, ';'), QStringList{"A 1.5 x, 2"});
    EXPECT_EQ(applyMask({"A 1.5 x. 2"}, &m2, ';'), QStringList{"A 1,5 x. 2"});
    EXPECT_EQ(applyMask({"A 1,5 x, 2"}, &m3, ';'), QStringList{"A 1.5 x. 2"});
    EXPECT_EQ(applyMask({"A 1.5 x. 2"}, &m4, ';'), QStringList{"A 1,5 x, 2"});
}

TEST(Mask, FillCharacterRunsBecomeBlanks) {
    const MaskFile m = mask({"fill=\".\""});
    EXPECT_EQ(applyMask({"BASF......41.10 . x"}, &m, ';'), QStringList{"BASF     .41.10   x"});
}

TEST(Mask, CopyMovesTextAcrossRowsOfForty) {
    // Five characters from row 2, column 0 (position 40) to row 1, column 38
    // (position 38): the run wraps into row 2 at its column 0.
    const MaskFile m = mask({"copy=\"5/40/38\""});
    const QStringList out = applyMask({QString(40, 'a'), "12345xxxxx"}, &m, ';');
    ASSERT_EQ(out.size(), 2);
    EXPECT_EQ(out[0], QString(38, 'a') + "12");
    EXPECT_EQ(out[1], "34545xxxxx");
}

TEST(Mask, MasksShorterOrLongerThanThePageTakeWhatIsThere) {
    const MaskFile shortMask = mask({"", "###"});
    EXPECT_EQ(applyMask({"AB SIEMENS"}, &shortMask, ';'), QStringList{"SIEMENS"});
    const MaskFile longMask = mask({"", QString(200, 'x') + "$"});
    // "$" beyond the page's end wants a character that is not there.
    EXPECT_TRUE(applyMask({"SIEMENS 45,20"}, &longMask, ';').isEmpty());
    const MaskFile longPlain = mask({"", QString(3000, 'x')});
    EXPECT_EQ(applyMask({"SIEMENS 45,20"}, &longPlain, ';'), QStringList{"SIEMENS 45,20"});
}

TEST(Mask, WildDirectivesAndGarbageNeverBreakIt) {
    const MaskFile m = mask({"copy=\"2000000000/0/2147483600\" dec=\"9\" fill=\"\"", QString(5000, '|')});
    EXPECT_FALSE(m.fill.has_value());
    EXPECT_EQ(m.dec, 0);
    QString garbage;
    for (int i = 0; i < 3000; ++i) garbage += QChar(char16_t((i * 7919) % 0xD000 + 1));
    const QStringList out = applyMask(pageLines(garbage + "\n" + garbage), &m, ';');
    for (const QString& line : out) EXPECT_LE(line.size(), 2 * kMaskColumns);
}
