#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "host/host_error.h"
#include "support/workplace.h"

namespace tavrin {
namespace {

// Each tool on a small list: set up by `prepare`, then called with the token or a stale one.
struct Tool {
  const char* name;
  void (Korvel::*run)(const std::string& WD, Form& Obj1);
  std::function<void(Workplace&)> prepare;
};

// Whether the run reached its normal close.
bool Finished(const Tool& tool, const std::function<void(Workplace&)>& change = {},
              bool staleToken = false) {
  Workplace w;
  tool.prepare(w);
  if (change) change(w);
  try {
    (w.korvel().*tool.run)(staleToken ? "stale" : w.Token(), w.form);
  } catch (const HostError&) {
    // a failure that reaches the caller
  }
  return w.korvel().RunFinished();
}

void AnswerRangePrompt(Workplace& w, std::optional<std::string> address) {
  w.app.SetInputAnswerer([address](const std::string&, const std::string&) { return address; });
}

// A list with a header row: key and value in A1:B4.
void PutKeysAndValues(Workplace& w) {
  w.Put("A1", {{"k", "v"}, {"a", 1}, {"b", 2}, {"a", 3}});
}

const Tool kTools[] = {
    {"HZ", &Korvel::HZ,
     [](Workplace& w) {
       PutKeysAndValues(w);
       w.Fill({{"RefEdit1", "A1:B4"}, {"RefEdit2", "A1"}, {"RefEdit3", "B1"}, {"RefEdit4", "D1"}});
     }},
    {"HzCzBcf", &Korvel::HzCzBcf,
     [](Workplace& w) {
       PutKeysAndValues(w);
       w.Fill({{"Label10", 1},
               {"Label9", 1},
               {"RefEdit1", "A2:A4"},
               {"RefEdit2", "B2"},
               {"RefEdit3", "D1"}});
     }},
    {"HZCZSZ", &Korvel::HZCZSZ,
     [](Workplace& w) {
       PutKeysAndValues(w);
       w.Put("D2", {{"a"}});
       w.Fill(
           {{"RefEdit1", "D2"}, {"RefEdit2", "E2"}, {"RefEdit4", "A2:A4"}, {"RefEdit5", "B2:B4"}});
     }},
    {"DSYCZ", &Korvel::DSYCZ,
     [](Workplace& w) {
       PutKeysAndValues(w);
       w.Put("D2", {{"b"}});
       w.Fill({{"RefEdit1", "D2"},
               {"RefEdit2", "E2"},
               {"RefEdit3", "A1:B4"},
               {"RefEdit4", "A1"},
               {"RefEdit5", "B1"}});
     }},
    {"FYXJYHJ", &Korvel::FYXJYHJ,
     [](Workplace& w) {
       PutKeysAndValues(w);
       w.Fill({{"RefEdit1", "B2"}, {"RefEdit2", "A2"}, {"TextBox1", "小计"}, {"TextBox2", "合计"}});
     }},
    {"SJFQ", &Korvel::SJFQ,
     [](Workplace& w) {
       PutKeysAndValues(w);
       w.Fill({{"TextBox1", "1"},
               {"TextBox2", "2"},
               {"TextBox3", "0"},
               {"TextBox4", "2"},
               {"TextBox5", "1"}});
       w.runtime.answers = {vbOK};
     }},
    {"QDZBG", &Korvel::QDZBG,
     [](Workplace& w) {
       w.Put("A1", {{"row", "column", "value"}, {"r", "c", 1}, {"s", "d", 2}});
       w.Fill({{"RefEdit1", "A1:C3"},
               {"RefEdit2", "E1"},
               {"RefEdit3", "A1"},
               {"RefEdit4", "B1"},
               {"RefEdit5", "C1"},
               {"OptionButton1", Variant::Boolean(true)}});
     }},
    {"BGZQD", &Korvel::BGZQD,
     [](Workplace& w) {
       w.Put("A1", {{"", "c"}, {"r", 1}});
       w.Fill(
           {{"RefEdit1", "A1:B2"}, {"RefEdit2", "D1"}, {"OptionButton1", Variant::Boolean(true)}});
     }},
    {"SC0", &Korvel::SC0,
     [](Workplace& w) {
       PutKeysAndValues(w);
       AnswerRangePrompt(w, "A1:B4");
     }},
    {"SCGS0", &Korvel::SCGS0,
     [](Workplace& w) {
       w.Put("A1", {{0, 1}});
       AnswerRangePrompt(w, "A1:B1");
       w.runtime.answers = {vbYes};
     }},
};

const Tool& Named(std::string_view name) {
  for (const Tool& tool : kTools) {
    if (tool.name == name) return tool;
  }
  throw std::invalid_argument(std::string(name));
}

TEST(RunFinished, EveryToolFinishesItsFullRunAndNotOneWithAStaleToken) {
  for (const Tool& tool : kTools) {
    EXPECT_TRUE(Finished(tool)) << tool.name;
    EXPECT_FALSE(Finished(tool, {}, true)) << tool.name;
  }
}

TEST(RunFinished, AnEmptyFieldStopsTheToolsThatCheckTheirFields) {
  for (const char* name : {"HZ", "HZCZSZ", "DSYCZ", "FYXJYHJ", "QDZBG", "BGZQD"}) {
    EXPECT_FALSE(Finished(Named(name), [](Workplace& w) { w.Fill({{"RefEdit2", ""}}); })) << name;
  }
}

TEST(RunFinished, TheToolsOfATargetWorkbookRefuseToRunOnTheHostWorkbook) {
  for (const char* name : {"HZ", "HZCZSZ", "DSYCZ", "FYXJYHJ", "SJFQ", "QDZBG", "BGZQD"}) {
    Workplace w;
    Named(name).prepare(w);
    w.korvel().CSH();  // brings the host workbook forward
    w.runtime.shown.clear();
    (w.korvel().*Named(name).run)(w.Token(), w.form);
    EXPECT_EQ(w.Texts(), (std::vector<std::string>{"请先切换到目标工作簿！"})) << name;
    EXPECT_FALSE(w.korvel().RunFinished()) << name;
  }
}

TEST(RunFinished, ANoOrCancelStopsTheRun) {
  auto occupied = [](const char* cell) {
    return [cell](Workplace& w) {
      w.Put(cell, {{"old"}});
      w.runtime.answers = {vbNo};
    };
  };
  EXPECT_FALSE(Finished(Named("HZ"), occupied("D900")));
  EXPECT_FALSE(Finished(Named("HzCzBcf"), occupied("E1")));
  EXPECT_FALSE(Finished(Named("HZCZSZ"), occupied("E2")));
  EXPECT_FALSE(Finished(Named("DSYCZ"), occupied("E2")));
  EXPECT_FALSE(Finished(Named("SJFQ"), [](Workplace& w) { w.runtime.answers = {vbCancel}; }));
  EXPECT_FALSE(Finished(Named("SCGS0"), [](Workplace& w) { w.runtime.answers = {vbNo}; }));
  for (const char* name : {"SC0", "SCGS0"}) {
    EXPECT_FALSE(Finished(Named(name), [](Workplace& w) { AnswerRangePrompt(w, std::nullopt); }))
        << name;
  }
  EXPECT_TRUE(Finished(Named("HZ"), [](Workplace& w) {
    w.Put("D900", {{"old"}});
    w.runtime.answers = {vbYes};
  })) << "Yes goes on to the end";
}

TEST(RunFinished, ToolChecksAndFailuresStopTheRun) {
  EXPECT_FALSE(Finished(Named("HZ"), [](Workplace& w) { w.Put("B3", {{"text"}}); }))
      << "text in the values";
  EXPECT_FALSE(Finished(Named("HZCZSZ"), [](Workplace& w) { w.Put("B3", {{"text"}}); }));
  EXPECT_FALSE(Finished(Named("HZCZSZ"), [](Workplace& w) {
    w.Fill({{"RefEdit4", "A2:B4"}});
  })) << "key columns that do not pair up";
  EXPECT_FALSE(Finished(Named("HzCzBcf"), [](Workplace& w) {
    w.Fill({{"Label10", 2}, {"RefEdit3", "D1:E1"}, {"RefEdit4", "F1"}});
  }));
  EXPECT_FALSE(Finished(Named("DSYCZ"), [](Workplace& w) {
    w.Fill({{"RefEdit1", "D2:E2"}});
  })) << "an index target of two columns";
  EXPECT_FALSE(Finished(Named("FYXJYHJ"), [](Workplace& w) {
    w.Fill({{"RefEdit1", "nowhere"}});
  })) << "no reference";
  EXPECT_FALSE(Finished(Named("SJFQ"), [](Workplace& w) {
    w.Fill({{"TextBox4", "0"}});
  })) << "a bad number";
  EXPECT_FALSE(Finished(Named("QDZBG"), [](Workplace& w) {
    w.Fill({{"RefEdit2", "IU1"}});
  })) << "a table past column IV";
  EXPECT_FALSE(Finished(Named("SCGS0"), [](Workplace& w) { w.Put("A1", {{"text"}}); }))
      << "the failure report";
  EXPECT_FALSE(Finished(Named("DSYCZ"), [](Workplace& w) {
    w.Fill({{"RefEdit3", "nowhere"}});
  })) << "a failure that reaches the caller";
}

TEST(RunFinished, EveryToolFinishesOnAListOfTheUsersOwnFormulas) {
  // The list's values are formulas of the user's: 1, 3 and 4.
  auto formulas = [](Workplace& w) {
    for (int row = 2; row <= 4; ++row) {
      w.sheet()
          .Range("B" + std::to_string(row))
          .SetFormula("=IFERROR(TRUNC(" + std::to_string(row - 1) + "*1.5),0)");
    }
  };
  for (const Tool& tool : kTools) {
    Workplace w;
    tool.prepare(w);
    formulas(w);
    (w.korvel().*tool.run)(w.Token(), w.form);
    EXPECT_TRUE(w.korvel().RunFinished()) << tool.name;
    int kept = 0;
    for (int row = 1; row <= 40; ++row) {
      for (char column = 'A'; column <= 'Z'; ++column) {
        std::string cell = column + std::to_string(row);
        EXPECT_FALSE(w.At(cell).IsError()) << tool.name << ' ' << cell;
        kept += w.FormulaAt(cell).starts_with("=IFERROR(TRUNC(");
      }
    }
    EXPECT_GE(kept, 3) << tool.name;
  }
  Workplace w;
  Named("HZ").prepare(w);
  formulas(w);
  w.korvel().HZ(w.Token(), w.form);
  EXPECT_EQ(w.At("E2"), Variant(5)) << "a: TRUNC(1.5) + TRUNC(4.5)";
  EXPECT_EQ(w.At("E3"), Variant(3)) << "b: TRUNC(3)";
}

TEST(RunFinished, ANewRunForgetsThatTheLastOneFinished) {
  Workplace w;
  Named("SC0").prepare(w);
  w.korvel().SC0(w.Token(), w.form);
  ASSERT_TRUE(w.korvel().RunFinished());
  w.korvel().SC0("stale", w.form);
  EXPECT_FALSE(w.korvel().RunFinished());
}

}  // namespace
}  // namespace tavrin
