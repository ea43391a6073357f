#include "windows/window_manager.h"

#include <algorithm>
#include <utility>

namespace kelpo {

WindowManager::~WindowManager() = default;

void WindowManager::Show(std::unique_ptr<Window> window) {
  if (ended_ || end_held_ || unload_held_ || !window) return;
  Window& loaded = *window;
  open_.push_back(std::move(window));
  ever_opened_ = true;
  loaded.OnLoad();
  const bool still_open = std::any_of(open_.begin(), open_.end(),
                                      [&](const auto& open) { return open.get() == &loaded; });
  if (still_open && !ended_ && host_ != nullptr) host_->Shown(loaded);
}

void WindowManager::Unload(Window& window) {
  if (&window == running_to_end_) {
    unload_held_ = true;
    return;
  }
  auto found = std::find_if(open_.begin(), open_.end(), [&](const auto& open) { return open.get() == &window; });
  if (found == open_.end()) return;
  unloaded_.push_back(std::move(*found));
  open_.erase(found);
  if (host_ != nullptr) host_->Unloaded(window);
}

void WindowManager::EndProgram() {
  if (running_to_end_ != nullptr) {
    end_held_ = true;
    return;
  }
  if (ended_) return;
  ended_ = true;
  while (!open_.empty()) Unload(*open_.back());
  desktop_.EndProgram();
}

void WindowManager::RunToEnd(Window& window, const std::function<void()>& operation) {
  if (running_to_end_ != nullptr) {  // already held by the outer operation
    operation();
    return;
  }
  running_to_end_ = &window;
  try {
    operation();
  } catch (...) {
    CarryOutHeld(window);
    throw;
  }
  CarryOutHeld(window);
}

void WindowManager::CarryOutHeld(Window& window) {
  running_to_end_ = nullptr;
  if (std::exchange(end_held_, false)) {
    unload_held_ = false;
    EndProgram();
  } else if (std::exchange(unload_held_, false)) {
    Unload(window);
  }
}

std::vector<Window*> WindowManager::open_windows() const {
  std::vector<Window*> windows;
  for (const auto& window : open_) windows.push_back(window.get());
  return windows;
}

}  // namespace kelpo
