#include "io/newer_functions.h"
#include "io_fixture.h"

namespace tavrin {
namespace {

TEST(NewerFunctionsTest, CallsOfFunctionsAddedAfter2007TakeTheFilePrefix) {
  const std::pair<const char*, const char*> cases[] = {
      {"=IFNA(A1,0)", "=_xlfn.IFNA(A1,0)"},
      {"=ifna(a1,0)+Stdev.S(B1:B3)", "=_xlfn.IFNA(A1,0)+_xlfn.STDEV.S(B1:B3)"},
      {"=SUM(FILTER(A1:A3,B1:B3))", "=SUM(_xlfn._xlws.FILTER(A1:A3,B1:B3))"},
      {"{=SUM(IFNA(A1:A2,0))}", "{=SUM(_xlfn.IFNA(A1:A2,0))}"},
      {"=1+2+3+4+IFS(A1,1)", "=1+2+3+4+_xlfn.IFS(A1,1)"},
      // Nothing to prefix: the text as it is, blanks and letter case kept.
      {"=sum( A1 )", "=sum( A1 )"},
      {"=LEN(\"IFNA(\")", "=LEN(\"IFNA(\")"},
      {"=len( \"ifna(\" )", "=len( \"ifna(\" )"},
      {"=STDEV(A1:A3)+VAR(A1:A3)", "=STDEV(A1:A3)+VAR(A1:A3)"},
      {"=IFNA(A1,0", "=IFNA(A1,0"},  // no formula the engine reads
  };
  for (const auto& [model, file] : cases) {
    EXPECT_EQ(FormulaForFile(model, 2, 3), file) << model;
  }
  for (const auto& [model, file] :
       std::vector<std::pair<const char*, const char*>>(std::begin(cases), std::begin(cases) + 5)) {
    std::string back = FormulaFromFile(file, 2, 3);
    EXPECT_EQ(FormulaForFile(back, 2, 3), file) << back;
    EXPECT_EQ(back.find("_xl"), std::string::npos) << back;
  }
  // A prefixed name the table does not know keeps its prefix, in lower case.
  EXPECT_EQ(FormulaFromFile("=_XLFN.IFNA(_xlfn.NEWER(A1),0)", 1, 1), "=IFNA(_xlfn.NEWER(A1),0)");
  EXPECT_EQ(FormulaFromFile("=_xlfn.NEWER(A1)", 1, 1), "=_xlfn.NEWER(A1)");
}

// What the host writes with the prefix reads without it, keeps its stored result, and is written
// with it again; so is a formula typed with such a function.
TEST(NewerFunctionsTest, APrefixedFunctionRoundTripsThroughAFile) {
  TempFolder folder;
  WritePatchedCopy(
      "data/sales-libreoffice.xlsx", folder / "in.xlsx",
      {{"xl/worksheets/sheet1.xml",
        {{"<f aca=\"false\">D2*E2</f>", "<f>IFERROR(_xlfn.IFNA(D2*E2,0),_xlfn.NEWER(1))</f>"}}}});
  Spreadsheet app;
  Book& book = OpenWorkbook(app, folder / "in.xlsx");
  Sheet& sales = book.GetSheet(1);
  EXPECT_EQ(FormulaAt(sales, "F2"), "=IFERROR(IFNA(D2*E2,0),_xlfn.NEWER(1))");
  sales.SetFormula(sales.Range("G2"), "=STDEV.S(E2:E3)+SUM(FILTER(E2:E3,E2:E3))");
  EXPECT_EQ(ValueAt(sales, "F2"), Variant(420)) << "the stored result, kept";
  SaveWorkbook(book, folder / "out.xlsx");

  std::string part = PartOf(folder / "out.xlsx", "xl/worksheets/sheet1.xml");
  EXPECT_NE(part.find("<f>IFERROR(_xlfn.IFNA(D2*E2,0),_xlfn.NEWER(1))</f><v>420</v>"),
            std::string::npos);
  EXPECT_NE(part.find("<f>_xlfn.STDEV.S(E2:E3)+SUM(_xlfn._xlws.FILTER(E2:E3,E2:E3))</f>"),
            std::string::npos);
  Spreadsheet again;
  Sheet& back = OpenWorkbook(again, folder / "out.xlsx").GetSheet(1);
  EXPECT_EQ(FormulaAt(back, "F2"), "=IFERROR(IFNA(D2*E2,0),_xlfn.NEWER(1))");
  EXPECT_EQ(FormulaAt(back, "G2"), "=STDEV.S(E2:E3)+SUM(FILTER(E2:E3,E2:E3))");
  EXPECT_EQ(ValueAt(back, "F2"), Variant(420));
}

}  // namespace
}  // namespace tavrin
