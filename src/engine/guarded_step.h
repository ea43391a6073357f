#pragma once
// A step of an apply sequence: whatever fails inside it, the sequence goes on with the next.

namespace kelpo {

// Runs the step; a run-time error it raises is dropped. Returns false when one was.
template <typename Step>
bool RunGuarded(Step&& step) noexcept {
  try {
    step();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace kelpo
