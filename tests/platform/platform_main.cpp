#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char** argv) {
  // The real dialogs are driven off screen unless a display is asked for.
  if (qgetenv("QT_QPA_PLATFORM").isEmpty())
    qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
