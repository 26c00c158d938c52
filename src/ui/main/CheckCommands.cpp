// The winning number, the check and its results.
#include <QPlainTextEdit>
#include <QString>
#include <QTextCursor>
#include <string>
#include <utility>
#include <vector>

#include "app/FileText.h"
#include "check/MatchCheck.h"
#include "platform/Clipboard.h"
#include "platform/Messages.h"
#include "ui/main/PlayListModel.h"
#include "ui/main/ResultsBox.h"
#include "ui/main/frmNumberChecker.h"

using namespace modPelmora;

namespace {

const char kGeneralError[] =
    "Error, please check that all entries are two digit numbers, with single digit numbers "
    "followed by a zero";
const char kNoTickets[] =
    "Enter at least one play number before checking to see if you have a winning number match.";

void ShowCheckMessage(QWidget* parent, const QString& text, platform::MessageIcon icon) {
  platform::Messages::Show(parent, {text, AppTitle(), icon, platform::MessageButtons::Ok});
}

// The check reports every failing step with its one message and goes on with the next step.
// Nothing may escape into the event loop, not even a failure of the message itself.
template <typename Step>
bool CheckStep(QWidget* parent, Step&& step) {
  try {
    step();
    return true;
  } catch (...) {
  }
  try {
    ShowCheckMessage(parent, QString::fromLatin1(kGeneralError), platform::MessageIcon::None);
  } catch (...) {
  }
  return false;
}

// The copy command has no message of its own: a failing step is skipped.
template <typename Step>
void QuietStep(Step&& step) {
  try {
    step();
  } catch (...) {
  }
}

}  // namespace

void frmNumberChecker::mnuWinning_Click() {
  OpenEntryDialog(modPelmora::kEntryWinning);
}

void frmNumberChecker::mnuCheck_Click() {
  CheckStep(this, [&] { SetStandardHeight(); });

  // Validation: the lowest box still at "00" ends the check and opens the winning-number picker.
  bool incomplete = false;
  CheckStep(this, [&] {
    const check::WinningTexts winning = WinningTexts();
    const auto position = check::FindEmptyWinningPosition(winning);
    if (!position)
      return;
    incomplete = true;
    const std::string& text = winning[static_cast<std::size_t>(*position - 1)];
    ShowCheckMessage(this,
                     QStringLiteral("Error in winning number position: ") +
                         QString::number(*position) + QStringLiteral(".  Reason: ") +
                         FileText(text) +
                         QStringLiteral(" is not valid as a possible winning number."),
                     platform::MessageIcon::Information);
  });
  if (incomplete) {
    CheckStep(this, [&] { mnuWinning_Click(); });
    return;
  }

  // Nothing to check: straight on to entering tickets, as Add Play Numbers does.
  bool noTickets = false;
  CheckStep(this, [&] { noTickets = mPlays->Count() == 0; });
  if (noTickets) {
    CheckStep(this, [&] {
      ShowCheckMessage(this, QString::fromLatin1(kNoTickets), platform::MessageIcon::Information);
    });
    CheckStep(this, [&] { ShowListView(); });
    CheckStep(this, [&] { SetStandardHeight(); });
    CheckStep(this, [&] { OpenEntryDialog(modPelmora::kEntryPlays); });
    return;
  }

  CheckStep(this, [&] {
    mPlays->SetAllChecked(false);
    // With nothing marked, Delete in the results box edits the text instead of replacing the
    // results with the hint through a delete that has nothing to delete.
    lstNumbers_Click();
  });
  CheckStep(this, [&] { ShowResultsView(); });
  CheckStep(this, [&] { SetResultsText(QString()); });

  check::CheckResult result;
  const bool computed =
      CheckStep(this, [&] { result = check::RunCheck(WinningTexts(), mPlays->Tickets()); });
  // After a failed count the box stays empty: the sorry text would claim that nothing matched.
  if (!computed || result.outcome != check::CheckOutcome::Results)
    return;

  // Only whether anything matched is needed now: the list of matches goes before the box is
  // filled, which is when the most memory is in use.
  const bool anyReported = !result.reported.empty();
  std::vector<check::ReportedTicket>().swap(result.reported);
  CheckStep(this, [&] { FillResultsBox(std::move(result.text)); });
  if (!anyReported)
    return;
  CheckStep(this, [&] { txtMatchedTickets->setFocus(Qt::OtherFocusReason); });
  CheckStep(this, [&] { txtMatchedTickets->moveCursor(QTextCursor::End); });
  CheckStep(this, [&] { StartFlash(); });
}

void frmNumberChecker::mnuCopy_Click() {
  QuietStep([&] { SetStandardHeight(); });
  QuietStep([&] { platform::Clipboard::Clear(); });
  QuietStep([&] { ShowResultsView(); });
  QuietStep([&] {
    platform::Clipboard::SetUtf8Text(static_cast<ResultsBox*>(txtMatchedTickets)->CrLfUtf8());
  });
}

void frmNumberChecker::FillResultsBox(std::string text) {
  // The results are ASCII unless a ticket in the file is not: then the conversion of file text.
  QString plain(static_cast<qsizetype>(text.size()), Qt::Uninitialized);
  QChar* to = plain.data();
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x80) {
      plain = QString();
      SetResultsText(FileText(text));
      return;
    }
    // The box holds line ends as LF; converting here saves a second copy of the text.
    if (c != '\r' || i + 1 == text.size() || text[i + 1] != '\n')
      *to++ = QLatin1Char(static_cast<char>(c));
  }
  plain.truncate(to - plain.constData());
  std::string().swap(text);
  SetBoxText(plain);
}
