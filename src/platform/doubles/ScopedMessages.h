#pragma once

#include <deque>
#include <initializer_list>
#include <vector>

#include "platform/Messages.h"

namespace platform {

// Answers message boxes from a queue and records every box, so no test waits on a person.
class ScopedMessages final : public Scoped<Messages> {
 public:
  struct Shown {
    MessageRequest request;
    MessageAnswer answer;
  };

  explicit ScopedMessages(std::initializer_list<MessageAnswer> queued = {}) : answers(queued) {}

  // Taken in order, one per box. A box with only Ok needs none.
  std::deque<MessageAnswer> answers;
  std::vector<Shown> shown;
  // Questions that came when no answer was queued. They are answered as if the box were closed
  // (No, Cancel); a test that did not expect them should fail.
  std::vector<MessageRequest> unexpected;

  MessageAnswer Answer(QWidget* parent, const MessageRequest& request) override;
};

}  // namespace platform
