#include <gtest/gtest.h>

#include "host/worksheet_function.h"
#include "support/workplace.h"

namespace tavrin {
namespace {

// A list of region, month and amount, with its field names, at A1.
void PutSales(Workplace& w) {
  w.Put("A1", {{"region", "month", "amount"},
               {"B", "x", 1},
               {"A", "y", 2},
               {"b", "y", 3},
               {"B", "X", 4},
               {"A", "x", "5"}});
}

void Dialog(Workplace& w, const char* list, const char* corner, int option) {
  w.Fill({{"RefEdit1", list},
          {"RefEdit2", corner},
          {"RefEdit3", "A1"},
          {"RefEdit4", "B1"},
          {"RefEdit5", "C1"},
          {"OptionButton1", Variant::Boolean(option == 1)},
          {"OptionButton2", Variant::Boolean(option == 2)}});
}

TEST(ListToTable, SumsRecordsUnderLabelsInFirstAppearanceOrder) {
  Workplace w;
  PutSales(w);
  Dialog(w, "A1:C6", "E1", 1);
  w.korvel().QDZBG(w.Token(), w.form);
  EXPECT_TRUE(w.At("E1").IsEmpty()) << "the corner is cleared";
  EXPECT_EQ(w.At("E2"), Variant("B"));
  EXPECT_EQ(w.At("E3"), Variant("A"));
  EXPECT_TRUE(w.At("E4").IsEmpty());
  EXPECT_EQ(w.At("F1"), Variant("x"));
  EXPECT_EQ(w.At("G1"), Variant("y"));
  EXPECT_TRUE(w.At("H1").IsEmpty());
  EXPECT_EQ(w.At("F2"), Variant(5)) << "letter case is ignored: B and b, x and X";
  EXPECT_EQ(w.At("G2"), Variant(3));
  EXPECT_EQ(w.At("F3"), Variant(5)) << "the text 5 is added as a number";
  EXPECT_EQ(w.At("G3"), Variant(2));
  EXPECT_TRUE(w.At("F4").IsEmpty()) << "the vertical copy is gone";
  EXPECT_TRUE(w.Texts().empty());
  EXPECT_TRUE(w.app.EnableEvents());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Unloaded);
}

TEST(ListToTable, ACornerInColumnABelowTheList) {
  Workplace w;
  PutSales(w);
  w.Put("B20", {{"note"}});
  Dialog(w, "A1:C6", "A10", 1);
  w.korvel().QDZBG(w.Token(), w.form);
  EXPECT_TRUE(w.Texts().empty());
  EXPECT_EQ(w.At("B10"), Variant("x"));
  EXPECT_EQ(w.At("C10"), Variant("y"));
  EXPECT_EQ(w.At("A11"), Variant("B"));
  EXPECT_EQ(w.At("B11"), Variant(5));
  EXPECT_EQ(w.At("C12"), Variant(2));
  EXPECT_TRUE(w.At("B13").IsEmpty());
  EXPECT_EQ(w.At("B20"), Variant("note")) << "only the labels' vertical copy is cleared";
}

TEST(ListToTable, ABodyCellThatHeldANumberBeforeTheRun) {
  for (int option : {1, 2}) {
    Workplace w;
    PutSales(w);
    // B/y and A/y; the first label column takes the vertical copy of the labels on the way.
    w.Put("G2", {{200}, {7}});
    Dialog(w, "A1:C6", "E1", option);
    w.korvel().QDZBG(w.Token(), w.form);
    if (option == 1) {
      EXPECT_EQ(w.At("G2"), Variant(203));
      EXPECT_EQ(w.At("G3"), Variant(9));
    } else {
      EXPECT_EQ(w.At("F2"), Variant(4)) << "the lower record's value";
      EXPECT_EQ(w.At("G2"), Variant(3));
      EXPECT_EQ(w.At("F3"), Variant(5)) << "placed as the host stores the text 5";
      EXPECT_EQ(w.At("G3"), Variant(2));
    }
  }
}

TEST(ListToTable, NeitherOptionWritesTheLabelsOnly) {
  Workplace w;
  PutSales(w);
  Dialog(w, "A1:C6", "E1", 0);
  w.korvel().QDZBG(w.Token(), w.form);
  EXPECT_EQ(w.At("E2"), Variant("B"));
  EXPECT_EQ(w.At("G1"), Variant("y"));
  EXPECT_TRUE(w.At("F2").IsEmpty());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Unloaded);
}

TEST(ListToTable, AnEmptyLabelEndsTheRunAtTheFirstRecordBeyondIt) {
  Workplace w;
  w.Put("A1", {{"r", "c", "v"}, {"p", "x", 1}, {Variant(), "x", 2}, {"q", "x", 3}, {"p", "x", 4}});
  Dialog(w, "A1:C5", "E1", 1);
  w.korvel().QDZBG(w.Token(), w.form);
  EXPECT_EQ(w.At("E2"), Variant("p"));
  EXPECT_TRUE(w.At("E3").IsEmpty()) << "the empty label holds its place in the list";
  EXPECT_EQ(w.At("E4"), Variant("q"));
  EXPECT_EQ(w.At("F2"), Variant(1)) << "the record before the empty label is entered";
  EXPECT_EQ(w.Titles(), (std::vector<std::string>{"未知错误"}));
  EXPECT_EQ(w.Texts()[0],
            "错误内容：\n\n\t不能取得类 WorksheetFunction 的 Match 属性\n\n"
            "程序已经终止，输出结果可能不正确！");
  EXPECT_TRUE(w.app.EnableEvents());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
}

TEST(ListToTable, AddingANumberToATextEndsInTheFailureReport) {
  Workplace w;
  w.Put("A1", {{"r", "c", "v"}, {"p", "x", "abc"}, {"p", "x", 1}});
  Dialog(w, "A1:C3", "E1", 1);
  w.korvel().QDZBG(w.Token(), w.form);
  EXPECT_EQ(w.At("F2"), Variant("abc"));
  EXPECT_EQ(w.Texts()[0], "错误内容：\n\n\t类型不匹配\n\n程序已经终止，输出结果可能不正确！");
}

// Ten column labels: a corner in column IL (246) fills up to IV, one column further stops.
TEST(ListToTable, TheTableMustEndByColumnIV) {
  for (int cornerColumn : {246, 247, 255}) {
    Workplace w;
    std::vector<std::vector<Variant>> rows{{"r", "c", "v"}};
    for (int k = 1; k <= 10; ++k) rows.push_back({"p", "c" + std::to_string(k), k});
    w.Put("A1", rows);
    w.Put(ColumnLetters(cornerColumn) + "30", {{"kept", "'1"}});
    w.Put(ColumnLetters(cornerColumn + 1) + "39", {{"'2"}});  // the last row the labels cover
    std::string corner = ColumnLetters(cornerColumn) + "29";
    Dialog(w, "A1:C11", corner.c_str(), 1);
    w.korvel().QDZBG(w.Token(), w.form);
    Range cornerCell = w.sheet().Range(corner);
    if (cornerColumn == 246) {
      EXPECT_TRUE(w.Texts().empty());
      EXPECT_EQ(w.At("IV29"), Variant("c10"));
      EXPECT_EQ(w.At("IV30"), Variant(10));
      EXPECT_EQ(w.form.GetState(), DialogForm::State::Unloaded);
    } else {
      EXPECT_EQ(w.Texts(), (std::vector<std::string>{"最后一列超过了IV列，操作无法完成！"}));
      EXPECT_EQ(w.Titles(), (std::vector<std::string>{"Lumo提示"}));
      // The label lists are gone and what they covered is back.
      EXPECT_TRUE(cornerCell.Value().IsEmpty());
      EXPECT_EQ(cornerCell.Offset(1, 0).Value(), Variant("kept"));
      EXPECT_EQ(cornerCell.Offset(1, 1).Value(), Variant("1")) << "still a text";
      EXPECT_TRUE(cornerCell.Offset(2, 1).Value().IsEmpty());
      EXPECT_EQ(cornerCell.Offset(10, 1).Value(), Variant("2")) << "still a text";
      std::string labels = ColumnLetters(cornerColumn) + "1:" + ColumnLetters(cornerColumn + 1);
      EXPECT_EQ(w.app.WorksheetFunction().CountA(w.sheet().Range(labels + "100")), 3);
      EXPECT_TRUE(w.app.EnableEvents());
      EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
    }
  }
}

TEST(ListToTable, TheFirstEmptyFieldIsReported) {
  Workplace w;
  Dialog(w, "A1:C6", "E1", 1);
  w.Fill({{"RefEdit3", ""}, {"RefEdit4", ""}});
  w.app.SetEnableEvents(false);
  w.korvel().QDZBG(w.Token(), w.form);
  EXPECT_EQ(w.Texts(), (std::vector<std::string>{"请选定区域"}));
  EXPECT_EQ(w.form.Focus(), "RefEdit3");
  EXPECT_FALSE(w.app.EnableEvents()) << "events not touched";
}

}  // namespace
}  // namespace tavrin
