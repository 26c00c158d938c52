#include "app/ProblemReport.h"

#include "app/FileText.h"
#include "app/modPelmora.h"

namespace modPelmora {

void Tell(QWidget* parent, const QString& text, platform::MessageIcon icon) {
  platform::Messages::Show(parent, {text, AppTitle(), icon, platform::MessageButtons::Ok});
}

void ReportProblem(QWidget* parent, const store::Problem& problem, const QString& heading) {
  Tell(parent,
       heading + QStringLiteral("\n\nFile: %1\nReason: %2")
                     .arg(FileText(problem.path), FileText(problem.reason)),
       platform::MessageIcon::Warning);
}

}  // namespace modPelmora
