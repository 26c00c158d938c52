#include <QMessageBox>

#include "platform/Messages.h"

namespace platform {
namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Warning:
      return QMessageBox::Warning;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

class MessageBox final : public Messages {
 public:
  MessageAnswer Answer(QWidget* parent, const MessageRequest& request) override {
    QMessageBox box(parent);
    box.setWindowTitle(request.title);
    box.setText(request.text);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(BoxIcon(request.icon));
    switch (request.buttons) {
      case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
      case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
      case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    }
    switch (box.exec()) {
      case QMessageBox::Yes:
        return MessageAnswer::Yes;
      case QMessageBox::No:
        return MessageAnswer::No;
      case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
      default:
        // Closing a Yes/No box without an answer counts as No; a Yes/No/Cancel box as Cancel.
        if (request.buttons == MessageButtons::YesNoCancel)
          return MessageAnswer::Cancel;
        if (request.buttons == MessageButtons::YesNo)
          return MessageAnswer::No;
        return MessageAnswer::Ok;
    }
  }
};

}  // namespace

Messages& Messages::Real() {
  static MessageBox real;
  return real;
}

}  // namespace platform
