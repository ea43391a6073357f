#include "ui/win32/form_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "windows/controls.h"
#include "windows/window.h"

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

// A native list box's stand-in: follows its model as the window host does, counting the items
// it is handed and the steps it takes.
struct MirrorList {
  explicit MirrorList(ListBox& model) : model(model) {
    model.on_change = [this](Control&) { Follow(); };
  }
  void Follow() {
    const ListUpdate update = PlanListUpdate(shown, model.item_changes(), model.last_item_change());
    const auto append_from = [&](std::size_t first) {
      for (std::size_t i = first; i < model.items().size(); ++i, ++items_handed) items.push_back(model.items()[i]);
    };
    switch (update.kind) {
      case ListUpdate::Kind::kNone: break;
      case ListUpdate::Kind::kAppend: append_from(update.index); break;
      case ListUpdate::Kind::kRemoveOne:
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(update.index));
        ++deletes;
        break;
      case ListUpdate::Kind::kRebuild:
        items.clear();
        ++rebuilds;
        append_from(0);
        break;
    }
    shown = model.item_changes();
  }

  ListBox& model;
  std::vector<std::wstring> items;
  std::uint64_t shown = 0;
  std::size_t items_handed = 0;
  std::size_t deletes = 0;
  std::size_t rebuilds = 0;
};

struct ListWindow : Window {
  ListWindow() : Window(L"w", L"w", 1000, 1000) {}
  ListBox list{*this, {.name = L"list"}};
};

TEST(ListSync, AddingOrRemovingNItemsOnAShownListTakesNSteps) {
  ListWindow window;
  MirrorList mirror(window.list);
  constexpr std::size_t kItems = 3000;
  for (std::size_t i = 0; i < kItems; ++i) window.list.AddItem(L"site" + std::to_wstring(i));
  EXPECT_EQ(mirror.items_handed, kItems);  // one item each: never the whole list again
  EXPECT_EQ(mirror.rebuilds, 0u);
  // Removed from the front, the middle and the end, one at a time.
  for (std::size_t i = 0; i < kItems / 2; ++i) window.list.RemoveItem(static_cast<int>((i * 7) % window.list.items().size()));
  EXPECT_EQ(mirror.deletes, kItems / 2);
  EXPECT_EQ(mirror.items_handed, kItems);
  EXPECT_EQ(mirror.rebuilds, 0u);
  EXPECT_EQ(mirror.items, window.list.items());
  // Selecting changes no item: nothing to do.
  window.list.SetListIndex(3);
  window.list.RemoveItem(static_cast<int>(kItems));  // out of range: no change
  EXPECT_EQ(mirror.items_handed + mirror.deletes + mirror.rebuilds, kItems + kItems / 2);
  window.list.Clear();
  EXPECT_EQ(mirror.rebuilds, 1u);
  EXPECT_TRUE(mirror.items.empty());
}

TEST(ListSync, AListThatMissedChangesIsRebuiltOnceWhole) {
  ListWindow window;
  for (const wchar_t* item : {L"a", L"b", L"c"}) window.list.AddItem(item);
  MirrorList mirror(window.list);  // shown only now, three changes behind
  mirror.Follow();
  EXPECT_EQ(mirror.rebuilds, 1u);
  EXPECT_EQ(mirror.items, window.list.items());
  window.list.RemoveItem(1);
  window.list.AddItem(L"d");
  EXPECT_EQ(mirror.rebuilds, 1u);
  EXPECT_EQ(mirror.items, (std::vector<std::wstring>{L"a", L"c", L"d"}));
  // A list never shown before and never changed: nothing to do.
  ListWindow empty;
  MirrorList untouched(empty.list);
  untouched.Follow();
  EXPECT_EQ(untouched.rebuilds + untouched.items_handed, 0u);
}

}  // namespace
}  // namespace kelpo::form_layout
