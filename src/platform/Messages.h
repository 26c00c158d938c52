#pragma once

#include <QString>

#include "platform/Seam.h"

class QWidget;

namespace platform {

enum class MessageIcon { None, Information, Warning };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

struct MessageRequest {
  QString text;
  QString title;
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::Ok;
};

// Message boxes. Windows never open the toolkit's box themselves, so a test answers it instead.
class Messages {
 public:
  virtual ~Messages() = default;

  // Shows the box modal to `parent` and returns the button chosen. A box closed without a choice
  // answers Ok, No or Cancel: the answer that changes nothing.
  static MessageAnswer Show(QWidget* parent, const MessageRequest& request) {
    return Seam<Messages>::Get().Answer(parent, request);
  }

  virtual MessageAnswer Answer(QWidget* parent, const MessageRequest& request) = 0;
  // The toolkit's message box.
  static Messages& Real();
};

}  // namespace platform
