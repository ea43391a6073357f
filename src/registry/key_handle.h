#pragma once
// An open registry key, closed exactly once. Move-only. A handle that merely names its parent
// (the plain open of "" hands back the parent) or a predefined root is never closed.
#include <utility>

#include "platform/registry.h"

namespace kelpo {

class KeyHandle {
 public:
  KeyHandle() = default;
  KeyHandle(Registry& registry, HKey key, bool owned) : registry_(&registry), key_(key), owned_(owned) {}
  KeyHandle(KeyHandle&& other) noexcept { *this = std::move(other); }
  KeyHandle& operator=(KeyHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      registry_ = std::exchange(other.registry_, nullptr);
      key_ = std::exchange(other.key_, 0);
      owned_ = std::exchange(other.owned_, false);
    }
    return *this;
  }
  KeyHandle(const KeyHandle&) = delete;
  KeyHandle& operator=(const KeyHandle&) = delete;
  ~KeyHandle() { Reset(); }

  HKey get() const { return key_; }
  bool valid() const { return key_ != 0; }

  // Closes now and reports the registry's answer; 0 when there was nothing to close.
  RegStatus Close() {
    if (!owned_ || key_ == 0) return reg::kSuccess;
    owned_ = false;
    return registry_->CloseKey(std::exchange(key_, 0));
  }

  // The three ways the program opens a key. On failure *out is left as it was.
  static RegStatus Open(Registry& registry, HKey parent, const std::string& path, KeyHandle* out) {
    HKey key = 0;
    const RegStatus status = registry.OpenKey(parent, path, &key);
    if (status == reg::kSuccess) *out = KeyHandle(registry, key, key != parent && !reg::IsPredefined(key));
    return status;
  }
  static RegStatus OpenEx(Registry& registry, HKey parent, const std::string& path,
                          std::uint32_t access, KeyHandle* out) {
    HKey key = 0;
    const RegStatus status = registry.OpenKeyEx(parent, path, access, &key);
    if (status == reg::kSuccess) *out = KeyHandle(registry, key, !reg::IsPredefined(key));
    return status;
  }
  static RegStatus Create(Registry& registry, HKey parent, const std::string& path, KeyHandle* out) {
    HKey key = 0;
    const RegStatus status = registry.CreateKey(parent, path, &key);
    if (status == reg::kSuccess) *out = KeyHandle(registry, key, !reg::IsPredefined(key));
    return status;
  }

 private:
  void Reset() noexcept {
    try {
      Close();
    } catch (...) {
      // A close that throws while unwinding is dropped: the handle is gone either way.
    }
  }

  Registry* registry_ = nullptr;
  HKey key_ = 0;
  bool owned_ = false;
};

}  // namespace kelpo
