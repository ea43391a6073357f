#include "platform/sim/sim_desktop.h"

namespace kelpo {

int SimDesktop::ShowMessage(const std::wstring& text, const std::wstring& title, unsigned flags) {
  messages_.push_back({text, title, flags});
  if (!answers_.empty()) {
    const int answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  return (flags & 0x0F) == box::kYesNo ? box::kAnswerYes : box::kAnswerOk;
}

}  // namespace kelpo
