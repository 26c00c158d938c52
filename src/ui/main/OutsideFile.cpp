// A data file handed over by a later copy of the program (a double click in the file manager while
// Pelmora runs).
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QTimer>

#include "ui/main/frmNumberChecker.h"

// Holds a handed-over file until the main window is free, and opens it then: while the entry
// dialog, the About box or a message box is open, that window works with the current data file,
// and switching files under it would send its work to another file.
class DeferredOpen : public QObject {
 public:
  explicit DeferredOpen(frmNumberChecker* main) : QObject(main), main_(main) {
    main->installEventFilter(this);
  }

  void Open(const QString& file) {
    file_ = file;
    TryNow();
  }

  void TryNow() {
    if (file_.isEmpty())
      return;
    if (main_->DialogOpen()) {
      WatchModalDialog();
      return;
    }
    const QString file = std::exchange(file_, QString());
    main_->OpenDataFile(file);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (watched == main_ && !file_.isEmpty() &&
        (type == QEvent::Show || type == QEvent::EnabledChange || type == QEvent::WindowActivate)) {
      // After the event, so the window is in its new state when the file opens.
      QTimer::singleShot(0, this, [this] { TryNow(); });
    }
    return false;
  }

 private:
  void WatchModalDialog() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || dialog == watchedDialog_)
      return;
    watchedDialog_ = dialog;
    connect(dialog, &QDialog::finished, this,
            [this] { QTimer::singleShot(0, this, [this] { TryNow(); }); });
  }

  frmNumberChecker* main_;
  QString file_;
  QPointer<QDialog> watchedDialog_;
};

void frmNumberChecker::OpenFromOutside(const QString& file) {
  RaiseFromOtherInstance();
  if (file.isEmpty())
    return;
  if (!deferredOpen_)
    deferredOpen_ = new DeferredOpen(this);
  deferredOpen_->Open(file);
}
