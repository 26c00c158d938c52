#include "ui/other/frmAbout.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

#include "app/ProblemReport.h"
#include "app/modPelmora.h"
#include "platform/Launcher.h"
#include "ui/widgets/Twips.h"

namespace {

// The etched separator above the bottom row: a white line, two pixels high, under a gray one.
constexpr int kSeparatorLeft = 120;
constexpr int kSeparatorTop = 3000;
constexpr int kGrayRight = 5684;
constexpr int kWhiteRight = 5669;

// The desktops' system information programs, in the order they are looked for.
constexpr const char* kSysInfoPrograms[] = {"hardinfo", "kinfocenter", "gnome-system-monitor"};

// The dialog's text size; the description only fits its frame at this size.
constexpr double kFontPoints = 8.25;

}  // namespace

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
  QPalette colours = palette();
  colours.setColor(QPalette::WindowText, QColor(0, 0, 255));
  setPalette(colours);
  QFont link = font();
  link.setBold(true);
  link.setUnderline(true);
  setFont(link);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    pressed_ = true;
    event->accept();
    return;
  }
  QLabel::mousePressEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  // A click is a press and a release over the label, as with any button.
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  if (click) {
    event->accept();
    emit clicked();
    return;
  }
  QLabel::mouseReleaseEvent(event);
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
  // Space follows the link; Enter is left to the box, where it presses OK as everywhere else.
  if (event->key() == Qt::Key_Space &&
      (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier)) {
    event->accept();
    emit clicked();
    return;
  }
  QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent* event) {
  QLabel::paintEvent(event);
  if (!hasFocus())
    return;
  // Without a frame of its own, the focused link would not show where Tab has gone.
  QStylePainter painter(this);
  QStyleOptionFocusRect option;
  option.initFrom(this);
  const QRect textRect =
      fontMetrics().boundingRect(contentsRect(), int(alignment()), text()).adjusted(-1, 0, 1, 0);
  option.rect = textRect.intersected(rect());
  option.backgroundColor = palette().color(QPalette::Window);
  painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
  setObjectName("frmAbout");
  // A fixed dialog frame: a close box, no minimize or maximize, no help button.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowCloseButtonHint);
  QFont dialogFont = font();
  dialogFont.setPointSizeF(kFontPoints);
  setFont(dialogFont);

  // Created in tab order, so Tab runs OK, System Info, the web address.
  cmdOK = new QPushButton(QStringLiteral("OK"), this);
  cmdOK->setObjectName("cmdOK");
  cmdOK->setGeometry(TwipsRect(4440, 3120, 1260, 345));
  cmdOK->setDefault(true);

  picIcon = new QLabel(this);
  picIcon->setObjectName("picIcon");
  picIcon->setGeometry(TwipsRect(0, 0, 540, 540));
  picIcon->setAlignment(Qt::AlignCenter);

  auto* cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
  cmdSysInfo->setObjectName("cmdSysInfo");
  cmdSysInfo->setGeometry(TwipsRect(3120, 3120, 1245, 345));

  const auto place = [](QLabel* label, const char* name, const QRect& at) {
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(at);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    return label;
  };
  lblDescription = place(new QLabel(this), "lblDescription", TwipsRect(570, 405, 4965, 2370));
  lblDescription->setWordWrap(true);

  lblTitle = place(new QLabel(this), "lblTitle", TwipsRect(600, 0, 4965, 480));
  QFont titleFont = font();
  titleFont.setBold(true);
  lblTitle->setFont(titleFont);

  lblWebsite = new LinkLabel(this);
  place(lblWebsite, "lblWebsite", TwipsRect(0, 3120, 3135, 375));
  lblWebsite->setText(QString::fromLatin1(kWebsiteText));
  lblWebsite->setToolTip(QString::fromLatin1(kProductsUrl));

  connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
  connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
  connect(lblWebsite, &LinkLabel::clicked, this, &frmAbout::lblWebsite_Click);

  QRect client = TwipsRect(2340, 1935, 5730, 3555);
  if (QScreen* screen = QGuiApplication::primaryScreen())
    client.translate(screen->geometry().topLeft());
  setFixedSize(client.size());
  setGeometry(client);
}

void frmAbout::Form_Load() {
  // The main window's icon, which a box opened from it inherits.
  const QIcon icon = parentWidget() ? parentWidget()->windowIcon() : QGuiApplication::windowIcon();
  setWindowIcon(icon);
  setWindowTitle(QStringLiteral("About ") + modPelmora::AppTitle() +
                 QString::number(modPelmora::kVersionMajor) + QLatin1Char('.') +
                 QString::number(modPelmora::kVersionMinor) + QLatin1Char('.') +
                 QString::number(modPelmora::kVersionRevision));
  lblTitle->setText(QString::fromUtf8(kNoticeText));
  lblDescription->setText(QString::fromLatin1(kDescriptionText));
  if (!icon.isNull())
    picIcon->setPixmap(icon.pixmap(32, 32));
  cmdOK->setFocus();
}

void frmAbout::cmdSysInfo_Click() {
  for (const char* name : kSysInfoPrograms) {
    const std::optional<QString> path = platform::Launcher::FindProgram(QString::fromLatin1(name));
    if (!path)
      continue;
    if (platform::Launcher::StartProgram(*path))
      return;
    break;  // the program found does not start: no other is tried
  }
  modPelmora::Tell(this, QStringLiteral("System Information Is Unavailable At This Time"),
                   platform::MessageIcon::None);
}

void frmAbout::lblWebsite_Click() {
  // A browser that cannot be started leaves nothing to tell the user.
  platform::Launcher::OpenUrl(QString::fromLatin1(kProductsUrl));
}

void frmAbout::done(int result) {
  QDialog::done(result);
  deleteLater();
}

void frmAbout::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  QPainter painter(this);
  const int left = TwipsToPixels(kSeparatorLeft);
  const int top = TwipsToPixels(kSeparatorTop);
  painter.fillRect(QRect(left, top, TwipsToPixels(kWhiteRight) - left, 2), QColor(255, 255, 255));
  painter.fillRect(QRect(left, top, TwipsToPixels(kGrayRight) - left, 1), QColor(128, 128, 128));
}
