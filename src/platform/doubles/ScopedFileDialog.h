#pragma once

#include <deque>
#include <vector>

#include "platform/FileDialog.h"

namespace platform {

// Answers file dialogs from a queue of paths and records every request; with none left the
// dialog is cancelled.
class ScopedFileDialog final : public Scoped<FileDialog> {
 public:
  std::deque<QString> answers;
  std::vector<FileDialogRequest> requests;

  QString Answer(QWidget*, const FileDialogRequest& request) override {
    requests.push_back(request);
    if (answers.empty())
      return {};
    QString answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace platform
