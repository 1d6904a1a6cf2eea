#include <gtest/gtest.h>

#include "host/host_error.h"
#include "support/workplace.h"
#include "tools/tool_table.h"

namespace tavrin {
namespace {

// The worked example's layout: index values in A2:A5, target B:C, source table E1:H5 (index
// column E, data G:H).
void PutExample(Workplace& w, const std::string& notFound) {
  w.Put("A2", {{"k2"}, {"K1"}, {"zz"}, {"k?"}});
  w.Put("E1", {{"key", "other", "g", "h"},
               {"k1", "-", 1, "one"},
               {"k2", "-", 2, "two"},
               {"k1", "-", 3, "dup"},
               {"k3", "-", 4, "four"}});
  w.Fill({{"RefEdit1", "A2:A5"},
          {"RefEdit2", "B2:C2"},
          {"RefEdit3", "E1:H5"},
          {"RefEdit4", "E1:E5"},
          {"RefEdit5", "G1:H1"},
          {"TextBox1", notFound}});
}

TEST(MatchIndexLookup, FetchesByExactMatchFirstOccurrenceWinning) {
  Workplace w;
  PutExample(w, "x");
  w.Put("E6", {{"zz", "-", 9, "below"}});  // just below the table: not in it
  w.korvel().DSYCZ(w.Token(), w.form);
  EXPECT_EQ(w.At("B2"), Variant(2));
  EXPECT_EQ(w.At("C2"), Variant("two"));
  EXPECT_EQ(w.At("B3"), Variant(1));  // letter case ignored, the first k1 wins
  EXPECT_EQ(w.At("C3"), Variant("one"));
  EXPECT_EQ(w.At("B4"), Variant("x"));    // not found
  EXPECT_EQ(w.At("C5"), Variant("one"));  // "k?" is a wildcard: k1 is the first it matches
  EXPECT_EQ(w.FormulaAt("B2"), "2");
  EXPECT_TRUE(w.At("B6").IsEmpty() && w.At("C6").IsEmpty()) << "the target ends with the index";
  EXPECT_TRUE(w.Texts().empty());
  EXPECT_TRUE(w.app.EnableEvents());
  EXPECT_EQ(w.form.GetState(), DialogForm::State::Unloaded);
  EXPECT_FALSE(w.app.CutCopyMode());
}

TEST(MatchIndexLookup, AnEmptyFieldAsksForARangeAndChangesNothing) {
  for (const std::string& field : RequiredControls(&Korvel::DSYCZ)) {
    Workplace w;
    PutExample(w, "x");
    w.Fill({{field, ""}});
    w.korvel().DSYCZ(w.Token(), w.form);
    EXPECT_EQ(w.Texts(), (std::vector<std::string>{"请选定区域"})) << field;
    EXPECT_EQ(w.form.Focus(), field);
    EXPECT_TRUE(w.At("B2").IsEmpty() && w.At("C2").IsEmpty()) << field;
    EXPECT_EQ(w.form.GetState(), DialogForm::State::Shown) << field;
  }
}

TEST(MatchIndexLookup, ADataColumnBeyondTheSourceTableFetchesTheRefError) {
  Workplace w;
  PutExample(w, "x");
  w.Put("I1", {{"i"}, {10}, {20}, {30}, {40}});  // beside the table, not in it
  w.Fill({{"RefEdit2", "B2:D2"}, {"RefEdit5", "G1:I1"}});
  w.korvel().DSYCZ(w.Token(), w.form);
  EXPECT_EQ(w.At("C2"), Variant("two"));
  EXPECT_EQ(w.At("D2"), Variant(ErrorValue::Ref));
}

TEST(MatchIndexLookup, ANotFoundTextWithQuotesArrivesIntact) {
  Workplace w;
  PutExample(w, "say \"none\", ok");
  w.korvel().DSYCZ(w.Token(), w.form);
  EXPECT_EQ(w.At("C4"), Variant("say \"none\", ok"));
}

TEST(MatchIndexLookup, AnOccupiedTargetAnsweredNoIsLeftAlone) {
  Workplace w;
  PutExample(w, "x");
  w.Put("C5", {{"keep"}});
  w.runtime.answers = {vbNo};
  w.korvel().DSYCZ(w.Token(), w.form);
  EXPECT_EQ(w.At("C5"), Variant("keep"));
  EXPECT_TRUE(w.At("B2").IsEmpty());
  EXPECT_TRUE(w.app.EnableEvents());
}

TEST(MatchIndexLookup, AShapeItCannotTakeIsNamedWithItsFieldAndNothingChanges) {
  struct Case {
    const char* field;
    const char* value;
    const char* message;
  };
  const Case cases[] = {
      {"RefEdit1", "A2:B5", "“索引目标”只能是一列"},
      {"RefEdit4", "E1:F5", "“索引源”只能是一列"},
      {"RefEdit2", "B2:D2", "“数据目标”列数与“数据源”列数不一致"},
  };
  for (const Case& bad : cases) {
    Workplace w;
    PutExample(w, "x");
    w.Fill({{bad.field, bad.value}});
    w.korvel().DSYCZ(w.Token(), w.form);
    EXPECT_EQ(w.Texts(), std::vector<std::string>{bad.message}) << bad.field;
    EXPECT_EQ(w.Titles(), std::vector<std::string>{"Tavrin"}) << "no title given";
    EXPECT_EQ(w.form.Focus(), bad.field);
    EXPECT_TRUE(w.At("B2").IsEmpty() && w.At("C2").IsEmpty());
    EXPECT_TRUE(w.app.EnableEvents());
  }
}

TEST(MatchIndexLookup, AFailureComesBackWithEventsOn) {
  Workplace w;
  PutExample(w, "x");
  w.Fill({{"RefEdit3", "nowhere"}});
  EXPECT_THROW(w.korvel().DSYCZ(w.Token(), w.form), HostError);
  EXPECT_TRUE(w.app.EnableEvents());
}

}  // namespace
}  // namespace tavrin
