#include <gtest/gtest.h>

#include "host/command_bar_model.h"
#include "host/host_error.h"
#include "support/error_number.h"

namespace tavrin {
namespace {

TEST(CommandBarModel, APopupHoldsControlsAndAButtonHasNone) {
  Bars bars;
  CommandBarControls& menus = bars.Item(Bars::kWorksheetMenuBar).Controls();
  CommandBarControl& popup = menus.Add(msoControlPopup, 1, false);
  popup.Controls().Add(msoControlButton, 1, true).SetCaption("item");
  EXPECT_EQ(popup.Controls().Item(1).Caption(), "item");
  CommandBarControl& button = menus.Add(msoControlButton, 1, false);
  EXPECT_EQ(ErrorOf([&] { button.Controls(); }), 438);
}

TEST(CommandBarModel, ControlsAreCountedFromOneToTheLast) {
  Bars bars;
  CommandBar& bar = bars.Add("Tools", msoBarTop, false, false);
  bar.Controls().Add(msoControlButton, 1, false).SetCaption("first");
  bar.Controls().Add(msoControlButton, 1, false).SetCaption("last");
  EXPECT_EQ(bar.Controls().Item(2).Caption(), "last");
  EXPECT_EQ(ErrorOf([&] { bar.Controls().Item(3); }), 5);
  EXPECT_EQ(ErrorOf([&] { bar.Controls().Item(0); }), 5);
  EXPECT_EQ(bars.Item(1).Name(), Bars::kWorksheetMenuBar);
  EXPECT_EQ(ErrorOf([&] { bars.Item(0); }), 5);
  EXPECT_EQ(bars.Item(bars.Count()).Name(), "Tools");
  EXPECT_EQ(ErrorOf([&] { bars.Item(bars.Count() + 1); }), 5);
}

TEST(CommandBarModel, OnlyButtonsAndPopupsOfAPositiveIdAreAdded) {
  Bars bars;
  CommandBarControls& controls = bars.Add("Tools", msoBarTop, false, false).Controls();
  EXPECT_EQ(ErrorOf([&] { controls.Add(msoControlButton, 0, false); }), 5);
  EXPECT_EQ(ErrorOf([&] { controls.Add(msoControlPopup, -1, false); }), 5);
  EXPECT_EQ(ErrorOf([&] { controls.Add(2, 1, false); }), 5);
  EXPECT_EQ(controls.Count(), 0);
}

TEST(CommandBarModel, DeletingAControlOrABarLeavesTheOthers) {
  Bars bars;
  int before = bars.Count();
  CommandBar& bar = bars.Add("Tools", msoBarTop, false, false);
  bars.Add("Other", msoBarTop, false, false);
  for (const char* caption : {"first", "middle", "last"})
    bar.Controls().Add(msoControlButton, 1, false).SetCaption(caption);
  bar.Controls().Item("middle").Delete();
  EXPECT_EQ(bar.Controls().Count(), 2);
  EXPECT_EQ(bar.Controls().Item(1).Caption(), "first");
  EXPECT_EQ(bar.Controls().Item(2).Caption(), "last");
  bars.Item("Tools").Delete();
  EXPECT_EQ(bars.Count(), before + 1);
  EXPECT_EQ(bars.Item(bars.Count()).Name(), "Other");
}

TEST(CommandBarModel, ACaptionIsFoundWithoutItsAccessKeyOrLetterCase) {
  Bars bars;
  CommandBar& bar = bars.Add("Tools", msoBarTop, false, false);
  bar.Controls().Add(msoControlButton, 1, false).SetCaption("Other");
  bar.Controls().Add(msoControlButton, 1, false).SetCaption("Tavrin(&U)");
  bar.Controls().Add(msoControlButton, 1, false).SetCaption("&Zoom All");
  bar.Controls().Add(msoControlButton, 1, false).SetCaption("other");
  EXPECT_EQ(bar.Controls().Item("tavrin(u)").Caption(), "Tavrin(&U)");
  EXPECT_EQ(bar.Controls().Item("zoom all").Caption(), "&Zoom All");
  // The caption as written goes before one that matches only without case.
  EXPECT_EQ(&bar.Controls().Item("other"), &bar.Controls().Item(4));
  EXPECT_EQ(&bar.Controls().Item("OTHER"), &bar.Controls().Item(1));
}

TEST(CommandBarModel, TheWorksheetMenuBarStaysAndAnAddedBarGoes) {
  Bars bars;
  EXPECT_EQ(ErrorOf([&] { bars.Item(Bars::kWorksheetMenuBar).Delete(); }), 5);
  bars.Add("Tavrin", msoBarTop, false, false);
  EXPECT_EQ(ErrorOf([&] { bars.Add("TAVRIN", msoBarTop, false, false); }), 5);
  bars.Item("tavrin").Delete();
  EXPECT_EQ(ErrorOf([&] { bars.Item("Tavrin"); }), 5);
}

}  // namespace
}  // namespace tavrin
