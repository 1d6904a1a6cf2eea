#include "io_fixture.h"

namespace tavrin {
namespace {

TEST(XlsxReadTest, ListFromLibreOfficeHasValuesFormulasDatesAndLayout) {
  Spreadsheet app;
  Book& book = OpenWorkbook(app, "data/sales-libreoffice.xlsx");
  EXPECT_EQ(book.Name(), "sales-libreoffice.xlsx");
  EXPECT_EQ(&app.ActiveBook(), &book);
  ASSERT_EQ(book.SheetCount(), 2);
  Sheet& sales = book.GetSheet(1);
  EXPECT_EQ(sales.Name(), "销售");
  EXPECT_EQ(book.GetSheet(2).Name(), "交叉表");
  EXPECT_EQ(&book.GetActiveSheet(), &sales);
  EXPECT_EQ(book.GetWindow().View(), xlNormalView);

  EXPECT_EQ(ValueAt(sales, "A1"), Variant("日期"));
  EXPECT_EQ(ValueAt(sales, "A2"), Variant::Date(46025));  // 2026-01-03 in a yyyy-mm-dd format
  EXPECT_EQ(ValueAt(sales, "C2"), Variant("戊"));
  EXPECT_EQ(ValueAt(sales, "E3"), Variant(9.5));
  EXPECT_EQ(FormulaAt(sales, "F5"), "=D5*E5");
  EXPECT_EQ(ValueAt(sales, "F5"), Variant(1233.75));
  EXPECT_EQ(StyleAt(sales, "A1"), 1u);
  EXPECT_EQ(StyleAt(sales, "I1"), 2u);  // a styled empty cell is kept
  EXPECT_FALSE(sales.Store().Find(1, 9)->HasContent());

  EXPECT_EQ(sales.RowHeight(1), 24);
  EXPECT_EQ(sales.DefaultRowHeight(), 15);  // the sheet's own
  EXPECT_EQ(sales.RowHeight(2), 15);
  EXPECT_EQ(sales.ColumnWidth(1), 12);
  EXPECT_EQ(sales.ColumnWidth(6), 14);
  EXPECT_EQ(sales.ColumnWidth(2), Sheet::kDefaultColumnWidth);
  const SheetLayout& layout = sales.Layout();
  EXPECT_EQ(layout.mergedCells, (std::vector<Area>{{1, 8, 1, 2}}));
  EXPECT_EQ(sales.PageSetup().PrintTitleRows(), "$1:$1");
  EXPECT_EQ(layout.manualRowBreaks, std::vector<int>{61});  // the break after row 60
  EXPECT_EQ(layout.paperSize, SheetLayout::kPaperA4);
  EXPECT_EQ(layout.margins, (PageMargins{0.75, 0.75, 1, 1, 0.511811023622047, 0.511811023622047}));
  EXPECT_TRUE(layout.tabSelected);
  EXPECT_FALSE(sales.Changed());
}

TEST(XlsxReadTest, CrossTableKeepsBooleanErrorTextZeroAndEmptyCell) {
  Spreadsheet app;
  Sheet& table = OpenWorkbook(app, "data/sales-libreoffice.xlsx").GetSheet("交叉表");
  EXPECT_EQ(ValueAt(table, "B1"), Variant("一月"));
  EXPECT_EQ(FormulaAt(table, "F1"), "=SUM(B2:D4)");
  EXPECT_EQ(ValueAt(table, "F1"), Variant(561));
  EXPECT_EQ(ValueAt(table, "F2"), Variant::Boolean(true));
  EXPECT_EQ(FormulaAt(table, "F3"), "=NA()");
  EXPECT_EQ(ValueAt(table, "F3"), Variant(ErrorValue::NA));
  EXPECT_EQ(ValueAt(table, "F4"), Variant("0"));
  EXPECT_FALSE(table.Store().HasContent(3, 3));  // the empty body cell
  EXPECT_TRUE(table.PageSetup().PrintTitleRows().empty());
  EXPECT_FALSE(table.Changed());
}

TEST(XlsxReadTest, ListFromOpenpyxlHasInlineStringsAndFormulasWithoutResults) {
  Spreadsheet app;
  Book& book = OpenWorkbook(app, "data/sales-openpyxl.xlsx");
  Sheet& sales = book.GetSheet("销售");
  EXPECT_EQ(ValueAt(sales, "B1"), Variant("地区"));
  EXPECT_EQ(ValueAt(sales, "A121"), Variant::Date(46024));
  EXPECT_EQ(FormulaAt(sales, "F121"), "=D121*E121");
  EXPECT_TRUE(ValueAt(sales, "F121").IsEmpty());
  EXPECT_EQ(sales.RowHeight(1), 24);
  EXPECT_EQ(sales.Layout().mergedCells, (std::vector<Area>{{1, 8, 1, 2}}));
  EXPECT_EQ(sales.PageSetup().PrintTitleRows(), "$1:$1");
  EXPECT_EQ(sales.Layout().manualRowBreaks, std::vector<int>{61});
  Sheet& table = book.GetSheet("交叉表");
  EXPECT_EQ(ValueAt(table, "F2"), Variant::Boolean(true));
  EXPECT_EQ(FormulaAt(table, "F2"), "");
  EXPECT_EQ(FormulaAt(table, "F3"), "=NA()");
  EXPECT_EQ(ValueAt(table, "F4"), Variant("0"));
}

// Every cell of a shared formula's group holds the formula of its first cell, its relative
// references moved where the cell stands, defined names kept; a group whose first formula the
// engine cannot read (a reference past column IV) leaves its other cells their stored values.
TEST(XlsxReadTest, SharedFormulasReadAsTheirFirstCellsFormulaMoved) {
  TempFolder folder;
  WritePatchedCopy(
      "data/sales-libreoffice.xlsx", folder / "shared.xlsx",
      {{"xl/worksheets/sheet1.xml",
        {{"<f aca=\"false\">D2*E2</f>",
          "<f t=\"shared\" ref=\"F2:F4\" si=\"0\">D2*E2+SUM($D$2:D2,B:B,2:2)*0+"
          "COUNTIF(A:A,\"D2\")</f>"},
         {"<f aca=\"false\">D3*E3</f>", "<f t=\"shared\" si=\"0\"/>"},
         {"<f aca=\"false\">D4*E4</f>", "<f t=\"shared\" si=\"0\"/>"},
         {"<f aca=\"false\">D5*E5</f>", "<f t=\"shared\" ref=\"F5:F6\" si=\"1\">rate*E5</f>"},
         {"<f aca=\"false\">D6*E6</f>", "<f t=\"shared\" si=\"1\"/>"},
         {"<f aca=\"false\">D7*E7</f>", "<f t=\"shared\" ref=\"F7:F8\" si=\"2\">XFD7*2</f>"},
         {"<f aca=\"false\">D8*E8</f>", "<f t=\"shared\" si=\"2\"/>"}}}});
  Spreadsheet app;
  Book& book = OpenWorkbook(app, folder / "shared.xlsx");
  Sheet& sales = book.GetSheet(1);
  EXPECT_EQ(FormulaAt(sales, "F2"), "=D2*E2+SUM($D$2:D2,B:B,2:2)*0+COUNTIF(A:A,\"D2\")");
  EXPECT_EQ(FormulaAt(sales, "F4"), "=D4*E4+SUM($D$2:D4,B:B,4:4)*0+COUNTIF(A:A,\"D2\")");
  EXPECT_EQ(ValueAt(sales, "F4"), Variant(204)) << "the stored result";
  EXPECT_EQ(sales.Store().Find(3, 6)->formula, sales.Store().Find(2, 6)->formula)
      << "one formula for the group";
  EXPECT_EQ(FormulaAt(sales, "F6"), "=rate*E6");
  EXPECT_EQ(ValueAt(sales, "F6"), Variant(180));
  EXPECT_EQ(FormulaAt(sales, "F7"), "=XFD7*2") << "no formula the engine reads: kept as text";
  EXPECT_EQ(FormulaAt(sales, "F8"), "");
  EXPECT_EQ(ValueAt(sales, "F8"), Variant(40));

  sales.SetValue(sales.Range("A20"), Variant(1));
  SaveWorkbook(book, folder / "out.xlsx");
  Spreadsheet again;
  Sheet& back = OpenWorkbook(again, folder / "out.xlsx").GetSheet(1);
  EXPECT_EQ(FormulaAt(back, "F3"), "=D3*E3+SUM($D$2:D3,B:B,3:3)*0+COUNTIF(A:A,\"D2\")");
  EXPECT_EQ(FormulaAt(back, "F6"), "=rate*E6");
  EXPECT_EQ(ValueAt(back, "F6"), Variant(180))
      << "a defined name the engine lacks: the stored result";
}

// The list has five cell formats: a cell naming the last keeps it, one naming the next has the
// default format.
TEST(XlsxReadTest, ACellFormatOnePastTheFilesIsTheDefault) {
  TempFolder folder;
  WritePatchedCopy("data/sales-libreoffice.xlsx", folder / "in.xlsx",
                   {{"xl/worksheets/sheet1.xml",
                     {{"<c r=\"D2\" s=\"0\"", "<c r=\"D2\" s=\"5\""},
                      {"<c r=\"E2\" s=\"0\"", "<c r=\"E2\" s=\"4\""}}}});
  Spreadsheet app;
  const Sheet& sales = OpenWorkbook(app, folder / "in.xlsx").GetSheet(1);
  EXPECT_EQ(StyleAt(sales, "D2"), 0u);
  EXPECT_EQ(StyleAt(sales, "E2"), 4u);
}

}  // namespace
}  // namespace tavrin
