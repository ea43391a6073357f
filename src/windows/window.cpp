#include "windows/window.h"

namespace kelpo {

Control* Window::FindControl(const std::wstring& name) const {
  for (Control* control : controls_)
    if (control->name() == name) return control;
  return nullptr;
}

}  // namespace kelpo
