#include "ui/other/SysInfo.h"

#include "app/ProblemReport.h"
#include "platform/Launcher.h"

// The desktops' system information programs, in the order they are looked for.
static constexpr const char* kSysInfoPrograms[] = {"hardinfo", "kinfocenter",
                                                   "gnome-system-monitor"};

void StartSysInfo(QWidget* parent) {
  for (const char* name : kSysInfoPrograms) {
    const std::optional<QString> path = platform::Launcher::FindProgram(QString::fromLatin1(name));
    if (!path)
      continue;
    if (platform::Launcher::StartProgram(*path))
      return;
    break;  // the program found does not start: no other is tried
  }
  modPelmora::Tell(parent, QStringLiteral("System Information Is Unavailable At This Time"),
                   platform::MessageIcon::None);
}
