#include "formula_fixture.h"

namespace tavrin {
namespace {

// Dates are the host's serial day numbers: 1 is 1900-01-01, 60 the 1900-02-29 the host keeps.
class FormulaDateTest : public FormulaTest {
 protected:
  void SetUp() override {
    app.SetClock([] { return 45296.75; });  // 2024-01-05 18:00
  }
};

TEST_F(FormulaDateTest, DateAndTimeBuildSerials) {
  EXPECT_EQ(Eval("=DATE(2024,1,31)"), Variant::Date(45322));
  EXPECT_EQ(Eval("=DATE(2024,14,1)"), Variant::Date(45689));  // months roll over
  EXPECT_EQ(Eval("=DATE(2024,3,0)"), Variant::Date(45351));   // the last of February
  EXPECT_EQ(Eval("=DATE(1900,2,29)"), Variant::Date(60));
  EXPECT_EQ(Eval("=DATE(1900,3,1)"), Variant::Date(61));
  // Past 1900, a year divisible by 100 is a leap year only when 400 divides it too.
  EXPECT_EQ(Eval("=DATE(2100,3,1)-DATE(2100,2,28)"), Variant(1));
  EXPECT_EQ(Eval("=DATE(2000,3,1)-DATE(2000,2,28)"), Variant(2));
  EXPECT_EQ(Eval("=DAY(DATE(2100,2,29))"), Variant(1));
  EXPECT_EQ(Eval("=DAY(EOMONTH(DATE(2100,2,1),0))"), Variant(28));
  EXPECT_EQ(Eval("=DAY(EOMONTH(DATE(2000,2,1),0))"), Variant(29));
  EXPECT_EQ(Eval("=VALUE(\"2100-2-29\")"), Variant(ErrorValue::Value)) << "no such day";
  EXPECT_EQ(Eval("=DATE(99,1,1)"), Variant::Date(36161));  // 1999
  EXPECT_EQ(Eval("=DATE(1900,1,-1)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=DATE(10000,1,1)"), Variant(ErrorValue::Num));
  // The year decides, though the months would bring the date back within the calendar.
  EXPECT_EQ(Eval("=DATE(-1,13,1)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=DATE(10000,-11,1)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=TIME(18,0,0)"), Variant::Date(0.75));
  EXPECT_EQ(Eval("=TIME(25,30,0)"), Variant::Date(0.0625));  // past a day wraps
  EXPECT_EQ(Eval("=TIME(0,-1,0)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=TODAY()"), Variant::Date(45296));
  EXPECT_EQ(Eval("=NOW()"), Variant::Date(45296.75));
}

TEST_F(FormulaDateTest, PartsOfDatesAndTimes) {
  EXPECT_EQ(Eval("=YEAR(45296)&\"-\"&MONTH(45296)&\"-\"&DAY(45296)"), Variant("2024-1-5"));
  EXPECT_EQ(Eval("=YEAR(60)&\"-\"&MONTH(60)&\"-\"&DAY(60)"), Variant("1900-2-29"));
  EXPECT_EQ(Eval("=YEAR(0)&\"-\"&MONTH(0)&\"-\"&DAY(0)"), Variant("1900-1-0"));
  EXPECT_EQ(Eval("=YEAR(\"2024/3/9\")"), Variant(2024));  // a date text reads as its date
  EXPECT_EQ(Eval("=YEAR(-1)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=HOUR(0.75)&\":\"&MINUTE(0.7604)&\":\"&SECOND(0.76041)"), Variant("18:14:59"));
  EXPECT_EQ(Eval("=SECOND(\"12:00:00.6\")"), Variant(1));  // to the nearest second
  EXPECT_EQ(Eval("=WEEKDAY(45296)&WEEKDAY(45296,2)&WEEKDAY(45296,3)"), Variant("654"));
  EXPECT_EQ(Eval("=WEEKDAY(1)"), Variant(1));  // 1900-01-01 is a Sunday to the host
  EXPECT_EQ(Eval("=WEEKDAY(1,4)"), Variant(ErrorValue::Num));
}

TEST_F(FormulaDateTest, MonthsOnAndDifferences) {
  EXPECT_EQ(Eval("=EDATE(DATE(2024,1,31),1)"), Variant(45351));  // 2024-02-29
  EXPECT_EQ(Eval("=EDATE(DATE(2024,3,15),-3)"), Variant(45275));
  EXPECT_EQ(Eval("=EOMONTH(DATE(2024,1,15),1)"), Variant(45351));
  EXPECT_EQ(Eval("=EOMONTH(DATE(2024,1,15),-1)"), Variant(45291));
  EXPECT_EQ(Eval("=EOMONTH(-1,1)"), Variant(ErrorValue::Num));
  Set("A1", "=DATE(2000,6,15)");
  Set("A2", "=DATE(2024,5,10)");
  EXPECT_EQ(Eval("=DATEDIF(A1,A2,\"y\")"), Variant(23));
  EXPECT_EQ(Eval("=DATEDIF(A1,A2,\"M\")"), Variant(286));
  EXPECT_EQ(Eval("=DATEDIF(A1,A2,\"D\")"), Variant(8730));
  EXPECT_EQ(Eval("=DATEDIF(A1,A2,\"YM\")"), Variant(10));
  EXPECT_EQ(Eval("=DATEDIF(A1,A2,\"YD\")"), Variant(330));
  EXPECT_EQ(Eval("=DATEDIF(A1,A2,\"MD\")"), Variant(25));
  EXPECT_EQ(Eval("=DATEDIF(A2,A1,\"D\")"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=DATEDIF(A1,A2,\"W\")"), Variant(ErrorValue::Num));
}

TEST_F(FormulaDateTest, TheCalendarsEnds) {
  EXPECT_EQ(Eval("=DATE(0,1,1)"), Variant::Date(1));
  EXPECT_EQ(Eval("=DATE(1900,1,0)"), Variant::Date(0));
  EXPECT_EQ(Eval("=DATE(9999,12,31)"), Variant::Date(2958465));
  EXPECT_EQ(Eval("=DATE(9999,12,32)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=DATE(2000,1E+10,1)&DATE(2000,1,-1E+10)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=YEAR(2958465)"), Variant(9999));
  EXPECT_EQ(Eval("=YEAR(2958466)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=WEEKDAY(-1)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=EDATE(DATE(1900,3,15),-1)"), Variant(46));
  EXPECT_EQ(Eval("=EDATE(DATE(9999,1,31),11)"), Variant(2958465));
  EXPECT_EQ(Eval("=EOMONTH(DATE(9999,12,1),1)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=EDATE(2958466,-1)"), Variant(ErrorValue::Num)) << "no date to start from";
  // 1899-12-31 is before the first day, though serial 0 would show it as 1900-01-00.
  EXPECT_EQ(Eval("=EOMONTH(DATE(1900,1,15),-1)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=EDATE(DATE(1900,1,31),-1)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=EDATE(DATE(1900,1,31),-22801)"), Variant(ErrorValue::Num));
}

TEST_F(FormulaDateTest, TimesUpToTheirLimits) {
  EXPECT_EQ(Eval("=TIME(0,0,0)"), Variant::Date(0));
  EXPECT_EQ(Eval("=TIME(32767,0,0)=TIME(7,0,0)"), Variant::Boolean(true));
  EXPECT_EQ(Eval("=TIME(0,32767,0)=TIME(18,7,0)"), Variant::Boolean(true));
  EXPECT_EQ(Eval("=TIME(0,0,32767)=TIME(9,6,7)"), Variant::Boolean(true));
  EXPECT_EQ(Eval("=TIME(32768,0,0)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=TIME(0,32768,0)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=TIME(0,0,32768)"), Variant(ErrorValue::Num));
}

TEST_F(FormulaDateTest, DateDifOnTheSameDayOfTheMonth) {
  Set("A1", "=DATE(2000,6,15)");
  EXPECT_EQ(Eval("=DATEDIF(A1,A1,\"D\")"), Variant(0));
  EXPECT_EQ(Eval("=DATEDIF(A1,DATE(2000,7,15),\"M\")"), Variant(1));
  EXPECT_EQ(Eval("=DATEDIF(A1,DATE(2000,7,15),\"MD\")"), Variant(0));
  EXPECT_EQ(Eval("=DATEDIF(A1,DATE(2024,6,15),\"YD\")"), Variant(0));
  EXPECT_EQ(Eval("=DATEDIF(A1,DATE(2024,6,10),\"YD\")"), Variant(361));
  EXPECT_EQ(Eval("=DATEDIF(A1,DATE(2024,5,20),\"YD\")"), Variant(340));
  EXPECT_EQ(Eval("=DATEDIF(A1,DATE(2024,8,1),\"YD\")"), Variant(47));
  EXPECT_EQ(Eval("=DATEDIF(\"abc\",A1,\"D\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=DATEDIF(A1,\"abc\",\"D\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=DATEDIF(A1,A1,NA())"), Variant(ErrorValue::NA));
  EXPECT_EQ(Eval("=DATEDIF(-1,A1,\"D\")"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=DATEDIF(A1,2958466,\"D\")"), Variant(ErrorValue::Num));
}

TEST_F(FormulaDateTest, WorkingDaysAtTheEndsAndWithErrors) {
  EXPECT_EQ(Eval("=NETWORKDAYS(DATE(2024,1,5),DATE(2024,1,5))"), Variant(1));
  EXPECT_EQ(Eval("=NETWORKDAYS(DATE(2024,1,1),DATE(2024,1,2),45293)"), Variant(1));
  EXPECT_EQ(Eval("=NETWORKDAYS(DATE(2024,1,8),DATE(2024,1,12),{45292,45306})"), Variant(5));
  EXPECT_EQ(Eval("=NETWORKDAYS(-1,5)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=NETWORKDAYS(5,2958466)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=NETWORKDAYS(\"x\",5)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=NETWORKDAYS(5,\"x\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=NETWORKDAYS(5,10,NA())"), Variant(ErrorValue::NA));
  EXPECT_EQ(Eval("=WORKDAY(0,1)"), Variant::Date(2));
  EXPECT_EQ(Eval("=WORKDAY(-1,1)"), Variant(ErrorValue::Num)) << "no day to start from";
  EXPECT_EQ(Eval("=WORKDAY(DATE(9999,12,30),1)"), Variant::Date(2958465));
  EXPECT_EQ(Eval("=WORKDAY(DATE(9999,12,31),1)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=WORKDAY(\"x\",1)"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=WORKDAY(5,\"x\")"), Variant(ErrorValue::Value));
  EXPECT_EQ(Eval("=WORKDAY(5,1,NA())"), Variant(ErrorValue::NA));
  EXPECT_EQ(Eval("=WEEKNUM(-1)"), Variant(ErrorValue::Num));
  EXPECT_EQ(Eval("=WEEKNUM(5,3)"), Variant(ErrorValue::Num));
}

}  // namespace
}  // namespace tavrin
