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
    EXPECT_TRUE(html.contains("<tr><td width=\"46\" style=\"white-space:nowrap;padding-right:12px\"><span style=\"font-size:10pt;font-weight:bold;text-decoration:underline;\">"
                              "Gr\u00f6\u00dfe {a} \\ b</span></td><td width=\"86\" style=\"white-space:nowrap;padding-left:12px\" align=\"right\">"
                              "<span style=\"font-size:8pt;color:#ff0000;\">12,50</span></td>"));
    EXPECT_TRUE(html.contains("<tr><td colspan=\"3\">&nbsp;</td></tr>"));
    EXPECT_EQ(sample().plainText(), QString::fromUtf8("Gr\xc3\xb6\xc3\x9f" "e {a} \\ b\t12,50\n\n\xe2\x82\xac und \xe2\x84\xa2 und \xe2\x88\x9e"));
}

TEST(Report, HtmlKeepsColumnsApartAndFiguresAtTheRight) {
    // A rating-like table: left tab stops only, a caption row marked as heading, a
    // block title whose count stands five stops on, and a name wider than its column.
    Document d;
    d.tabs = {{566}, {963}, {1417}};
    Paragraph& head = d.paragraph();
    head.heading = true;
    head.add("Aktie", Style{}).tab().add("Datum", Style{}).tab().add("Kurs", Style{}).tab().add("Stoch.", Style{});
    Paragraph& title = d.paragraph();
    title.heading = true;
    title.add("Diese Aktien", Style{}).tab().tab().tab().add("2", Style{});
    d.paragraph().add("Brunnfeld Versicherung", Style{}).tab().add("04.12.2026", Style{}).tab().add("1.234,50 EUR", Style{}).tab().add("17", Style{});
    d.paragraph().add("Ost AG", Style{}).tab().add("03.12.2026", Style{}).tab().add("-3,5 %", Style{}).tab().add("k.A.", Style{});
    const QString html = toHtml(d);
    // The captions are the table's first row, one per column.
    EXPECT_TRUE(html.contains("<table cellspacing=\"0\" cellpadding=\"1\">\n<tr><td width=\"37\" style=\"white-space:nowrap;padding-right:12px\">"
                              "<span style=\"font-size:8pt;\">Aktie</span></td>")) << html.toStdString();
    // The title runs over the empty stops to its count, in the same table.
    EXPECT_TRUE(html.contains("<tr><td colspan=\"3\" style=\"white-space:nowrap;padding-right:12px\"><span style=\"font-size:8pt;\">Diese Aktien</span></td>"
                              "<td width=\"48\" style=\"white-space:nowrap;padding-left:12px\" align=\"right\"><span style=\"font-size:8pt;\">2</span></td>"))
        << html.toStdString();
    EXPECT_EQ(html.count("<table"), 1);
    // The long name keeps a gap to the date; figures are right-aligned, words not.
    EXPECT_TRUE(html.contains("padding-right:12px\"><span style=\"font-size:8pt;\">Brunnfeld Versicherung</span></td><td"));
    for (const char* figure : {"04.12.2026", "1.234,50 EUR", "17", "-3,5 %"})
        EXPECT_TRUE(html.contains(QString("padding-left:12px\" align=\"right\"><span style=\"font-size:8pt;\">%1</span>").arg(figure))) << figure;
    EXPECT_TRUE(html.contains("padding-right:12px\"><span style=\"font-size:8pt;\">k.A.</span>"));
}
