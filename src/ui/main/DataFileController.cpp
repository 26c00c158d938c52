#include "ui/main/DataFileController.h"

#include <QFileInfo>

#include "app/DataFileLocation.h"
#include "app/FileText.h"
#include "app/modPelmora.h"
#include "store/AtomicFile.h"
#include "store/CountConversion.h"
#include "store/TicketFile.h"
#include "store/WriteJournal.h"
#include "ui/widgets/PlayListModel.h"

using namespace modPelmora;

namespace {

const char kChangedByAnotherProgram[] =
    "The data file was changed by another program. Nothing was deleted; the list now shows the "
    "file as it is. Please repeat the command.";

// The fields of a winning number as the boxes show them.
store::PlayFields ShownFields(const std::string& value) {
  store::PlayFields fields;
  for (int i = 0; i < store::kNumbersPerTicket; ++i)
    fields[i] = FileText(store::PlayNumberField(value, i + 1)).toStdString();
  return fields;
}

}  // namespace

DataFileController::DataFileController(QObject* parent)
    : QObject(parent), plays_(new PlayListModel(/*checkable=*/true, this)) {
  settle_.setSingleShot(true);
  const auto changed = [this] {
    Rearm();
    settle_.start(kSettleMs);
  };
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, changed);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, changed);
  connect(&settle_, &QTimer::timeout, this, [this] {
    Rearm();
    emit fileChanged();
  });
}

void DataFileController::Start(const QString& fileFromOutside, const std::string& programFolder) {
  std::optional<store::TicketList> list;
  const std::string outside = PathBytes(fileFromOutside);
  if (!outside.empty())
    list = ReadToOpen(outside, /*startIfEmpty=*/true);
  if (list) {
    session_.dataFile = outside;
  } else {
    const DefaultDataFile location = ChooseDefaultDataFile(programFolder);
    session_.dataFile = location.path;
    emit notesLeft(store::RepairUnfinishedWrite(session_.dataFile).notes());
    if (!location.exists || store::IsEmptyFile(session_.dataFile)) {
      const store::Result<void> written = store::StartDataFile(session_.dataFile);
      emit notesLeft(written.notes());
      if (!written)
        emit problem(written.error());
    }
    list = store::ReadAllTickets(session_.dataFile);
  }
  plays_->SetTickets(std::move(list->tickets));
  emit listReplaced();
  SetWinningNumber(list->winning);
  Follow();
}

std::optional<store::TicketList> DataFileController::ReadToOpen(const std::string& file,
                                                                bool startIfEmpty) {
  emit notesLeft(store::RepairUnfinishedWrite(file).notes());
  if (startIfEmpty && store::IsEmptyFile(file))
    store::StartDataFile(file);
  if (store::TicketList read = store::ReadAllTickets(file); read.count)
    return read;
  emit tell(QStringLiteral("Error loading file."), platform::MessageIcon::None);
  return std::nullopt;
}

bool DataFileController::Open(const QString& path) {
  const std::string file = PathBytes(path);
  std::optional<store::TicketList> list = ReadToOpen(file, /*startIfEmpty=*/false);
  if (!list)
    return false;
  session_.dataFile = file;
  // Refilling the list is no click on it: "Delete Checked" keeps its state, as at start-up.
  plays_->SetTickets(std::move(list->tickets));
  emit listReplaced();
  SetWinningNumber(list->winning);
  emit dataFileSwitched();
  Follow();
  return true;
}

bool DataFileController::New(const QString& path) {
  const std::string file = PathBytes(path);
  const store::Result<void> started = store::StartDataFile(file);
  emit notesLeft(started.notes());
  if (!started) {
    const store::Problem& failure = started.error();
    if (failure.kind == store::ProblemKind::Failed) {
      // The count was fine but the file could not be written: say where and why.
      emit problem(failure);
    } else {
      emit tell(QStringLiteral("Error creating new file.") +
                    QString::number(store::ErrorNumberOf(failure)),
                platform::MessageIcon::Warning);
    }
    return false;
  }
  session_.dataFile = file;
  SetWinningNumber(std::string(store::kEmptyPlayNumber));
  plays_->SetTickets({});
  emit dataFileSwitched();
  Follow();
  return true;
}

DataFileController::ListWrite DataFileController::WriteList(
    const std::vector<std::uint8_t>& leaveOut) {
  const store::Result<void> written = store::RewriteTicketsIfUnchanged(
      session_.dataFile, plays_->Loaded(), plays_->Tickets(), leaveOut);
  // Save, Delete and Add's Yes all write here; a version that could not be kept is told after.
  emit notesLeft(written.notes());
  if (written)
    return ListWrite::Saved;
  if (written.error().kind == store::ProblemKind::FileChanged) {
    // Writing the list now would delete what the other program added: show the file instead
    // and let the person decide again.
    ReloadFromFile();
    emit tell(QString::fromLatin1(kChangedByAnotherProgram), platform::MessageIcon::Information);
    return ListWrite::FileChanged;
  }
  emit problem(written.error());
  return ListWrite::Failed;
}

DataFileController::ListWrite DataFileController::Save() {
  const ListWrite written = WriteList({});
  if (written == ListWrite::Saved) {
    plays_->MarkWritten();
    plays_->SetAllChecked(false);
  }
  // After a failed write the file still holds what it held; the list stays as the person left
  // it, marks included.
  return written;
}

DataFileController::ListWrite DataFileController::DeleteChecked() {
  const ListWrite written = WriteList(plays_->Marks());
  // A failed write still takes the tickets off the list, as the person asked.
  if (written != ListWrite::FileChanged)
    plays_->RemoveChecked(/*written=*/written == ListWrite::Saved);
  return written;
}

void DataFileController::ReloadFromFile() {
  store::TicketList list = store::ReadAllTickets(session_.dataFile);
  // The program's own writes leave the file as the list and boxes already show it.
  if (list.tickets != plays_->Loaded()) {
    plays_->ReloadKeepingMarks(std::move(list.tickets));
    emit listReloaded();
  }
  if (ShownFields(list.winning) != session_.winning)
    SetWinningNumber(list.winning);
}

void DataFileController::RereadList() {
  plays_->SetTickets(store::ReadAllTickets(session_.dataFile).tickets);
  emit listReplaced();
}

void DataFileController::SetWinningNumber(const std::string& value) {
  session_.winning = ShownFields(value);
  emit winningChanged();
}

void DataFileController::Follow() {
  if (const QStringList watched = watcher_.files() + watcher_.directories(); !watched.isEmpty())
    watcher_.removePaths(watched);
  settle_.stop();
  Rearm();
}

void DataFileController::Rearm() {
  // A file replaced by rename drops out of the watch; the name now stands for a new file.
  const QString path = FileText(session_.dataFile);
  const QString folder = QFileInfo(path).absolutePath();
  if (!watcher_.files().contains(path) && QFileInfo::exists(path))
    watcher_.addPath(path);
  if (!watcher_.directories().contains(folder) && QFileInfo::exists(folder))
    watcher_.addPath(folder);
}
