#include "app/window_manager.h"

#include <algorithm>

namespace kelpo {

WindowManager::~WindowManager() = default;

void WindowManager::Show(std::unique_ptr<Window> window) {
  if (ended_ || !window) return;
  Window& loaded = *window;
  open_.push_back(std::move(window));
  ever_opened_ = true;
  loaded.Form_Load();
  const bool still_open = std::any_of(open_.begin(), open_.end(),
                                      [&](const auto& open) { return open.get() == &loaded; });
  if (still_open && !ended_ && host_ != nullptr) host_->Shown(loaded);
}

void WindowManager::Unload(Window& window) {
  auto found = std::find_if(open_.begin(), open_.end(), [&](const auto& open) { return open.get() == &window; });
  if (found == open_.end()) return;
  unloaded_.push_back(std::move(*found));
  open_.erase(found);
  if (host_ != nullptr) host_->Unloaded(window);
}

void WindowManager::EndProgram() {
  if (ended_) return;
  ended_ = true;
  while (!open_.empty()) Unload(*open_.back());
  desktop_.EndProgram();
}

std::vector<Window*> WindowManager::open_windows() const {
  std::vector<Window*> windows;
  for (const auto& window : open_) windows.push_back(window.get());
  return windows;
}

}  // namespace kelpo
