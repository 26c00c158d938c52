// The winning number, the check and its results.
#include <QString>
#include <QTextCursor>
#include <QTimer>
#include <string>
#include <string_view>

#include "app/FileText.h"
#include "app/ProblemReport.h"
#include "check/MatchCheck.h"
#include "platform/Clipboard.h"
#include "platform/Messages.h"
#include "ui/main/ResultsBox.h"
#include "ui/main/frmNumberChecker.h"
#include "ui/widgets/PlayListModel.h"

using namespace modPelmora;

namespace {

const char kNoTickets[] =
    "Enter at least one play number before checking to see if you have a winning number match.";

}  // namespace

void frmNumberChecker::mnuCheck_Click() {
  SetStandardHeight();

  // Validation: the lowest box still at "00" ends the check and opens the winning-number picker.
  const check::WinningTexts& winning = data_->session().winning;
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
  if (plays_->Count() == 0) {
    Tell(this, QString::fromLatin1(kNoTickets), platform::MessageIcon::Information);
    mnuAddPlay_Click();
    return;
  }

  plays_->SetAllChecked(false);
  // With nothing marked, Delete in the results box edits the text instead of replacing the
  // results with the hint through a delete that has nothing to delete.
  lstNumbers_Click();
  ShowView(txtMatchedTickets);

  std::string results;
  const check::CheckSummary summary = check::WriteCheck(
      winning, plays_->Tickets(), [&results](std::string_view piece) { results += piece; });
  QString text = FileText(results);
  std::string().swap(results);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  txtMatchedTickets->SetText(text);
  if (summary.outcome != check::CheckOutcome::Results || summary.reported == 0)
    return;
  txtMatchedTickets->setFocus(Qt::OtherFocusReason);
  txtMatchedTickets->moveCursor(QTextCursor::End);
  Timer1->start(kFlashStartMs);
}

void frmNumberChecker::mnuCopy_Click() {
  SetStandardHeight();
  platform::Clipboard::Clear();
  ShowView(txtMatchedTickets);
  // Every line ended CR LF, as the data file's lines are.
  platform::Clipboard::SetUtf8Text(txtMatchedTickets->toPlainText().toUtf8().replace('\n', "\r\n"));
}
