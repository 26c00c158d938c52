// Data files named from outside the window: on the command line, or handed over by a later copy
// of the program (a double click in the file manager while Pelmora runs).
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QTimer>

#include "app/ProblemReport.h"
#include "platform/Messages.h"
#include "store/AtomicFile.h"
#include "store/TicketFile.h"
#include "store/WriteJournal.h"
#include "ui/main/frmNumberChecker.h"

using namespace modPelmora;

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

std::optional<store::TicketList> frmNumberChecker::ReadFileFromOutside(const QString& path) {
  if (path.isEmpty())
    return std::nullopt;
  mSession.notes.TellAfterCommand(this, store::RepairUnfinishedWrite(PathBytes(path)).notes());
  // An empty file holds nothing: it is started as a new one (a first write was cut short).
  if (store::IsEmptyFile(PathBytes(path)))
    store::StartDataFile(PathBytes(path));
  if (store::TicketList read = store::ReadAllTickets(PathBytes(path)); read.count)
    return read;
  Tell(this, QStringLiteral("Error loading file."), platform::MessageIcon::None);
  return std::nullopt;
}

void frmNumberChecker::OpenFromOutside(const QString& file) {
  RaiseFromOtherInstance();
  if (file.isEmpty())
    return;
  if (!mDeferredOpen)
    mDeferredOpen = new DeferredOpen(this);
  mDeferredOpen->Open(file);
}
