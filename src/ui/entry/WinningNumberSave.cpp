#include "ui/entry/WinningNumberSave.h"

#include "app/ProblemReport.h"
#include "app/VersionWarning.h"
#include "store/Profile.h"
#include "store/TicketRules.h"

bool StoreWinningNumber(QWidget* parent, QWidget* mainWindow, const std::string& dataFile,
                        const std::string& ticket) {
  const store::Result<void> written = store::WriteProfileValue(
      store::kSectionAsWinningSaved, store::kWinningKeyAsSaved, ticket, dataFile);
  modPelmora::TellVersionWarningAfterCommand(mainWindow);
  if (!written) {
    modPelmora::ReportProblem(parent, written.error());
    return false;
  }
  return true;
}
