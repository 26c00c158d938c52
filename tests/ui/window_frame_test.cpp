// The entry dialog and the all-numbers window: the all-numbers window kept above its entry
// dialog, and neither can disappear into a minimised state. Their title-bar-only frame is
// checked on a real X server (tests/e2e/window_stacking.py).
#include <QPushButton>
#include <QWindow>

#include "UiFixture.h"
#include "ui/entry/frmNumberEntry.h"
#include "ui/other/frmAllNumbers.h"

namespace {

class WindowFrameTest : public UiTest {
 protected:
  frmNumberEntry& OpenBoth() {
    WriteDataFile(Lines({"[Numbers]", "TOTAL=0"}));
    StartProgram();
    Trigger(*main_, "mnuAddPlay");
    frmNumberEntry& entry = *OpenWindow<frmNumberEntry>();
    Named<QPushButton>(entry, "cmdAllNumbers")->click();
    return entry;
  }
};

TEST_F(WindowFrameTest, AllNumbersBelongsToTheEntryDialog) {
  frmNumberEntry& entry = OpenBoth();
  frmAllNumbers* all = OpenWindow<frmAllNumbers>();
  ASSERT_TRUE(all && all->windowHandle() && entry.windowHandle());
  EXPECT_EQ(all->windowHandle()->transientParent(), entry.windowHandle());
  // The entry dialog waits for it without being disabled, which would disable its child too.
  EXPECT_TRUE(Waits(entry));
  EXPECT_TRUE(all->isEnabled());
  EXPECT_EQ(all->windowModality(), Qt::WindowModal);
}

TEST_F(WindowFrameTest, AMinimisedWindowComesBackAtOnce) {
  // The main window is hidden while tickets are entered: a minimised dialog would leave nothing.
  frmNumberEntry& entry = OpenBoth();
  for (QWidget* window :
       {static_cast<QWidget*>(OpenWindow<frmAllNumbers>()), static_cast<QWidget*>(&entry)}) {
    SCOPED_TRACE(window->objectName().toStdString());
    window->setWindowState(Qt::WindowMinimized);
    Flush();
    EXPECT_FALSE(window->isMinimized());
    EXPECT_TRUE(window->isVisible());
  }
}

}  // namespace
