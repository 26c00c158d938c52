#pragma once

#include <QObject>
#include <functional>

// F1 opens the help document from every window of the program, also while the main window is
// hidden (entry dialog) or disabled (About box), where a shortcut it owned would not fire.
class HelpKey : public QObject {
  Q_OBJECT
 public:
  // `showHelp` gets the window that had the key, as the parent of the help viewer.
  // The application forgets the filter by itself when it is destroyed.
  HelpKey(QObject* parent, std::function<void(QWidget*)> showHelp);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(QWidget*)> showHelp_;
};
