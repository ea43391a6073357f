#include "windows/controls.h"

#include "windows/window.h"

namespace kelpo {

Font DefaultFont() { return Font{L"宋体", 9.0, false}; }

Control::Control(Window& owner, ControlKind kind, ControlDesign design)
    : kind_(kind), design_(std::move(design)) {
  owner.Adopt(*this);
}

void Control::Changed() {
  if (on_change) on_change(*this);
}

void Control::SetCaption(std::wstring caption) {
  design_.caption = std::move(caption);
  Changed();
}

void Control::SetVisible(bool visible) {
  design_.visible = visible;
  Changed();
}

void Control::SetEnabled(bool enabled) {
  design_.enabled = enabled;
  Changed();
}

void Button::Click() {
  if (usable() && on_click) on_click();
}

void ListBox::ItemsChanged(ListItemChange::Kind kind, std::size_t index) {
  ++item_changes_;
  last_item_change_ = {kind, index};
  Changed();
}

void ListBox::AddItem(std::wstring item) {
  items_.push_back(std::move(item));
  ItemsChanged(ListItemChange::Kind::kAdded, items_.size() - 1);
}

void ListBox::RemoveItem(int index) {
  if (index < 0 || index >= ListCount()) return;
  items_.erase(items_.begin() + index);
  list_index_ = kNoSelection;
  ItemsChanged(ListItemChange::Kind::kRemoved, static_cast<std::size_t>(index));
}

void ListBox::Clear() {
  items_.clear();
  list_index_ = kNoSelection;
  ItemsChanged(ListItemChange::Kind::kCleared, 0);
}

void ListBox::SetListIndex(int index) {
  if (index < kNoSelection || index >= ListCount()) return;
  list_index_ = index;
  Changed();
}

void ListBox::Click(int index) {
  if (!usable()) return;
  if (index != kNoSelection) SetListIndex(index);
  if (on_click) on_click();
}

}  // namespace kelpo
