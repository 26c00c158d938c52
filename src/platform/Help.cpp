#include "platform/Help.h"

#include <QPointer>

#include "platform/HelpViewer.h"

namespace platform {
namespace {

class ViewerHelp final : public Help {
 public:
  void Open(QWidget* parent, const QString& helpFile) override {
    if (!viewer_) {
      viewer_ = new HelpViewer(nullptr);
      viewer_->setAttribute(Qt::WA_DeleteOnClose);
      if (parent)
        viewer_->setWindowIcon(parent->window()->windowIcon());
    }
    viewer_->ShowFile(helpFile);
  }

 private:
  QPointer<HelpViewer> viewer_;
};

}  // namespace

Help& Help::Real() {
  static ViewerHelp real;
  return real;
}

}  // namespace platform
