#include <gtest/gtest.h>

#include "support/workplace.h"

namespace tavrin {
namespace {

// A title row, then a list in A:C from row 2 to lastRow: the row number, a text, twice the row.
void PutPartitionList(Workplace& w, int lastRow, int width = 3) {
  w.Put("A1", {{"号", "名", "倍"}});
  for (int r = 2; r <= lastRow; ++r) {
    std::vector<Variant> row{r, "r" + std::to_string(r), 2 * r};
    row.resize(width);
    w.Put("A" + std::to_string(r), {row});
  }
}

void FillDialog(Workplace& w, const char* titleRows, const char* groupsAcross, const char* leadCols,
                const char* groupRows, const char* gapCols) {
  w.Fill({{"TextBox1", titleRows},
          {"TextBox2", groupsAcross},
          {"TextBox3", leadCols},
          {"TextBox4", groupRows},
          {"TextBox5", gapCols}});
}

// The first column of a chunk, rows first..last of the sheet, as row numbers of the list.
std::vector<double> Column(Workplace& w, const std::string& column, int first, int last) {
  std::vector<double> found;
  for (int r = first; r <= last; ++r) {
    Variant value = w.At(column + std::to_string(r));
    found.push_back(value.IsEmpty() ? 0 : value.AsNumber());
  }
  return found;
}

std::vector<double> Numbers(int first, int last) {
  std::vector<double> numbers;
  for (int n = first; n <= last; ++n) numbers.push_back(n);
  return numbers;
}

TEST(Partition, WorkedExampleFoldsTheListIntoThreeBandsOnACopy) {
  Workplace w;
  PutPartitionList(w, 251);
  FillDialog(w, "1", "3", "0", "40", "1");
  w.runtime.answers = {vbOK};
  w.korvel().SJFQ(w.Token(), w.form);

  ASSERT_EQ(w.runtime.shown.size(), 1u);
  EXPECT_EQ(w.runtime.shown[0].text,
            "将要对    “Book1.xlsx”\n的        “Sheet1”\n\n    执行分排处理！");
  EXPECT_EQ(w.runtime.shown[0].title, "Lumo提示");
  EXPECT_EQ(w.runtime.shown[0].buttons, 1);
  ASSERT_EQ(w.sheet().Name(), "Sheet1 (2)");
  EXPECT_EQ(Column(w, "A", 2, 41), Numbers(2, 41));
  EXPECT_EQ(Column(w, "E", 2, 41), Numbers(42, 81));
  EXPECT_EQ(Column(w, "I", 2, 41), Numbers(82, 121));
  EXPECT_EQ(Column(w, "A", 42, 81), Numbers(122, 161));
  EXPECT_EQ(Column(w, "E", 42, 81), Numbers(162, 201));
  EXPECT_EQ(Column(w, "I", 42, 81), Numbers(202, 241));
  EXPECT_EQ(Column(w, "A", 82, 91), Numbers(242, 251));
  EXPECT_EQ(w.At("G2"), Variant(84));
  EXPECT_EQ(w.At("K41"), Variant(242));
  for (const char* empty : {"A92", "E82", "I82", "D2", "H2", "L2", "A122"}) {
    EXPECT_TRUE(w.At(empty).IsEmpty()) << empty;
  }
  EXPECT_EQ(w.sheet().PageSetup().PrintTitleRows(), "$1:$1");
  EXPECT_EQ(w.book().GetSheet("Sheet1").PageSetup().PrintTitleRows(), "$1:$1");
  EXPECT_EQ(w.book().GetSheet("Sheet1").Range("A42").Value(), Variant(42));
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Unloaded);
  EXPECT_TRUE(w.app.EnableEvents());
}

TEST(Partition, OneBandWithATitleRowAlsoMovesAnEmptyExtraBand) {
  Workplace w;
  PutPartitionList(w, 21, 2);
  w.Put("E50", {{"below"}});  // outside the moved blocks: it rises with every delete
  FillDialog(w, "1", "2", "0", "10", "0");
  w.runtime.answers = {vbOK};
  w.korvel().SJFQ(w.Token(), w.form);
  // The title row counts in the list's end: 21 / 20 rounds up to 2 bands, so the loop also
  // moves the empty band of rows 22 to 31 and deletes its rows.
  EXPECT_EQ(Column(w, "A", 2, 11), Numbers(2, 11));
  EXPECT_EQ(Column(w, "C", 2, 11), Numbers(12, 21));
  EXPECT_TRUE(w.At("A12").IsEmpty());
  EXPECT_EQ(w.At("E30"), Variant("below"));
}

TEST(Partition, GapZeroLetsTheExtraColumnLandOnTheNextSlotBeforeItIsFilled) {
  Workplace w;
  PutPartitionList(w, 31, 2);
  w.Put("C15", {{"note"}});  // moves with its block
  w.Put("F15", {{"far"}});   // goes with its row
  FillDialog(w, "1", "3", "0", "10", "0");
  w.runtime.answers = {vbOK};
  w.korvel().SJFQ(w.Token(), w.form);
  EXPECT_EQ(Column(w, "A", 2, 11), Numbers(2, 11));
  EXPECT_EQ(Column(w, "C", 2, 11), Numbers(12, 21));
  EXPECT_EQ(Column(w, "E", 2, 11), Numbers(22, 31)) << "the note at E5 was overwritten";
  EXPECT_EQ(w.At("F5"), Variant("r25"));
  for (int r = 1; r <= 40; ++r) {
    for (int c = 1; c <= 12; ++c) {
      EXPECT_NE(w.sheet().Cells(r, c).Value(), Variant("far")) << r << "," << c;
      EXPECT_NE(w.sheet().Cells(r, c).Value(), Variant("note")) << r << "," << c;
    }
  }
}

TEST(Partition, NoTitleRowsAndAnExactMultipleSkipsTheBadPrintTitleAndAnyEmptyBand) {
  Workplace w;
  for (int r = 1; r <= 40; ++r) w.Put("B" + std::to_string(r), {{r}});
  FillDialog(w, "0", "2", "1", "20", "2");
  w.runtime.answers = {vbOK};
  w.korvel().SJFQ(w.Token(), w.form);
  EXPECT_EQ(w.sheet().Name(), "Sheet1 (2)") << "the print-title step failed and was skipped";
  EXPECT_EQ(w.sheet().PageSetup().PrintTitleRows(), "");
  EXPECT_EQ(Column(w, "B", 1, 20), Numbers(1, 20));
  EXPECT_EQ(Column(w, "E", 1, 20), Numbers(21, 40)) << "slot 1 begins at 1 + (1 + 2) + 1";
  EXPECT_TRUE(w.At("B21").IsEmpty());
  EXPECT_TRUE(w.runtime.shown.size() == 1u && w.app.EnableEvents());
}

TEST(Partition, CancelAtTheConfirmationChangesNothingAndShowsTheFormModeless) {
  Workplace w;
  PutPartitionList(w, 30);
  FillDialog(w, "1", "3", "0", "40", "1");
  w.runtime.answers = {vbCancel};
  w.korvel().SJFQ(w.Token(), w.form);
  EXPECT_EQ(w.book().SheetCount(), 1);
  EXPECT_EQ(w.sheet().PageSetup().PrintTitleRows(), "");
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
  EXPECT_EQ(w.form.ShowCount(), 1);
  EXPECT_EQ(w.form.LastShowModal(), 0);
  EXPECT_TRUE(w.app.EnableEvents());
}

TEST(Partition, ABadParameterIsNamedBeforeAnythingChanges) {
  struct Case {
    const char* field;
    const char* value;
    const char* message;
  };
  const Case cases[] = {
      {"TextBox1", "", "“标题行数”必须是大于或等于0的整数！"},
      {"TextBox1", "abc", "“标题行数”必须是大于或等于0的整数！"},
      {"TextBox2", "0", "“每排组数”必须是大于0的整数！"},
      {"TextBox3", "1.5", "“左侧列数”必须是大于或等于0的整数！"},
      {"TextBox4", "", "“每组行数”必须是大于0的整数！"},
      {"TextBox4", "0", "“每组行数”必须是大于0的整数！"},
      {"TextBox5", "-1", "“间隔列数”必须是大于或等于0的整数！"},
      {"TextBox5", "300", "“间隔列数”不能大于255！"},
      {"TextBox5", "256", "“间隔列数”不能大于255！"},
      {"TextBox4", "1000000000", "“每组行数”不能大于65536！"},
  };
  for (const Case& bad : cases) {
    Workplace w;
    PutPartitionList(w, 30);
    FillDialog(w, "1", "3", "0", "40", "1");
    w.Fill({{bad.field, bad.value}});
    w.korvel().SJFQ(w.Token(), w.form);
    EXPECT_EQ(w.Texts(), std::vector<std::string>{bad.message}) << bad.field << bad.value;
    EXPECT_EQ(w.Titles(), std::vector<std::string>{"Lumo提示"});
    EXPECT_EQ(w.form.Focus(), bad.field);
    EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
    EXPECT_EQ(w.book().SheetCount(), 1);
    EXPECT_EQ(w.sheet().PageSetup().PrintTitleRows(), "");
    EXPECT_TRUE(w.app.EnableEvents());
  }
}

TEST(Partition, AParameterAtItsBoundIsTaken) {
  Workplace w;
  PutPartitionList(w, 30);
  FillDialog(w, "65535", "1", "0", "65536", "255");
  w.runtime.answers = {vbCancel};
  w.korvel().SJFQ(w.Token(), w.form);
  ASSERT_EQ(w.Texts().size(), 1u);
  EXPECT_TRUE(w.Texts()[0].starts_with("将要对")) << "on to the confirmation: " << w.Texts()[0];
}

// Every cell of every sheet, with its value, to compare before and after a run.
std::vector<std::string> Contents(Workplace& w) {
  std::vector<std::string> cells;
  for (int i = 1; i <= w.book().SheetCount(); ++i) {
    Sheet& sheet = w.book().GetSheet(i);
    sheet.Store().ForEach(Area{1, 1, kLastRow, kLastColumn}, [&](int r, int c, const Cell& cell) {
      std::string value =
          cell.value.IsText() ? cell.value.AsText() : std::to_string(cell.value.AsNumber());
      cells.push_back(sheet.Name() + "!" + std::to_string(r) + "," + std::to_string(c) + "=" +
                      value);
    });
  }
  return cells;
}

TEST(Partition, ALayoutPastTheSheetsColumnsIsNamedAndNothingChanges) {
  struct Case {
    const char* groupsAcross;
    const char* leadCols;
    const char* message;
    const char* field;
    const char* lastOfFirstRow;  // widens the list to its column
  };
  // A:C wide with a gap of 1, slot j begins at column 4j + 1: slot 64 would end in column 260.
  // 200 columns wide, two groups across already pass column IV. Lead columns beyond the list
  // leave its first row empty: the slots would run left of A.
  const char* tooWide = "“每排组数”或“间隔列数”过大，分排后的数据将超出第256列（IV列）！";
  const Case cases[] = {
      {"65", "0", tooWide, "TextBox2", "C2"},
      {"2", "0", tooWide, "TextBox2", "GR2"},
      {"3", "10", "“左侧列数”有误：列表首行在第11列及其右侧没有数据！", "TextBox3", "C2"},
  };
  for (const Case& bad : cases) {
    Workplace w;
    PutPartitionList(w, 121);
    w.Put(bad.lastOfFirstRow, {{"末"}});
    FillDialog(w, "1", bad.groupsAcross, bad.leadCols, "1", bad.leadCols[0] == '0' ? "1" : "0");
    std::vector<std::string> before = Contents(w);
    w.runtime.answers = {vbOK};
    w.korvel().SJFQ(w.Token(), w.form);
    EXPECT_EQ(w.Texts(), std::vector<std::string>{bad.message});
    EXPECT_EQ(w.form.Focus(), bad.field);
    EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
    EXPECT_EQ(w.book().SheetCount(), 1);
    EXPECT_EQ(Contents(w), before);
    EXPECT_EQ(w.sheet().PageSetup().PrintTitleRows(), "");
    EXPECT_TRUE(w.app.EnableEvents());
  }
}

TEST(Partition, ALayoutEndingInColumnIVRuns) {
  Workplace w;
  PutPartitionList(w, 121);
  FillDialog(w, "1", "64", "0", "1", "1");
  w.runtime.answers = {vbOK};
  w.korvel().SJFQ(w.Token(), w.form);
  ASSERT_EQ(w.sheet().Name(), "Sheet1 (2)");
  EXPECT_EQ(w.At("IS2"), Variant(65));  // slot 63, columns 253 to 255
  EXPECT_EQ(w.At("IU2"), Variant(130));
  EXPECT_EQ(w.At("A3"), Variant(66));
  EXPECT_EQ(w.At("HM3"), Variant(121)) << "rows 66 to 121 fill slots 0 to 55 of band 2";
  EXPECT_TRUE(w.At("HQ3").IsEmpty());
}

// A running total in C: each record's row number in B added to the total above it.
void PutRunningTotals(Workplace& w, int lastRow) {
  w.Put("A1", {{"名", "数", "累计"}});
  for (int r = 2; r <= lastRow; ++r) {
    std::string row = std::to_string(r);
    w.Put("A" + row, {{"r" + row, r, r == 2 ? "=B2" : "=C" + std::to_string(r - 1) + "+B" + row}});
  }
}

TEST(Partition, MovedFormulasKeepTheirCellsAndFormulasOnCutCellsFollowThem) {
  Workplace w;
  PutRunningTotals(w, 41);
  FillDialog(w, "1", "2", "0", "2", "1");
  w.runtime.answers = {vbOK};
  w.korvel().SJFQ(w.Token(), w.form);

  ASSERT_EQ(w.sheet().Name(), "Sheet1 (2)");
  Worksheet& copy = w.sheet();
  // Records 4 and 5 went to E2:G3, beside records 2 and 3.
  EXPECT_EQ(copy.Range("G2").Formula(), "=C3+F2");
  EXPECT_EQ(w.sheet().Range("G2").Text(), "9");
  EXPECT_EQ(copy.Range("C4").Formula(), "=G3+B4") << "records 6 and 7 now stand in rows 4 and 5";
  EXPECT_EQ(w.sheet().Range("C4").Text(), "20");
  // Every record keeps its running total, wherever it went.
  for (int r = 2; r <= 41; ++r) {
    int record = 0;
    for (const char* name : {"A", "E"}) {
      Variant value = w.At(std::string(name) + std::to_string(r));
      if (value.IsEmpty()) continue;
      record = std::stoi(value.AsText().substr(1));
      std::string total = std::string(name == std::string("A") ? "C" : "G") + std::to_string(r);
      EXPECT_EQ(w.At(total), Variant(record * (record + 1) / 2 - 1)) << total;
    }
  }
}

}  // namespace
}  // namespace tavrin
