#include "platform/doubles/ScopedMessages.h"

namespace platform {

MessageAnswer ScopedMessages::Answer(QWidget*, const MessageRequest& request) {
  MessageAnswer answer = MessageAnswer::Ok;
  if (!answers.empty()) {
    answer = answers.front();
    answers.pop_front();
  } else if (request.buttons != MessageButtons::Ok) {
    unexpected.push_back(request);
    answer = request.buttons == MessageButtons::YesNo ? MessageAnswer::No : MessageAnswer::Cancel;
  }
  shown.push_back({request, answer});
  return answer;
}

}  // namespace platform
