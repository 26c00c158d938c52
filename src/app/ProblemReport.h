#pragma once

#include <QString>

#include "platform/Messages.h"
#include "store/Problem.h"

class QWidget;

namespace modPelmora {

// A message with the program's title and one OK button, for news that asks nothing back.
void Tell(QWidget* parent, const QString& text, platform::MessageIcon icon);

// What the person is told above a problem when a change did not reach the disk.
inline constexpr char kDataFileNotSaved[] = "The data file could not be saved.";

// Tells the person what could not be done, with the file and the reason: the one way a problem
// from the store reaches a window. The reason may quote a data file's own bytes, so it is shown
// as file text is.
void ReportProblem(QWidget* parent, const store::Problem& problem,
                   const QString& heading = QString::fromLatin1(kDataFileNotSaved));

}  // namespace modPelmora
