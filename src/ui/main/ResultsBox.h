#pragma once

#include <QPlainTextEdit>

// The results box. It takes typing like any text box, but the window's menu shortcuts act
// while it has the focus: its own Ctrl+C, Ctrl+A, Delete and Ctrl+Insert would otherwise
// swallow them.
class ResultsBox : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit ResultsBox(QWidget* parent = nullptr);

 protected:
  bool event(QEvent* event) override;
};
