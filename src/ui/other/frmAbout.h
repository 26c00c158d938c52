#pragma once

#include <QDialog>
#include <QLabel>

class QPushButton;

// A label that acts as a web link: drawn as one, clicked with the mouse, or reached with Tab and
// activated with Enter or Space.
class LinkLabel : public QLabel {
  Q_OBJECT
 public:
  explicit LinkLabel(QWidget* parent = nullptr);

 signals:
  void clicked();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool pressed_ = false;
};

// The About box: what the program is, where its maker lives on the web, and a way to the
// desktop's system information tool. Its opener makes it window-modal, so the main window waits
// while it is open; closing it in any way unloads the box.
class frmAbout : public QDialog {
  Q_OBJECT
 public:
  // The maker's products page, opened by the web-address label.
  static constexpr char kProductsUrl[] = "https://www.vordanik.example/products.htm";
  static constexpr char kWebsiteText[] = "www.vordanik.example";
  static constexpr char kNoticeText[] = "Your tickets against the draw, in one keystroke.";
  static constexpr char kDescriptionText[] =
      "Thanks for using VORDANIK Pelmora, V2. This application checks a list of played 6 digit "
      "lottery numbers against a 6 digit winning number to see how many matches of at least 3 "
      "winning numbers you have. I will not accept any liability if the program does not perform "
      "as expected.  While the program has been carefully coded and tested and believed to "
      "produce accurate results it is still a computer program and subject to the same forces of "
      "computing unknowns as any other software package.  Donations or lottery tickets from any "
      "state/country in any amount welcome!  Visit website for more info.";

  explicit frmAbout(QWidget* parent = nullptr);

  void Form_Load();

  void cmdOK_Click() { accept(); }
  // Starts the first of the desktop's system information programs found on PATH, or says there
  // is none.
  void cmdSysInfo_Click();
  void lblWebsite_Click();

  // Every way of closing (OK, Enter, Esc, the close box) ends here, and unloads the box.
  void done(int result) override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QLabel* picIcon = nullptr;
  QLabel* lblTitle = nullptr;
  QLabel* lblDescription = nullptr;
  LinkLabel* lblWebsite = nullptr;
  QPushButton* cmdOK = nullptr;
};
