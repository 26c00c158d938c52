#include <QMessageBox>

#include "platform/Messages.h"

namespace platform {
namespace {

class MessageBox final : public Messages {
 public:
  MessageAnswer Answer(QWidget* parent, const MessageRequest& request) override {
    // By MessageIcon and by MessageButtons.
    static constexpr QMessageBox::Icon kIcons[] = {QMessageBox::NoIcon, QMessageBox::Information,
                                                   QMessageBox::Warning};
    static constexpr QMessageBox::StandardButtons kButtons[] = {
        QMessageBox::Ok, QMessageBox::Yes | QMessageBox::No,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel};
    QMessageBox box(parent);
    box.setWindowTitle(request.title);
    box.setText(request.text);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(kIcons[static_cast<int>(request.icon)]);
    box.setStandardButtons(kButtons[static_cast<int>(request.buttons)]);
    box.setDefaultButton(QMessageBox::Yes);  // a box without Yes is left as it is
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
