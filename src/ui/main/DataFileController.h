#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/Session.h"
#include "platform/Messages.h"
#include "store/Problem.h"

class PlayListModel;
namespace store {
struct TicketList;
}

// The main window's data file: the session, the play list read from the file, the watch on it,
// and every read and write of the list. It touches no widget: it reports what changed by signals,
// and what the person is to be told as well, at the moment it happens, so that the window shows
// messages and changes in the order they come.
class DataFileController : public QObject {
  Q_OBJECT
 public:
  enum class ListWrite { Saved, Failed, FileChanged };

  // The pause that gathers a burst of changes on disk into one report, and the one between
  // retries.
  static constexpr int kSettleMs = 150;
  static constexpr int kRetryMs = 300;

  explicit DataFileController(QObject* parent = nullptr);

  // What the windows share: the data file, the winning number, the entry dialog's use.
  Session& session() { return session_; }
  const Session& session() const { return session_; }
  PlayListModel* plays() const { return plays_; }

  // Start-up: the file named on the command line when Open would open it, else the default data
  // file in `programFolder`, started anew when it is missing or empty.
  void Start(const QString& fileFromOutside, const std::string& programFolder);
  // The file lists and becomes current, or "Error loading file." and the current one stays.
  bool Open(const QString& path);
  // The file is started as a new one (other sections kept) and becomes current, with an empty
  // list; on failure the current one stays.
  bool New(const QString& path);

  // The list written to the file only while the file still holds what the list was loaded from;
  // otherwise the list is reloaded and the person told. Save clears the marks once written;
  // DeleteChecked takes the marked tickets off the list unless the file had changed.
  ListWrite Save();
  ListWrite DeleteChecked();
  // The list and winning number loaded from the file again, marks kept where they still fit.
  void ReloadFromFile();
  // The list read afresh, marks cleared: the entry dialog added tickets to the file.
  void RereadList();
  // The winning number as the data file holds it ("Numbers"/"W").
  void SetWinningNumber(const std::string& value);
  // The file changed while the window was busy: reported again a little later.
  void FollowLater() { settle_.start(kRetryMs); }

 signals:
  void dataFileSwitched();  // Open or New made another file current
  void listReplaced();      // a list of its own, no ticket marked
  void listReloaded();      // the list followed the file, marks kept
  void winningChanged();
  // On disk, by this program or another: written in place, replaced by rename, removed or
  // created again. Once a burst, a short while after its last change.
  void fileChanged();
  void tell(const QString& text, platform::MessageIcon icon);
  void problem(const store::Problem& problem);
  // What a change did not stop on, for the session's ChangeNotes.
  void notesLeft(const std::vector<store::Problem>& notes);

 private:
  ListWrite WriteList(const std::vector<std::uint8_t>& leaveOut);
  // The file read as Open reads it; nothing, after saying so, when it cannot be opened. A file
  // named from outside that is empty is started anew (a first write was cut short).
  std::optional<store::TicketList> ReadToOpen(const std::string& file, bool startIfEmpty);
  // Watches the current data file and its folder: a file replaced by rename is no longer the one
  // being watched.
  void Follow();
  void Rearm();

  Session session_;
  PlayListModel* plays_;
  QFileSystemWatcher watcher_;
  QTimer settle_;
};
