#include "ui/entry/WinningNumberSave.h"

#include <QWidget>
#include "app/ProblemReport.h"

#include "app/ChangeNotes.h"
#include "store/Profile.h"
#include "store/TicketRules.h"

bool StoreWinningNumber(QWidget* parent, ChangeNotes& notes, const std::string& dataFile,
                        const std::string& ticket) {
  const store::Result<void> written = store::WriteProfileValue(
      store::kSectionAsWinningSaved, store::kWinningKeyAsSaved, ticket, dataFile);
  // Told over the main window: the dialog may be gone by then.
  notes.TellAfterCommand(parent->parentWidget(), written.notes());
  if (!written) {
    modPelmora::ReportProblem(parent, written.error());
    return false;
  }
  return true;
}
