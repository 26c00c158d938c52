#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <functional>

#include "UiFixture.h"
#include "platform/LinuxRegistry.h"
#include "ui/other/SysInfo.h"
#include "ui/other/frmAbout.h"

namespace {

const QString kToolKey = QString::fromLatin1(platform::kSysInfoKey);
const QString kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const QString kUnavailable = "System Information Is Unavailable At This Time";

class AboutTest : public UiTest {
 protected:
  // Starts the program and opens the About box the way the Help menu does.
  frmAbout& OpenAbout() {
    frmNumberChecker& form = StartProgram();
    form.mnuAbout->trigger();
    frmAbout* about = forms::About();
    EXPECT_NE(about, nullptr);
    return *about;
  }

  void ExpectUnavailableShownOnceAndNothingStarted() {
    ASSERT_EQ(desktop_.messages.shown.size(), 1u);
    const platform::MessageRequest& shown = desktop_.messages.shown[0].request;
    EXPECT_EQ(shown.text, kUnavailable);
    EXPECT_EQ(shown.title, "VORDANIK Pelmora 2.0");
    EXPECT_EQ(shown.icon, platform::MessageIcon::None);
    EXPECT_EQ(shown.buttons, platform::MessageButtons::Ok);
    EXPECT_TRUE(desktop_.launcher.started.isEmpty());
  }
};

TEST_F(AboutTest, RegistryValuesReadAsText) {
  desktop_.registry.SetString(kToolKey, "PATH", "C:\\Tools\\info.exe");
  desktop_.registry.SetDword(kToolKey, "Count", 258);
  desktop_.registry.SetDword(kToolKey, "Big", 0x12AB34CDu);
  const std::uint32_t hklm = platform::kHkeyLocalMachine;

  QString text = "stale";
  EXPECT_TRUE(GetKeyValue(hklm, kToolKey, "PATH", text));
  EXPECT_EQ(text, "C:\\Tools\\info.exe");

  // 258 is stored as 02 01 00 00; its last byte counts as the closing NUL and is dropped.
  EXPECT_TRUE(GetKeyValue(hklm, kToolKey, "Count", text));
  EXPECT_EQ(text, "&h000102");
  EXPECT_TRUE(GetKeyValue(hklm, kToolKey, "Big", text));
  EXPECT_EQ(text, "&h12AB34CD");

  text = "stale";
  EXPECT_FALSE(GetKeyValue(hklm, "SOFTWARE\\Nowhere", "PATH", text)) << "missing key";
  EXPECT_EQ(text, "");
  text = "stale";
  EXPECT_FALSE(GetKeyValue(hklm, kToolKey, "Missing", text)) << "missing value";
  EXPECT_EQ(text, "");
  text = "stale";
  EXPECT_FALSE(GetKeyValue(hklm + 1, kToolKey, "PATH", text)) << "other root";
  EXPECT_EQ(text, "");
}

TEST_F(AboutTest, RegistryValueOfOtherTypeOrTooLongForTheBuffer) {
  const std::uint32_t hklm = platform::kHkeyLocalMachine;
  desktop_.registry.Set(hklm, kToolKey, "Blob",
                        {platform::RegistryType::Other, QByteArray("\x01\x02", 2)});
  QString text = "kept";
  EXPECT_TRUE(GetKeyValue(hklm, kToolKey, "Blob", text));
  EXPECT_EQ(text, "kept");

  desktop_.registry.SetString(kToolKey, "Long", QString(1023, 'x'));  // 1024 bytes with the NUL
  EXPECT_TRUE(GetKeyValue(hklm, kToolKey, "Long", text));
  EXPECT_EQ(text.size(), 1023);
  desktop_.registry.SetString(kToolKey, "Long", QString(1024, 'x'));
  EXPECT_FALSE(GetKeyValue(hklm, kToolKey, "Long", text));
  EXPECT_EQ(text, "");
}

TEST_F(AboutTest, SystemInfoStartsThePathValueUnchangedWithoutTestingIt) {
  desktop_.registry.SetString(kToolKey, "PATH", "/opt/tools/sysinfo --now");
  desktop_.registry.SetString(kLocationKey, "MSINFO", "/opt/msinfo");
  desktop_.launcher.existingFiles.insert("/opt/msinfo/MSINFO32.EXE");
  frmAbout& about = OpenAbout();
  about.cmdSysInfo->click();
  EXPECT_EQ(desktop_.launcher.started, QStringList({"/opt/tools/sysinfo --now"}));
  EXPECT_TRUE(desktop_.messages.shown.empty());
  EXPECT_TRUE(about.isVisible()) << "System Info leaves the box open";
  about.cmdOK->click();
}

TEST_F(AboutTest, SystemInfoFallsBackToTheToolFolderWhenItsFileExists) {
  desktop_.registry.SetString(kLocationKey, "MSINFO", "/opt/msinfo");
  desktop_.launcher.existingFiles.insert("/opt/msinfo/MSINFO32.EXE");
  StartSysInfo();
  EXPECT_EQ(desktop_.launcher.started, QStringList({"/opt/msinfo/MSINFO32.EXE"}));
  EXPECT_TRUE(desktop_.messages.shown.empty());
}

TEST_F(AboutTest, SystemInfoWithoutAToolSaysSoOnce) {
  {
    SCOPED_TRACE("no registry value at all");
    StartSysInfo();
    ExpectUnavailableShownOnceAndNothingStarted();
  }
  desktop_.messages.shown.clear();
  {
    SCOPED_TRACE("tool folder without the tool");
    desktop_.registry.SetString(kLocationKey, "MSINFO", "/opt/msinfo");
    StartSysInfo();
    ExpectUnavailableShownOnceAndNothingStarted();
  }
  desktop_.messages.shown.clear();
  {
    SCOPED_TRACE("the tool does not start");
    desktop_.registry.SetString(kToolKey, "PATH", "/opt/tools/sysinfo");
    desktop_.launcher.startSucceeds = false;
    StartSysInfo();
    ASSERT_EQ(desktop_.messages.shown.size(), 1u);
    EXPECT_EQ(desktop_.messages.shown[0].request.text, kUnavailable);
    EXPECT_EQ(desktop_.launcher.started, QStringList({"/opt/tools/sysinfo"}));
  }
}

TEST_F(AboutTest, LoadFillsCaptionTextsAndIcon) {
  frmAbout& about = OpenAbout();
  EXPECT_EQ(about.windowTitle(), "About VORDANIK Pelmora 2.02.0.0");
  EXPECT_EQ(about.lblDescription->text().toStdString(),
            "Thanks for using VORDANIK Pelmora, V2. This application checks a list of played 6 "
            "digit lottery numbers against a 6 digit winning number to see how many matches of at "
            "least 3 winning numbers you have. I will not accept any liability if the program "
            "does not perform as expected.  While the program has been carefully coded and "
            "tested and believed to produce accurate results it is still a computer program and "
            "subject to the same forces of computing unknowns as any other software package.  "
            "Donations or lottery tickets from any state/country in any amount welcome!  Visit "
            "website for more info.");
  EXPECT_FALSE(about.lblTitle->text().isEmpty());
  EXPECT_FALSE(about.lblTitle->text().contains('\n'));
  EXPECT_LE(about.lblTitle->fontMetrics().horizontalAdvance(about.lblTitle->text()),
            about.lblTitle->width())
      << "the notice fits its one line";
  EXPECT_FALSE(about.windowIcon().isNull());
  EXPECT_FALSE(about.picIcon->pixmap().isNull());
  EXPECT_EQ(about.cmdSysInfo->text(), "&System Info...");
  EXPECT_TRUE(about.cmdOK->isDefault());
  EXPECT_EQ(about.size(), QSize(382, 237));
  EXPECT_EQ(about.minimumSize(), about.maximumSize()) << "fixed size";
  EXPECT_FALSE(about.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(about.windowFlags() & Qt::WindowCloseButtonHint);
  about.cmdOK->click();
}

TEST_F(AboutTest, CaptionFollowsTheRenamedTitle) {
  modPelmora::SetAppTitle("unwanted instance");
  frmAbout about;
  about.Form_Load();
  EXPECT_EQ(about.windowTitle(), "About unwanted instance2.0.0");
}

TEST_F(AboutTest, EveryWayOfClosingEnablesTheMainWindowAgain) {
  const std::vector<std::pair<const char*, std::function<void(frmAbout&)>>> ways = {
      {"OK", [](frmAbout& a) { a.cmdOK->click(); }},
      {"Esc", [](frmAbout& a) { QTest::keyClick(a.cmdOK, Qt::Key_Escape); }},
      {"Enter", [](frmAbout& a) { QTest::keyClick(&a, Qt::Key_Return); }},
      {"Enter on OK", [](frmAbout& a) { QTest::keyClick(a.cmdOK, Qt::Key_Enter); }},
      {"close box", [](frmAbout& a) { a.close(); }},
  };
  frmNumberChecker& form = StartProgram();
  for (const auto& [name, close] : ways) {
    SCOPED_TRACE(name);
    form.mnuAbout->trigger();
    frmAbout* about = forms::About();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_FALSE(form.isEnabled()) << "the main window waits while the box is open";
    close(*about);
    EXPECT_TRUE(form.isEnabled());
    EXPECT_EQ(forms::About(), nullptr) << "unloaded, so the next opening loads afresh";
    Flush();
  }
  EXPECT_TRUE(desktop_.launcher.started.isEmpty());
  EXPECT_TRUE(desktop_.launcher.openedUrls.isEmpty());
}

TEST_F(AboutTest, EnterOnAnotherButtonPressesThatButton) {
  frmAbout& about = OpenAbout();
  QTest::keyClick(about.cmdSysInfo, Qt::Key_Return);
  EXPECT_EQ(desktop_.messages.shown.size(), 1u) << "System Info ran";
  EXPECT_TRUE(about.isVisible());
  EXPECT_FALSE(main_->isEnabled());
  about.cmdOK->click();
}

TEST_F(AboutTest, WebsiteLinkOpensTheProductsPage) {
  frmAbout& about = OpenAbout();
  EXPECT_EQ(about.lblWebsite->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_TRUE(about.lblWebsite->font().underline());
  EXPECT_TRUE(about.lblWebsite->font().bold());
  EXPECT_EQ(about.lblWebsite->palette().color(QPalette::WindowText), QColor(0, 0, 255));

  // Tab runs OK, System Info, the web address, and back to OK.
  auto nextStop = [](QWidget* w) {
    do
      w = w->nextInFocusChain();
    while (w->focusPolicy() == Qt::NoFocus);
    return w;
  };
  EXPECT_EQ(nextStop(about.cmdOK), about.cmdSysInfo);
  EXPECT_EQ(nextStop(about.cmdSysInfo), about.lblWebsite);
  EXPECT_EQ(nextStop(about.lblWebsite), about.cmdOK);
  EXPECT_EQ(about.focusWidget(), about.cmdOK) << "OK has the focus when the box opens";

  desktop_.launcher.openUrlSucceeds = false;
  QTest::mouseClick(about.lblWebsite, Qt::LeftButton);
  QTest::keyClick(about.lblWebsite, Qt::Key_Space);
  EXPECT_EQ(desktop_.launcher.openedUrls,
            QStringList({frmAbout::kProductsUrl, frmAbout::kProductsUrl}));
  EXPECT_EQ(QUrl(desktop_.launcher.openedUrls[0]).path(), "/products.htm");
  EXPECT_TRUE(desktop_.messages.shown.empty()) << "a browser that does not start shows nothing";

  // Enter is no button's key there: it presses OK, the default button.
  about.lblWebsite->setFocus();
  QTest::keyClick(about.lblWebsite, Qt::Key_Return);
  EXPECT_EQ(desktop_.launcher.openedUrls.size(), 2);
  EXPECT_EQ(forms::About(), nullptr) << "Enter closed the box";
  EXPECT_TRUE(main_->isEnabled());
}

}  // namespace
