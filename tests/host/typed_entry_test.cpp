#include <gtest/gtest.h>

#include "host/typed_entry.h"

namespace tavrin {
namespace {

Variant Typed(const char* text) {
  TypedEntry entry = ReadTypedEntry(Variant(text), UserLocale{});
  EXPECT_FALSE(entry.isFormula) << text;
  return entry.value;
}

TEST(TypedEntry, ReadsNumbersWordsAndErrorValuesAsTheHostReadsTyping) {
  EXPECT_EQ(Typed("1.5"), Variant(1.5));
  EXPECT_EQ(Typed("false"), Variant::Boolean(false));
  EXPECT_EQ(Typed("True"), Variant::Boolean(true));
  EXPECT_EQ(Typed("#n/a"), Variant(ErrorValue::NA));
  EXPECT_EQ(Typed("#DIV/0!"), Variant(ErrorValue::Div0));
  EXPECT_EQ(Typed("falsey"), Variant("falsey"));
  EXPECT_EQ(Typed("tru"), Variant("tru"));
  EXPECT_EQ(Typed("'123"), Variant("123"));
  EXPECT_EQ(Typed(""), Variant());
}

TEST(TypedEntry, AFormulaIsAnEqualsSignAndMore) {
  TypedEntry formula = ReadTypedEntry(Variant("=A1*2"), UserLocale{});
  EXPECT_TRUE(formula.isFormula);
  EXPECT_EQ(formula.value, Variant("=A1*2"));
  EXPECT_EQ(Typed("="), Variant("="));
  EXPECT_EQ(ReadTypedEntry(Variant(7.0), UserLocale{}).value, Variant(7.0));
}

}  // namespace
}  // namespace tavrin
