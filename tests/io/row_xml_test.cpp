#include "io/row_xml.h"

#include <gtest/gtest.h>

#include <string>

namespace tavrin {
namespace {

// The row as the XML parser reads it; its texts live in the document.
RowXml Parsed(const std::string& text, pugi::xml_document& document) {
  EXPECT_TRUE(document.load_buffer(text.data(), text.size(),
                                   pugi::parse_default | pugi::parse_ws_pcdata_single));
  RowXml row;
  ReadRowNode(document.child("row"), row);
  return row;
}

TEST(RowXml, TheFormsWritersUseAreScannedAsTheParserReadsThem) {
  const std::string rows[] = {
      // as the host writes them: shared strings, styles, spans, a shared formula
      R"(<row r="2" spans="1:3" ht="15.75" customHeight="1" x14ac:dyDescent="0.25">)"
      R"(<c r="A2" s="3" t="s"><v>12</v></c><c r="B2"><f t="shared" ref="B2:B9" si="0">A2*2</f>)"
      R"(<v>24</v></c><c r="C2" t="e"><v>#N/A</v></c></row>)",
      // as other programs write them: inline strings, texts with references, no r
      R"(<row><c t="inlineStr"><is><t xml:space="preserve"> a &amp; b &#13;&#x4E2D;</t></is></c>)"
      "\n  <c t='str'><f>\"x\"&amp;\"&lt;y&gt;\"</f><v>x&lt;y&gt;</v></c><c "
      "t=\"b\"><v>1</v></c></row>",
      R"(<row r="7" hidden="true" outlineLevel="2" collapsed="0" s="4" customFormat="1"/>)",
      R"(<row r="8"><c r="A8" s="1"/><c r="B8"><v/></c><c r="C8" t="inlineStr"><is><t/></is></c></row>)",
      // tabs and line feeds between names and values, flags spelled out, numbers at their
      // longest, attributes of any name
      "<row r=\"9\" collapsed=\"1\" customHeight=\"false\" ht=\"10.95\"><c\tr=\"A9\"\t"
      "s=\"000000003\"\nt=\"s\" cm=\"1\"><v>9</v></c><c\nr=\"B9\"><f t=\"shared\" si=\"3\"/></c>"
      R"(<c r="D9" A="1" Z="1" _x="1" :y="1" a-0.9="1" z="1"/></row>)",
      R"(<row r="10" ht="15.000000000000000000000"/>)",
      // characters of one to four bytes, by number
      R"(<row><c t="str"><v>&#00000065;&#x7F;&#x80;&#x7FF;&#x800;&#xFFFF;&#x10000;&#x10FFFF;</v></c></row>)",
  };
  for (const std::string& text : rows) {
    RowXml scanned;
    ASSERT_TRUE(ScanRowXml(text, scanned)) << text;
    pugi::xml_document document;
    EXPECT_EQ(scanned, Parsed(text, document)) << text;
  }
  RowXml row;
  ASSERT_TRUE(ScanRowXml(rows[1], row));
  EXPECT_EQ(row.cells[0].is, " a & b \r中");
  EXPECT_EQ(row.cells[1].f, "\"x\"&\"<y>\"");
}

TEST(RowXml, OtherFormsAreLeftToTheParser) {
  const std::string rows[] = {
      R"(<row r="1"><c r="A1" t="inlineStr"><is><r><rPr><b/></rPr><t>rich</t></r></is></c></row>)",
      R"(<row r="1"><c r="A1" t="str"><v><![CDATA[a<b]]></v></c></row>)",
      R"(<row r="1"><!-- note --><c r="A1"><v>1</v></c></row>)",
      "<row r=\"1\"><c r=\"A1\" t=\"str\"><v>a\r\nb</v></c></row>",
      R"(<row r="1"><c r="A1" s=" 2"><v>1</v></c></row>)",
      R"(<row r="1" r="2"><c><v>1</v></c></row>)",
      R"(<row r="1"><c r="A1" t="s"><v>1e2</v></c></row>)",
      R"(<row r="1"><c r="A1"><v>&unknown;</v></c></row>)",
      // references the parser reads otherwise, or leaves as they are
      R"(<row r="1"><c r="A&#49;"><v>1</v></c></row>)",
      R"(<row r="1"><c r="A1" t="str"><v>a&#;b</v></c></row>)",
      R"(<row r="1"><c r="A1" t="str"><v>a&#1234567890;b</v></c></row>)",
      // an inline string empty, or given twice
      R"(<row r="1"><c r="A1" t="inlineStr"><is/></c></row>)",
      R"(<row r="1"><c r="A1" t="inlineStr"><is><t>a</t></is><is><t>b</t></is></c></row>)",
      // an attribute named past ASCII, which XML allows
      R"(<row r="1"><c r="A1" 名="x"><v>1</v></c></row>)",
      R"(<row r="1"><c r="A1" t="str"><v 名="x">1</v></c></row>)",
      // a number too long for what it counts
      R"(<row r="1"><c r="A1" s="1234567890"><v>1</v></c></row>)",
      // values the parser reads its own way, or that are not plain
      R"(<row r="1" hidden="yes"/>)",
      R"(<row r="1" ht="1.5e1"/>)",
      R"(<row r="1" ht=".5"/>)",
      "<row r=\"1\"><c r=\"A1\" t=\"st\tr\"><v>1</v></c></row>",
      // a value or text given twice
      R"(<row r="1"><c r="A1"><v>1</v><v>2</v></c></row>)",
      R"(<row r="1"><c r="A1"><f>1</f><f>2</f></c></row>)",
      // references to no character, or not ending at the semicolon
      R"(<row r="1"><c r="A1" t="str"><v>a&#65x;b</v></c></row>)",
      R"(<row r="1"><c r="A1" t="str"><v>a&#0;b</v></c></row>)",
      R"(<row r="1"><c r="A1" t="str"><v>a&#xD800;b</v></c></row>)",
      R"(<row r="1"><c r="A1" t="str"><v>a&#xDFFF;b</v></c></row>)",
      R"(<row r="1"><c r="A1" t="str"><v>a&#x110000;b</v></c></row>)",
  };
  for (const std::string& text : rows) {
    RowXml scanned;
    EXPECT_FALSE(ScanRowXml(text, scanned)) << text;
  }
}

// A damaged row is not the scanner's to read: the parser reports it.
TEST(RowXml, DamagedRowsAreLeftToTheParser) {
  const std::string rows[] = {
      "<row\r r=\"1\"/>",
      R"(<row r="1"><cr="A1"/></row>)",
      R"(<row r="1"><c ="x"/></row>)",
      R"(<row r="1"><c r"A1"/></row>)",
      R"(<row r="1"><c t=ene><v>1</v></c></row>)",
      R"(<row r="1"><c r="A1"t="s"><v>1</v></c></row>)",
      // a start tag or a value left open
      R"(<row r="1"><c r="A1"</c></row>)",
      R"(<row r="1"><c r="A1"</row>)",
      R"(<row r="1"><c r="A1" </c></row>)",
      R"(<row r="1"><c r="A1" x</c></row>)",
      R"(<row r="1"><c r=</c></row>)",
      R"(<row r="1"><c r="A</c></row>)",
      R"(<row r="1"><c r="A1" r="A2"</c></row>)",
      // a cell or its content left open
      R"(<row r="1"><c r="A1"></row>)",
      R"(<row r="1"><c r="A1"><v>1</row>)",
      R"(<row r="1"><c r="A1" t="s"><v>1e2</v></row>)",
      R"(<row r="1"><c r="A1"><f>1</row>)",
      R"(<row r="1"><c r="A1" t="inlineStr"><is/></row>)",
      R"(<row r="1"><c r="A1" t="inlineStr"><is/><t/></is></c></row>)",
      R"(<row r="1"><c r="A1" t="inlineStr"><is><t>a</row>)",
      R"(<row r="1"><c r="A1" t="inlineStr"><is><t>a</t></row>)",
      // a text that ends before its end tag does
      R"(<row r="1"><c r="A1"><v>1</v></c></ro)",
      R"(<row r="1"><c r="A1"><v>1</v></c)",
      R"(<row r="1"><c r="A1"><v>1</v)",
      R"(<row r="1"><c r="A1"><f>1</f)",
      R"(<row r="1"><c r="A1)",
      R"(<row r="1)",
  };
  for (const std::string& text : rows) {
    RowXml scanned;
    EXPECT_FALSE(ScanRowXml(text, scanned)) << text;
  }
}

}  // namespace
}  // namespace tavrin
