#pragma once
// Arithmetic of a realised window that needs no window system: twips to pixels, font heights,
// centring and the tab order. Kept apart from the host so that it is tested natively.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "windows/controls.h"

namespace kelpo::form_layout {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kPointsPerInch = 72;

// px = twips * dpi / 1440, rounded to the nearest pixel (halves away from zero).
constexpr int TwipsToPixels(int twips, int dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  const long long half = kTwipsPerInch / 2;
  return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch : -((-scaled + half) / kTwipsPerInch));
}

// The character height of a font of that size, in pixels, as a logical font wants it
// (negative: the em height, not the cell height).
inline int FontHeightPixels(double points, int dpi) {
  return -static_cast<int>(std::lround(points * dpi / kPointsPerInch));
}

// Where a window of that extent starts so that it sits centred in the screen's extent; never
// left of or above the screen's origin, so that the caption stays reachable.
constexpr int CentredOrigin(int screen_extent, int window_extent) {
  const int origin = (screen_extent - window_extent) / 2;
  return origin < 0 ? 0 : origin;
}

// One control as the tab key sees it.
struct TabStop {
  std::optional<int> tab_index;  // none: never reached by the tab key
  bool focusable = false;        // a kind that takes the focus, visible and enabled
};

// The control that the tab key moves to from `current` (an index into stops, or none), in
// the order of the tab indexes, wrapping round; backwards with Shift. None when no control
// can take the focus.
inline std::optional<std::size_t> NextTabStop(const std::vector<TabStop>& stops,
                                              std::optional<std::size_t> current, bool forward) {
  std::vector<std::size_t> order;
  for (std::size_t i = 0; i < stops.size(); ++i)
    if (stops[i].tab_index && stops[i].focusable) order.push_back(i);
  if (order.empty()) return std::nullopt;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return *stops[a].tab_index < *stops[b].tab_index; });
  const int current_tab = current && *current < stops.size() && stops[*current].tab_index
                              ? *stops[*current].tab_index
                              : (forward ? -1 : 1 << 30);
  if (forward) {
    for (std::size_t i : order)
      if (*stops[i].tab_index > current_tab) return i;
    return order.front();
  }
  for (auto it = order.rbegin(); it != order.rend(); ++it)
    if (*stops[*it].tab_index < current_tab) return *it;
  return order.back();
}

// How a list box that has shown its model's items up to change number `shown` catches up with
// the model at change number `now`, whose last change was `last`, without looking at the items:
// one change behind, the added item is appended and the removed one deleted alone (the list
// keeps its scroll position); anything else rebuilds the list. Adding or removing n items one
// at a time is thus n steps, whatever the length of the list.
struct ListUpdate {
  enum class Kind { kNone, kAppend, kRemoveOne, kRebuild };
  Kind kind = Kind::kNone;
  std::size_t index = 0;  // kAppend: the first item to add; kRemoveOne: the item to delete
};

inline ListUpdate PlanListUpdate(std::uint64_t shown, std::uint64_t now, const ListItemChange& last) {
  if (shown == now) return {ListUpdate::Kind::kNone, 0};
  if (shown + 1 == now && last.kind == ListItemChange::Kind::kAdded) return {ListUpdate::Kind::kAppend, last.index};
  if (shown + 1 == now && last.kind == ListItemChange::Kind::kRemoved) return {ListUpdate::Kind::kRemoveOne, last.index};
  return {ListUpdate::Kind::kRebuild, 0};
}

}  // namespace kelpo::form_layout
