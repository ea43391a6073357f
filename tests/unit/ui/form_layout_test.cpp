#include "ui/win32/form_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace kelpo::form_layout {
namespace {

TEST(TwipsToPixels, ScalesByTheSystemDpi) {
  EXPECT_EQ(TwipsToPixels(1440, 96), 96);
  EXPECT_EQ(TwipsToPixels(8460, 96), 564);
  EXPECT_EQ(TwipsToPixels(8460, 120), 705);
  EXPECT_EQ(TwipsToPixels(8460, 144), 846);
  EXPECT_EQ(TwipsToPixels(0, 96), 0);
}

TEST(TwipsToPixels, RoundsToTheNearestPixel) {
  EXPECT_EQ(TwipsToPixels(7, 96), 0);    // 0.47
  EXPECT_EQ(TwipsToPixels(8, 96), 1);    // 0.53
  EXPECT_EQ(TwipsToPixels(375, 96), 25);
  EXPECT_EQ(TwipsToPixels(6, 120), 1);  // a half pixel rounds away from zero
  EXPECT_EQ(TwipsToPixels(-6, 120), -1);
}

TEST(TwipsToPixels, DoesNotOverflowAtLargeExtents) {
  EXPECT_EQ(TwipsToPixels(30'000'000, 480), 10'000'000);
}

TEST(FontHeightPixels, GivesTheEmHeightForTheDpi) {
  EXPECT_EQ(FontHeightPixels(9, 96), -12);
  EXPECT_EQ(FontHeightPixels(10.5, 96), -14);
  EXPECT_EQ(FontHeightPixels(9, 144), -18);
  EXPECT_EQ(FontHeightPixels(10.5, 120), -18);  // 17.5 rounds away from zero
}

TEST(CentredOrigin, CentresAndKeepsTheCaptionOnTheScreen) {
  EXPECT_EQ(CentredOrigin(1024, 570), 227);
  EXPECT_EQ(CentredOrigin(1024, 1024), 0);
  EXPECT_EQ(CentredOrigin(800, 1000), 0);
}

// The check window's controls: lblIEVersion 0, Label1 1, lblTemp 2 (hidden), btnClose 3, btnOk 4,
// List 5, btnCancel 6 (hidden); labels never take the focus.
std::vector<TabStop> CheckWindow() {
  return {{0, false}, {1, false}, {2, false}, {3, true}, {4, true}, {5, true}, {6, false}};
}

TEST(NextTabStop, FollowsTheTabIndexesNotTheDeclarationOrder) {
  // Declared out of tab order, as Main's controls are.
  const std::vector<TabStop> stops = {{18, true}, {6, true}, {17, true}, {7, true}, {16, true}};
  std::optional<std::size_t> at;
  std::vector<std::size_t> visited;
  for (int i = 0; i < 6; ++i) {
    at = NextTabStop(stops, at, true);
    ASSERT_TRUE(at);
    visited.push_back(*at);
  }
  EXPECT_EQ(visited, (std::vector<std::size_t>{1, 3, 4, 2, 0, 1}));
}

TEST(NextTabStop, SkipsWhatCannotTakeTheFocusAndWrapsBothWays) {
  const auto stops = CheckWindow();
  EXPECT_EQ(NextTabStop(stops, std::nullopt, true), 3u);
  EXPECT_EQ(NextTabStop(stops, 5u, true), 3u);
  EXPECT_EQ(NextTabStop(stops, 3u, false), 5u);
  EXPECT_EQ(NextTabStop(stops, 5u, false), 4u);
}

TEST(NextTabStop, StartsFromTheTopWhenTheFocusIsOnNoStop) {
  const auto stops = CheckWindow();
  EXPECT_EQ(NextTabStop(stops, 1u, true), 3u);  // a label has a tab index but no focus
  EXPECT_EQ(NextTabStop(stops, 42u, true), 3u);
}

TEST(NextTabStop, NoneWhenNothingTakesTheFocus) {
  EXPECT_FALSE(NextTabStop({{0, false}, {std::nullopt, true}}, std::nullopt, true));
  EXPECT_FALSE(NextTabStop({}, std::nullopt, false));
}

TEST(PlanListUpdate, DeletesOneRemovedItemAloneAndAppendsAddedOnes) {
  using Kind = ListUpdate::Kind;
  using Items = std::vector<std::string>;
  const auto plan = [](const Items& shown, const Items& wanted) {
    const ListUpdate update = PlanListUpdate(shown, wanted);
    return std::pair{update.kind, update.index};
  };
  const Items abc = {"a", "b", "c"};
  EXPECT_EQ(plan(abc, abc), std::pair(Kind::kNone, std::size_t{0}));
  EXPECT_EQ(plan(abc, {"a", "b", "c", "d", "e"}), std::pair(Kind::kAppend, std::size_t{3}));
  EXPECT_EQ(plan({}, {"a"}), std::pair(Kind::kAppend, std::size_t{0}));
  EXPECT_EQ(plan(abc, {"b", "c"}), std::pair(Kind::kRemoveOne, std::size_t{0}));
  EXPECT_EQ(plan(abc, {"a", "c"}), std::pair(Kind::kRemoveOne, std::size_t{1}));
  EXPECT_EQ(plan(abc, {"a", "b"}), std::pair(Kind::kRemoveOne, std::size_t{2}));
  EXPECT_EQ(plan({"a", "a"}, {"a"}), std::pair(Kind::kRemoveOne, std::size_t{1}));
  // Anything else is rebuilt: two removed, one replaced, emptied, reordered.
  EXPECT_EQ(plan(abc, {"c"}).first, Kind::kRebuild);
  EXPECT_EQ(plan(abc, {"a", "x", "c"}).first, Kind::kRebuild);
  EXPECT_EQ(plan(abc, {}).first, Kind::kRebuild);
  EXPECT_EQ(plan(abc, {"a", "c", "b"}).first, Kind::kRebuild);
  EXPECT_EQ(plan({"a"}, {}), std::pair(Kind::kRemoveOne, std::size_t{0}));
}

}  // namespace
}  // namespace kelpo::form_layout
