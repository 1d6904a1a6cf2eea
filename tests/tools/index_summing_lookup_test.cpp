#include <gtest/gtest.h>

#include "host/host_error.h"
#include "support/workplace.h"

namespace tavrin {
namespace {

// Index source H2:I6, data source K2:L6, targets in A2:B4, output from F.
void PutSource(Workplace& w) {
  w.Put("H2", {{"a", "x", "", 1, 10},
               {"A", "X", "", 2, 20},
               {"b", "x", "", 4, 40},
               {"", "", "", 8, 80},
               {"a", "y", "", 16, 160}});
  w.Put("A2", {{"a", "x"}, {"b", "y"}, {"", ""}});
  w.Fill({{"RefEdit1", "A2:B4"}, {"RefEdit2", "F2"}, {"RefEdit4", "H2:I6"}, {"RefEdit5", "K2:L6"}});
}

TEST(IndexSummingLookup, SumsEveryMatchingRowIgnoringLetterCase) {
  Workplace w;
  PutSource(w);
  w.korvel().HZCZSZ(w.Token(), w.form);
  EXPECT_EQ(w.At("F2"), Variant(3));   // a/x and A/X
  EXPECT_EQ(w.At("G2"), Variant(30));  // filled across: C[5] is column L
  EXPECT_EQ(w.At("F3"), Variant(0));   // b/y is in no row
  EXPECT_EQ(w.At("F4"), Variant(8));   // blank keys match blank source keys
  EXPECT_EQ(w.At("G4"), Variant(80));
  EXPECT_TRUE(w.At("F5").IsEmpty()) << "nothing below the targets' rows";
  EXPECT_EQ(w.FormulaAt("G3"), "0") << "values, not formulas";
  EXPECT_EQ(w.Texts(), (std::vector<std::string>{"查找完毕"}));
  EXPECT_TRUE(w.app.EnableEvents());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Unloaded);
}

TEST(IndexSummingLookup, DataLeftOfTheOutputAndASingleCell) {
  Workplace w;
  w.Put("A2", {{"k", 5}, {"k", 6}, {"j", 7}});
  w.Put("D2", {{"k"}});
  w.Put("A5", {{"k", 100}, {"k", 1000}});  // below the index source: not its rows
  w.Fill({{"RefEdit1", "D2"}, {"RefEdit2", "E2"}, {"RefEdit4", "A2:A4"}, {"RefEdit5", "B2:B4"}});
  w.korvel().HZCZSZ(w.Token(), w.form);
  EXPECT_EQ(w.At("E2"), Variant(11));  // C[-3]
  EXPECT_EQ(w.FormulaAt("E2"), "11");
}

TEST(IndexSummingLookup, TextInTheDataStopsTheRun) {
  Workplace w;
  PutSource(w);
  w.Put("K3", {{"'2"}});
  w.korvel().HZCZSZ(w.Token(), w.form);
  EXPECT_EQ(w.Texts(), (std::vector<std::string>{"数据源中包含有 1 个文本值，程序无法运行！"}));
  EXPECT_TRUE(w.At("F2").IsEmpty());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown);
  EXPECT_TRUE(w.app.EnableEvents());
}

TEST(IndexSummingLookup, AnOccupiedOutputIsAskedAbout) {
  const char* question =
      "“数据”目标列中目前已存在有效数据,继续运行将会清除掉这些数据\n\n是否继续运行？";
  Workplace no;
  PutSource(no);
  no.Put("G4", {{"old"}});
  no.runtime.answers = {vbNo};
  no.korvel().HZCZSZ(no.Token(), no.form);
  EXPECT_EQ(no.Texts(), (std::vector<std::string>{question}));
  EXPECT_TRUE(no.At("F2").IsEmpty());
  EXPECT_EQ(no.At("G4"), Variant("old"));
  Workplace yes;
  PutSource(yes);
  yes.Put("G4", {{"old"}});
  yes.runtime.answers = {vbYes};
  yes.korvel().HZCZSZ(yes.Token(), yes.form);
  EXPECT_EQ(yes.At("G4"), Variant(80));
}

TEST(IndexSummingLookup, AFailureComesBackWithEventsOn) {
  Workplace w;
  PutSource(w);
  w.Fill({{"RefEdit4", "no such place"}});
  EXPECT_THROW(w.korvel().HZCZSZ(w.Token(), w.form), HostError);
  EXPECT_TRUE(w.app.EnableEvents());
}

}  // namespace
}  // namespace tavrin
