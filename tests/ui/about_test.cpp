#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <functional>

#include "UiFixture.h"
#include "ui/other/frmAbout.h"

namespace {

const QString kUnavailable = "System Information Is Unavailable At This Time";

class AboutTest : public UiTest {
 protected:
  // Starts the program and opens the About box the way the Help menu does.
  frmAbout& OpenAbout() {
    frmNumberChecker& form = StartProgram();
    Named<QAction>(form, "mnuAbout")->trigger();
    frmAbout* about = OpenWindow<frmAbout>();
    EXPECT_NE(about, nullptr);
    return *about;
  }
};

TEST_F(AboutTest, SystemInfoStartsTheFirstProgramFoundOrSaysSoOnce) {
  const struct {
    QStringList onPath;
    bool starts;
    QStringList started;
  } cases[] = {{{}, true, {}},
               {{"gnome-system-monitor", "hardinfo"}, true, {"/usr/bin/hardinfo"}},
               {{"kinfocenter", "gnome-system-monitor"}, false, {"/usr/bin/kinfocenter"}}};
  frmAbout& about = OpenAbout();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.onPath.join(' ').toStdString());
    desktop_.launcher.started.clear();
    desktop_.launcher.onPath = c.onPath;
    desktop_.launcher.startSucceeds = c.starts;
    desktop_.messages.shown.clear();
    about.cmdSysInfo_Click();
    EXPECT_EQ(desktop_.launcher.started, c.started);
    ASSERT_EQ(desktop_.messages.shown.size(), c.started.isEmpty() || !c.starts ? 1u : 0u);
    if (desktop_.messages.shown.empty())
      continue;
    const platform::MessageRequest& shown = desktop_.messages.shown[0].request;
    EXPECT_EQ(shown.text, kUnavailable);
    EXPECT_EQ(shown.title, "VORDANIK Pelmora 2.0");
    EXPECT_EQ(shown.icon, platform::MessageIcon::None);
  }
}

TEST_F(AboutTest, LoadFillsCaptionTextsAndIcon) {
  frmAbout& about = OpenAbout();
  EXPECT_EQ(about.windowTitle(), "About VORDANIK Pelmora 2.02.0.0");
  EXPECT_EQ(Named<QLabel>(about, "lblDescription")->text().toStdString(),
            "Thanks for using VORDANIK Pelmora, V2. This application checks a list of played 6 "
            "digit lottery numbers against a 6 digit winning number to see how many matches of at "
            "least 3 winning numbers you have. I will not accept any liability if the program "
            "does not perform as expected.  While the program has been carefully coded and "
            "tested and believed to produce accurate results it is still a computer program and "
            "subject to the same forces of computing unknowns as any other software package.  "
            "Donations or lottery tickets from any state/country in any amount welcome!  Visit "
            "website for more info.");
  EXPECT_FALSE(Named<QLabel>(about, "lblTitle")->text().isEmpty());
  EXPECT_FALSE(Named<QLabel>(about, "lblTitle")->text().contains('\n'));
  EXPECT_LE(Named<QLabel>(about, "lblTitle")
                ->fontMetrics()
                .horizontalAdvance(Named<QLabel>(about, "lblTitle")->text()),
            Named<QLabel>(about, "lblTitle")->width())
      << "the notice fits its one line";
  EXPECT_FALSE(about.windowIcon().isNull());
  EXPECT_FALSE(Named<QLabel>(about, "picIcon")->pixmap().isNull());
  EXPECT_EQ(Named<QPushButton>(about, "cmdSysInfo")->text(), "&System Info...");
  EXPECT_TRUE(Named<QPushButton>(about, "cmdOK")->isDefault());
  EXPECT_EQ(about.size(), QSize(382, 237));
  EXPECT_EQ(about.minimumSize(), about.maximumSize()) << "fixed size";
  EXPECT_FALSE(about.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(about.windowFlags() & Qt::WindowCloseButtonHint);
  Named<QPushButton>(about, "cmdOK")->click();
}

TEST_F(AboutTest, CaptionFollowsTheRenamedTitle) {
  modPelmora::SetAppTitle("unwanted instance");
  frmAbout about;
  about.Form_Load();
  EXPECT_EQ(about.windowTitle(), "About unwanted instance2.0.0");
}

TEST_F(AboutTest, EveryWayOfClosingGivesTheMainWindowBackItsInput) {
  const std::vector<std::pair<const char*, std::function<void(frmAbout&)>>> ways = {
      {"OK", [](frmAbout& a) { Named<QPushButton>(a, "cmdOK")->click(); }},
      {"Esc", [](frmAbout& a) { QTest::keyClick(Named<QPushButton>(a, "cmdOK"), Qt::Key_Escape); }},
      {"Enter", [](frmAbout& a) { QTest::keyClick(&a, Qt::Key_Return); }},
      {"Enter on OK",
       [](frmAbout& a) { QTest::keyClick(Named<QPushButton>(a, "cmdOK"), Qt::Key_Enter); }},
      {"close box", [](frmAbout& a) { a.close(); }},
  };
  frmNumberChecker& form = StartProgram();
  for (const auto& [name, close] : ways) {
    SCOPED_TRACE(name);
    Named<QAction>(form, "mnuAbout")->trigger();
    frmAbout* about = OpenWindow<frmAbout>();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_TRUE(Waits(form)) << "the main window waits while the box is open";
    close(*about);
    EXPECT_FALSE(Waits(form));
    EXPECT_EQ(OpenWindow<frmAbout>(), nullptr) << "unloaded, so the next opening loads afresh";
    Flush();
  }
  EXPECT_TRUE(desktop_.launcher.started.isEmpty());
  EXPECT_TRUE(desktop_.launcher.openedUrls.isEmpty());
}

TEST_F(AboutTest, EnterOnAnotherButtonPressesThatButton) {
  frmAbout& about = OpenAbout();
  QTest::keyClick(Named<QPushButton>(about, "cmdSysInfo"), Qt::Key_Return);
  EXPECT_EQ(desktop_.messages.shown.size(), 1u) << "System Info ran";
  EXPECT_TRUE(about.isVisible());
  EXPECT_TRUE(Waits(*main_));
  Named<QPushButton>(about, "cmdOK")->click();
}

TEST_F(AboutTest, WebsiteLinkOpensTheProductsPage) {
  frmAbout& about = OpenAbout();
  EXPECT_EQ(Named<LinkLabel>(about, "lblWebsite")->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_TRUE(Named<LinkLabel>(about, "lblWebsite")->font().underline());
  EXPECT_TRUE(Named<LinkLabel>(about, "lblWebsite")->font().bold());
  EXPECT_EQ(Named<LinkLabel>(about, "lblWebsite")->palette().color(QPalette::WindowText),
            QColor(0, 0, 255));

  // Tab runs OK, System Info, the web address, and back to OK.
  auto nextStop = [](QWidget* w) {
    do
      w = w->nextInFocusChain();
    while (w->focusPolicy() == Qt::NoFocus);
    return w;
  };
  EXPECT_EQ(nextStop(Named<QPushButton>(about, "cmdOK")), Named<QPushButton>(about, "cmdSysInfo"));
  EXPECT_EQ(nextStop(Named<QPushButton>(about, "cmdSysInfo")),
            Named<LinkLabel>(about, "lblWebsite"));
  EXPECT_EQ(nextStop(Named<LinkLabel>(about, "lblWebsite")), Named<QPushButton>(about, "cmdOK"));
  EXPECT_EQ(about.focusWidget(), Named<QPushButton>(about, "cmdOK"))
      << "OK has the focus when the box opens";

  desktop_.launcher.openUrlSucceeds = false;
  QTest::mouseClick(Named<LinkLabel>(about, "lblWebsite"), Qt::LeftButton);
  QTest::keyClick(Named<LinkLabel>(about, "lblWebsite"), Qt::Key_Space);
  EXPECT_EQ(desktop_.launcher.openedUrls,
            QStringList({frmAbout::kProductsUrl, frmAbout::kProductsUrl}));
  EXPECT_EQ(QUrl(desktop_.launcher.openedUrls[0]).path(), "/products.htm");
  EXPECT_TRUE(desktop_.messages.shown.empty()) << "a browser that does not start shows nothing";

  // Enter is no button's key there: it presses OK, the default button.
  Named<LinkLabel>(about, "lblWebsite")->setFocus();
  QTest::keyClick(Named<LinkLabel>(about, "lblWebsite"), Qt::Key_Return);
  EXPECT_EQ(desktop_.launcher.openedUrls.size(), 2);
  EXPECT_EQ(OpenWindow<frmAbout>(), nullptr) << "Enter closed the box";
  EXPECT_FALSE(Waits(*main_));
}

}  // namespace
