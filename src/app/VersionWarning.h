#pragma once

class QWidget;

namespace modPelmora {

// After a command that may have kept an earlier version of the data file: when keeping it failed
// for the first time in this run, one message says where and why. It is posted, so it comes
// after everything the command itself shows; the change was made all the same.
void TellVersionWarningAfterCommand(QWidget* parent);

}  // namespace modPelmora
