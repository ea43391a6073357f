#pragma once
// A desktop for tests: records every message box and answers from a queue (OK, or Yes for a
// Yes/No box, when the queue is empty).
#include <deque>
#include <string>
#include <vector>

#include "platform/desktop.h"

namespace kelpo {

struct ShownMessage {
  std::wstring text;
  std::wstring title;
  unsigned flags = 0;
};

class SimDesktop final : public Desktop {
 public:
  int ShowMessage(const std::wstring& text, const std::wstring& title, unsigned flags) override;
  void HandlePendingMessages() override { ++pending_message_turns_; }
  void EndProgram() override { ended_ = true; }

  void QueueAnswer(int answer) { answers_.push_back(answer); }
  const std::vector<ShownMessage>& messages() const { return messages_; }
  void ClearMessages() { messages_.clear(); }
  int pending_message_turns() const { return pending_message_turns_; }
  bool ended() const { return ended_; }

 private:
  std::deque<int> answers_;
  std::vector<ShownMessage> messages_;
  int pending_message_turns_ = 0;
  bool ended_ = false;
};

}  // namespace kelpo
