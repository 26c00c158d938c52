// Icons made on first use: handing one to a window, copying it and asking whether it is null do
// not make it; the first picture does, once, and the pictures are those of the icon made directly.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QStyleFactory>
#include <QWidget>

#include "exe/StartupStyle.h"
#include "ui/LazyIcon.h"

namespace {

QImage Picture(const QIcon& icon, int size) {
  return icon.pixmap(size, size).toImage().convertToFormat(QImage::Format_ARGB32);
}

TEST(LazyIconTest, IsMadeOnceAndOnlyWhenAPictureIsAskedFor) {
  int made = 0;
  const QIcon icon = LazyIcon([&made] {
    ++made;
    QPixmap red(16, 16);
    red.fill(Qt::red);
    return QIcon(red);
  });
  QWidget window;
  window.setWindowIcon(icon);
  const QIcon copy = window.windowIcon();
  EXPECT_FALSE(copy.isNull());
  EXPECT_EQ(made, 0);

  EXPECT_EQ(Picture(copy, 16).pixel(8, 8), QColor(Qt::red).rgba());
  Picture(icon, 32);
  EXPECT_EQ(made, 1);
}

TEST(LazyIconTest, TheProgramIconLooksAsWhenDecodedAtOnce) {
  const QStringList paths = {QStringLiteral(":/pelmora/pelmora-16.png"),
                             QStringLiteral(":/pelmora/pelmora-48.png"),
                             QStringLiteral(":/pelmora/pelmora-128.png")};
  QIcon direct;
  for (const QString& path : paths)
    direct.addFile(path);
  const QIcon lazy = LazyFileIcon(paths, "png");
  EXPECT_EQ(lazy.availableSizes(), direct.availableSizes());
  for (int size : {16, 32, 48, 128, 256})
    EXPECT_EQ(Picture(lazy, size), Picture(direct, size)) << size;
}

TEST(LazyIconTest, TheStartupStyleDrawsTheMenuOverflowButtonAsTheDesktopStyleDoes) {
  std::unique_ptr<QStyle> plain(QStyleFactory::create(QApplication::style()->name()));
  StartupStyle startup;
  for (auto which : {QStyle::SP_ToolBarHorizontalExtensionButton,
                     QStyle::SP_ToolBarVerticalExtensionButton, QStyle::SP_MessageBoxWarning}) {
    EXPECT_EQ(Picture(startup.standardIcon(which), 16), Picture(plain->standardIcon(which), 16))
        << which;
  }
}

}  // namespace
