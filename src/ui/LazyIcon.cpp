#include "ui/LazyIcon.h"

#include <QIconEngine>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <memory>

namespace {

// Every request goes to the real icon, made on first use and shared by the copies Qt makes of the
// engine.
class LazyIconEngine : public QIconEngine {
 public:
  explicit LazyIconEngine(std::function<QIcon()> make)
      : state_(std::make_shared<State>(State{std::move(make), {}, false})) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
    Made().paint(painter, rect, Qt::AlignCenter, mode, state);
  }
  QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Made().actualSize(size, mode, state);
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    return Made().pixmap(size, mode, state);
  }
  QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                       qreal scale) override {
    return Made().pixmap(size, scale, mode, state);
  }
  QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
    return Made().availableSizes(mode, state);
  }
  // Asked often and early; answering it must not make the icon.
  bool isNull() override { return state_->made && state_->icon.isNull(); }
  QString key() const override { return QStringLiteral("LazyIconEngine"); }
  QIconEngine* clone() const override { return new LazyIconEngine(*this); }

 private:
  struct State {
    std::function<QIcon()> make;
    QIcon icon;
    bool made;
  };

  const QIcon& Made() {
    if (!state_->made) {
      state_->icon = state_->make();
      state_->made = true;
    }
    return state_->icon;
  }

  std::shared_ptr<State> state_;
};

}  // namespace

QIcon LazyIcon(std::function<QIcon()> make) {
  return QIcon(new LazyIconEngine(std::move(make)));
}

QIcon LazyFileIcon(const QStringList& paths, const char* format) {
  return LazyIcon([paths, format] {
    QIcon icon;
    for (const QString& path : paths) {
      QImageReader reader(path, format);
      reader.setAutoDetectImageFormat(false);
      if (const QImage image = reader.read(); !image.isNull())
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
  });
}
