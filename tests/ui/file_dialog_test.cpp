// The program's own file dialog, run for real off screen and driven while it waits.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QTimer>

#include "platform/FileDialog.h"

namespace {

// Runs `inspect` on the file dialog once it is open, then cancels it.
void WhileTheDialogIsOpen(std::function<void(QFileDialog&)> inspect) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, inspect] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog)
      return;
    poll->stop();
    poll->deleteLater();
    inspect(*dialog);
    dialog->reject();
  });
  poll->start(1);
}

TEST(QtFileDialogTest, AllFilesListsNamesWithoutADotAndKeepsItsLabel) {
  platform::FileDialogRequest request;
  request.kind = platform::FileDialogKind::Open;
  request.title = QStringLiteral("Open Data File");
  request.filter = {QStringLiteral("Pelmora Files (*.PMD)"), QStringLiteral("*.PMD"),
                    QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")};
  request.filterIndex = 1;

  QStringList labels;
  QStringList shownFirst;
  QStringList shownForAll;
  WhileTheDialogIsOpen([&](QFileDialog& dialog) {
    auto* model = dialog.findChild<QFileSystemModel*>();
    auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    ASSERT_TRUE(model && types);
    for (int i = 0; i < types->count(); ++i)
      labels << types->itemText(i);
    shownFirst = model->nameFilters();
    // As a person choosing the second entry of the list.
    types->setCurrentIndex(1);
    emit types->activated(1);
    emit types->textActivated(types->itemText(1));
    shownForAll = model->nameFilters();
  });
  EXPECT_TRUE(platform::FileDialog::Real().Answer(nullptr, request).isEmpty());

  EXPECT_EQ(labels, QStringList({"Pelmora Files (*.PMD)", "All Files (*.*)"}));
  EXPECT_EQ(shownFirst, QStringList({"*.PMD"}));
  EXPECT_EQ(shownForAll, QStringList({"*"}));
}

}  // namespace
