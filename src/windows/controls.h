#pragma once
// Small models of the controls a window owns: what the user sees and may do, never an HWND.
// Geometry is in twips, relative to the container (the window, or the frame that holds it).
// Every change of what the user sees is passed to on_change, which the window host sets to keep
// its native control in step.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kelpo {

class Window;
class Frame;

struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const TwipsRect&) const = default;
};

struct Font {
  std::wstring name;
  double points = 0;
  bool bold = false;
  bool operator==(const Font&) const = default;
};

// The windows' default font.
Font DefaultFont();

enum class ControlKind { kLabel, kButton, kListBox, kTextBox, kFrame };

// How a control looks when its window opens.
struct ControlDesign {
  std::wstring name{};  // the automation name ("lstWebSite"), by which tools outside find it
  TwipsRect rect{};
  std::wstring caption{};
  std::optional<int> tab_index{};  // none for the controls the design gives no tab position
  const Frame* container = nullptr;
  Font font = DefaultFont();
  bool visible = true;
  bool enabled = true;
};

class Control {
 public:
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  ControlKind kind() const { return kind_; }
  const std::wstring& name() const { return design_.name; }
  const TwipsRect& rect() const { return design_.rect; }
  std::optional<int> tab_index() const { return design_.tab_index; }
  const Frame* container() const { return design_.container; }
  const Font& font() const { return design_.font; }
  const std::wstring& caption() const { return design_.caption; }
  bool visible() const { return design_.visible; }
  bool enabled() const { return design_.enabled; }

  void SetCaption(std::wstring caption);
  void SetVisible(bool visible);
  void SetEnabled(bool enabled);

  std::function<void(Control&)> on_change;

 protected:
  Control(Window& owner, ControlKind kind, ControlDesign design);
  void Changed();
  // The user can reach the control: it is visible and enabled.
  bool usable() const { return design_.visible && design_.enabled; }

 private:
  ControlKind kind_;
  ControlDesign design_;
};

class Label final : public Control {
 public:
  Label(Window& owner, ControlDesign design) : Control(owner, ControlKind::kLabel, std::move(design)) {}
};

class Frame final : public Control {
 public:
  Frame(Window& owner, ControlDesign design) : Control(owner, ControlKind::kFrame, std::move(design)) {}
};

class Button final : public Control {
 public:
  Button(Window& owner, ControlDesign design) : Control(owner, ControlKind::kButton, std::move(design)) {}
  // A click by the user: runs on_click, unless the button is hidden or disabled.
  void Click();
  std::function<void()> on_click;
};

// A single-line text box without a length limit; its caption is its text.
class TextBox final : public Control {
 public:
  TextBox(Window& owner, ControlDesign design) : Control(owner, ControlKind::kTextBox, std::move(design)) {}
  const std::wstring& text() const { return caption(); }
  void SetText(std::wstring text) { SetCaption(std::move(text)); }
};

// The last change of a list's items, for whoever mirrors them one change at a time.
struct ListItemChange {
  enum class Kind { kNone, kAdded, kRemoved, kCleared };
  Kind kind = Kind::kNone;
  std::size_t index = 0;  // kAdded, kRemoved: where the item was added or removed
};

// An unsorted list box with one selectable item: items stay in the order they were added.
class ListBox final : public Control {
 public:
  static constexpr int kNoSelection = -1;

  ListBox(Window& owner, ControlDesign design) : Control(owner, ControlKind::kListBox, std::move(design)) {}

  const std::vector<std::wstring>& items() const { return items_; }
  int ListCount() const { return static_cast<int>(items_.size()); }
  // The selected item's index, or kNoSelection.
  int ListIndex() const { return list_index_; }

  // How many times the items have changed (each add, remove and clear counts one), and the last
  // of those changes: a mirror one change behind follows with one step, never a comparison.
  std::uint64_t item_changes() const { return item_changes_; }
  const ListItemChange& last_item_change() const { return last_item_change_; }

  void AddItem(std::wstring item);
  // Removes one item; the selection is cleared. An index out of range does nothing.
  void RemoveItem(int index);
  void Clear();
  // Selects an item (kNoSelection clears); an index out of range does nothing.
  void SetListIndex(int index);
  // A click by the user on the list, on the item `index` (kNoSelection: on no item). Selects
  // it and runs on_click, unless the list is hidden or disabled.
  void Click(int index = kNoSelection);

  std::function<void()> on_click;

 private:
  void ItemsChanged(ListItemChange::Kind kind, std::size_t index);

  std::vector<std::wstring> items_;
  int list_index_ = kNoSelection;
  std::uint64_t item_changes_ = 0;
  ListItemChange last_item_change_;
};

}  // namespace kelpo
