#include "base/report_html.h"
#include "base/report_rtf.h"

#include <gtest/gtest.h>

using namespace q::report;

namespace {

Document sample() {
    Document d;
    d.title = "Probe";
    d.colours.push_back({255, 0, 0});
    d.tabs = {{700, Align::Right}, {2000}};
    d.paragraphs.emplace_back();
    d.paragraphs.back().add("Gr\xc3\xb6\xc3\x9f" "e {a} \\ b", Style{20, true, true, 0}).tab().add("12,50", Style{16, false, false, 1});
    d.paragraph();
    d.paragraph().add("\xe2\x82\xac und \xe2\x84\xa2 und \xe2\x88\x9e", Style{});
    return d;
}

}  // namespace

TEST(Report, RtfEscapesAndUsesCodePage1252) {
    const QByteArray rtf = toRtf(sample());
    EXPECT_TRUE(rtf.contains("{\\colortbl\\red0\\green0\\blue0;\\red255\\green0\\blue0; }"));
    EXPECT_TRUE(rtf.contains("\\pard\\tqr\\tx700\\tx2000 "));
    EXPECT_TRUE(rtf.contains("\\plain\\f2\\fs20\\b\\ul Gr\\'f6\\'dfe \\{a\\} \\\\ b\\tab\\plain\\f2\\fs16\\cf1 12,50\\par"));
    // The euro sign and ™ are in code page 1252, ∞ is not.
    EXPECT_TRUE(rtf.contains("\\'80 und \\'99 und \\u8734?"));
    EXPECT_TRUE(rtf.endsWith("\\plain\\f0\\fs16 \\par }\r\n"));
}

TEST(Report, RtfNamesOnlyWhatChangesBetweenRuns) {
    Document d;
    d.colours.push_back({0, 0, 255});
    // Bold blue underlined, then the same without the underline: "\ulnone" alone; the
    // next line starts with its full style again.
    d.paragraph().add("Alpha AG", Style{20, true, true, 1}).tab().add(" (A1)", Style{20, true, false, 1});
    d.paragraph().add("x", Style{20, true, false, 1}).add("y", Style{16, false, false, 0});
    const QByteArray rtf = toRtf(d);
    EXPECT_TRUE(rtf.contains("\\plain\\f2\\fs20\\b\\cf1\\ul Alpha AG\\tab\\ulnone  (A1)\\par\r\n\\plain\\f2\\fs20\\b\\cf1 x\\plain\\f2\\fs16 y\\par"))
        << rtf.toStdString();
}

TEST(Report, HtmlPutsTabbedLinesIntoTableRows) {
    const QString html = toHtml(sample());
    EXPECT_TRUE(html.contains("<title>Probe</title>"));
    EXPECT_TRUE(html.contains("<tr><td width=\"46\" style=\"white-space:nowrap\"><span style=\"font-size:10pt;font-weight:bold;text-decoration:underline;\">"
                              "Gr\u00f6\u00dfe {a} \\ b</span></td><td width=\"86\" style=\"white-space:nowrap\" align=\"right\">"
                              "<span style=\"font-size:8pt;color:#ff0000;\">12,50</span></td>"));
    EXPECT_TRUE(html.contains("<p style=\"margin:0\">&nbsp;</p>"));
    EXPECT_EQ(sample().plainText(), QString::fromUtf8("Gr\xc3\xb6\xc3\x9f" "e {a} \\ b\t12,50\n\n\xe2\x82\xac und \xe2\x84\xa2 und \xe2\x88\x9e"));
}
