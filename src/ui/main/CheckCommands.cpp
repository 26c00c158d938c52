// The winning number, the check and its results.
#include <QPlainTextEdit>
#include <QString>
#include <QTextCursor>
#include <string>
#include <utility>
#include <vector>

#include "app/FileText.h"
#include "app/ProblemReport.h"
#include "check/MatchCheck.h"
#include "platform/Clipboard.h"
#include "platform/Messages.h"
#include "ui/main/PlayListModel.h"
#include "ui/main/ResultsBox.h"
#include "ui/main/frmNumberChecker.h"

using namespace modPelmora;

namespace {

const char kNoTickets[] =
    "Enter at least one play number before checking to see if you have a winning number match.";

}  // namespace

void frmNumberChecker::mnuWinning_Click() {
  OpenEntryDialog(EntryMode::Winning);
}

void frmNumberChecker::mnuCheck_Click() {
  SetStandardHeight();

  // Validation: the lowest box still at "00" ends the check and opens the winning-number picker.
  const check::WinningTexts winning = WinningTexts();
  if (const auto position = check::FindEmptyWinningPosition(winning)) {
    const std::string& text = winning[static_cast<std::size_t>(*position - 1)];
    Tell(this,
         QStringLiteral("Error in winning number position: ") + QString::number(*position) +
             QStringLiteral(".  Reason: ") + FileText(text) +
             QStringLiteral(" is not valid as a possible winning number."),
         platform::MessageIcon::Information);
    mnuWinning_Click();
    return;
  }

  // Nothing to check: straight on to entering tickets, as Add Play Numbers does.
  if (mPlays->Count() == 0) {
    Tell(this, QString::fromLatin1(kNoTickets), platform::MessageIcon::Information);
    ShowListView();
    SetStandardHeight();
    OpenEntryDialog(EntryMode::Plays);
    return;
  }

  mPlays->SetAllChecked(false);
  // With nothing marked, Delete in the results box edits the text instead of replacing the
  // results with the hint through a delete that has nothing to delete.
  lstNumbers_Click();
  ShowResultsView();
  SetResultsText(QString());

  check::CheckResult result = check::RunCheck(WinningTexts(), mPlays->Tickets());
  // After a failed count the box stays empty: the sorry text would claim that nothing matched.
  if (result.outcome != check::CheckOutcome::Results)
    return;

  // Only whether anything matched is needed now: the list of matches goes before the box is
  // filled, which is when the most memory is in use.
  const bool anyReported = !result.reported.empty();
  std::vector<check::ReportedTicket>().swap(result.reported);
  FillResultsBox(std::move(result.text));
  if (!anyReported)
    return;
  txtMatchedTickets->setFocus(Qt::OtherFocusReason);
  txtMatchedTickets->moveCursor(QTextCursor::End);
  StartFlash();
}

void frmNumberChecker::mnuCopy_Click() {
  SetStandardHeight();
  platform::Clipboard::Clear();
  ShowResultsView();
  platform::Clipboard::SetUtf8Text(static_cast<ResultsBox*>(txtMatchedTickets)->CrLfUtf8());
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
