#include <gtest/gtest.h>

#include "host/worksheet_function.h"
#include "support/workplace.h"

namespace tavrin {
namespace {

// A table of 3 rows and 3 columns: labels r1, r2 down and c1, c2 across.
void PutTable(Workplace& w, const Variant& emptyOrZero = Variant()) {
  w.Put("A1", {{"corner", "c1", "c2"}, {"r1", 11, 12}, {"r2", emptyOrZero, 22}});
}

void Dialog(Workplace& w, int option, bool skipEmpty = false) {
  w.Fill({{"RefEdit1", "A1:C3"},
          {"RefEdit2", "E2"},
          {"OptionButton1", Variant::Boolean(option == 1)},
          {"OptionButton2", Variant::Boolean(option == 2)},
          {"CheckBox1", Variant::Boolean(skipEmpty)}});
}

std::vector<std::vector<Variant>> List(Workplace& w, const char* address) {
  Block block = w.sheet().Range(address).Values();
  std::vector<std::vector<Variant>> rows;
  for (int r = 1; r <= block.Rows(); ++r) rows.push_back({block(r, 1), block(r, 2), block(r, 3)});
  return rows;
}

TEST(TableToList, ThreeByThreeReadRowByRowAndColumnByColumn) {
  Workplace w;
  PutTable(w, 21);
  Dialog(w, 1);
  w.korvel().BGZQD(w.Token(), w.form);
  EXPECT_EQ(List(w, "E2:G5"),
            (std::vector<std::vector<Variant>>{
                {"r1", "c1", 11}, {"r1", "c2", 12}, {"r2", "c1", 21}, {"r2", "c2", 22}}));
  EXPECT_TRUE(w.At("E1").IsEmpty()) << "no header row";
  EXPECT_TRUE(w.At("E6").IsEmpty());
  EXPECT_TRUE(w.app.EnableEvents());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Unloaded);

  Workplace c;
  PutTable(c, 21);
  Dialog(c, 2);
  c.korvel().BGZQD(c.Token(), c.form);
  EXPECT_EQ(List(c, "E2:G5"),
            (std::vector<std::vector<Variant>>{
                {"c1", "r1", 11}, {"c1", "r2", 21}, {"c2", "r1", 12}, {"c2", "r2", 22}}));
}

TEST(TableToList, ACellShowingTheEmptyTextIsLeftOutAsEmpty) {
  Workplace w;
  PutTable(w, 21);
  w.Put("C2", {{"=\"\""}});
  Dialog(w, 1, true);
  w.korvel().BGZQD(w.Token(), w.form);
  EXPECT_EQ(List(w, "E2:G4"), (std::vector<std::vector<Variant>>{
                                  {"r1", "c1", 11}, {"r2", "c1", 21}, {"r2", "c2", 22}}));
}

TEST(TableToList, EmptyCellsAreLeftOutOnRequestButZeroIsNot) {
  Workplace w;
  PutTable(w);
  w.Put("C2", {{0}});
  w.Put("E5", {{"below", "kept", "too"}, {"x", "y", "z"}});
  Dialog(w, 1, true);
  w.korvel().BGZQD(w.Token(), w.form);
  EXPECT_EQ(List(w, "E2:G5"),
            (std::vector<std::vector<Variant>>{
                {"r1", "c1", 11}, {"r1", "c2", 0}, {"r2", "c2", 22}, {"below", "kept", "too"}}))
      << "the rows close up; cells below the list keep their content";

  Workplace k;
  PutTable(k);
  k.Put("G4", {{"old"}});
  Dialog(k, 1, false);
  k.korvel().BGZQD(k.Token(), k.form);
  EXPECT_EQ(List(k, "E4:G4"), (std::vector<std::vector<Variant>>{{"r2", "c1", Variant()}}))
      << "an empty cell gives a row whose value is written empty";
}

TEST(TableToList, NoBodyOrNoOptionWritesNothing) {
  for (const char* table : {"A1:C1", "A1:A3"}) {
    Workplace w;
    PutTable(w, 21);
    Dialog(w, 1);
    w.Fill({{"RefEdit1", table}});
    w.korvel().BGZQD(w.Token(), w.form);
    EXPECT_EQ(w.app.WorksheetFunction().CountA(w.sheet().Range("E:G")), 0) << table;
    EXPECT_EQ(w.form.GetState(), DialogForm::State::Unloaded);
  }
  Workplace w;
  PutTable(w, 21);
  Dialog(w, 0);
  w.korvel().BGZQD(w.Token(), w.form);
  EXPECT_EQ(w.app.WorksheetFunction().CountA(w.sheet().Range("E:G")), 0);
  EXPECT_TRUE(w.app.EnableEvents());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Unloaded);
}

TEST(TableToList, AListRunningPastTheLastRowEndsInTheFailureReport) {
  Workplace w;
  PutTable(w, 21);
  Dialog(w, 1);
  w.Fill({{"RefEdit2", "E65535"}});
  w.korvel().BGZQD(w.Token(), w.form);
  EXPECT_EQ(w.At("G65536"), Variant(12)) << "rows written before the failure stay";
  EXPECT_EQ(w.Titles(), (std::vector<std::string>{"未知错误"}));
  EXPECT_TRUE(w.app.EnableEvents());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
}

TEST(TableToList, TheFirstEmptyFieldIsReported) {
  Workplace w;
  Dialog(w, 1);
  w.Fill({{"RefEdit2", ""}});
  w.korvel().BGZQD(w.Token(), w.form);
  EXPECT_EQ(w.Texts(), (std::vector<std::string>{"请选定区域"}));
  EXPECT_EQ(w.form.Focus(), "RefEdit2");
}

}  // namespace
}  // namespace tavrin
