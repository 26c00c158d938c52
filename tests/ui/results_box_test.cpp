#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>

#include "ui/main/ResultsBox.h"

namespace {

// Counts the timer events of the box's text control: its cursor blinks on them.
class BlinkCounter : public QObject {
 public:
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Timer)
      ++count;
    return false;
  }
};

TEST(ResultsBoxTest, CursorStopsBlinkingWhenIdleAndBlinksAgainOnInput) {
  ResultsBox box;
  box.setPlainText(QStringLiteral("Matched: (3) in:05-12-23-01-02-03"));
  box.show();
  box.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&box));
  box.setFocus();
  QObject* control = nullptr;
  for (QObject* child : box.children())
    if (QByteArray(child->metaObject()->className()).endsWith("Control"))
      control = child;
  ASSERT_NE(control, nullptr);
  BlinkCounter blinks;
  control->installEventFilter(&blinks);
  const int flashTime = QApplication::cursorFlashTime();

  ASSERT_TRUE(QTest::qWaitFor([&] { return blinks.count >= 2; }));
  EXPECT_TRUE(box.CursorBlinking());
  ASSERT_TRUE(box.BlinkTimeout()->isActive());

  const int blinkFor = box.BlinkTimeout()->interval();
  box.BlinkTimeout()->start(0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !box.CursorBlinking(); }));
  box.BlinkTimeout()->setInterval(blinkFor);
  blinks.count = 0;
  QTest::qWait(flashTime);
  EXPECT_EQ(blinks.count, 0);
  EXPECT_EQ(QApplication::cursorFlashTime(), flashTime);

  QTest::keyClick(&box, Qt::Key_End);
  QTest::keyClicks(&box, QStringLiteral("x"));
  EXPECT_TRUE(box.CursorBlinking());
  EXPECT_TRUE(box.BlinkTimeout()->isActive());
  blinks.count = 0;
  EXPECT_TRUE(QTest::qWaitFor([&] { return blinks.count >= 2; }));
  EXPECT_EQ(box.toPlainText(), QStringLiteral("Matched: (3) in:05-12-23-01-02-03x"));
}

TEST(ResultsBoxTest, ThirdClickSelectsTheLineUnderIt) {
  QString text;
  for (int i = 0; i < 12; ++i)
    text += QStringLiteral("Matched: (3) in:05-12-23-%1-02-03. Again\n").arg(10 + i);
  ResultsBox box;
  box.setPlainText(text);
  box.resize(290, 130);
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
  QTextCursor third(box.document());
  third.setPosition(static_cast<int>(text.indexOf(QStringLiteral("-12-02"))));
  const QPoint at = box.cursorRect(third).center();
  QTest::mouseDClick(box.viewport(), Qt::LeftButton, {}, at);
  QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(box.textCursor().selectedText().trimmed(),
            QStringLiteral("Matched: (3) in:05-12-23-12-02-03. Again"));
}

}  // namespace
