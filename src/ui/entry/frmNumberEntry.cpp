// The entry dialog's layout and its number grid: loading the picks on opening, ticking and
// unticking boxes, and Clear.
#include "ui/entry/frmNumberEntry.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QProxyStyle>
#include <QPushButton>
#include <algorithm>
#include <string>

#include "app/FileText.h"
#include "app/Session.h"
#include "app/modPelmora.h"
#include "platform/WindowFrame.h"
#include "store/CountConversion.h"
#include "store/Profile.h"
#include "ui/widgets/Twips.h"
#include "ui/widgets/WindowPlacement.h"

using namespace modPelmora;

namespace {

// The buttons of the right-hand column end at 3975 twips; the window is 120 twips wider, so that
// they keep off its edge by as much as "&Cancel" does on the left, and the grid and the ticket
// above it stand in the middle.
constexpr int kClientWidth = 3975 + 120;
constexpr int kClientHeight = 6090;

// The boxes are 41 pixels wide: a smaller tick and less room between tick and caption leave
// space for a caption that can still be read.
class NumberBoxStyle : public QProxyStyle {
 public:
  NumberBoxStyle() : QProxyStyle(QApplication::style()->name()) {}
  int pixelMetric(PixelMetric metric, const QStyleOption* option,
                  const QWidget* widget) const override {
    if (metric == PM_CheckBoxLabelSpacing)
      return 2;
    if (metric == PM_IndicatorWidth || metric == PM_IndicatorHeight)
      return std::min(12, QProxyStyle::pixelMetric(metric, option, widget));
    return QProxyStyle::pixelMetric(metric, option, widget);
  }
};

QPushButton* MakeButton(frmNumberEntry* parent, const char* name, const QString& caption,
                        const QString& tip, const QRect& at, void (frmNumberEntry::*handler)()) {
  auto* button = new QPushButton(caption, parent);
  QObject::connect(button, &QPushButton::clicked, parent, handler);
  button->setObjectName(QString::fromLatin1(name));
  button->setToolTip(tip);
  button->setGeometry(at);
  // No button is the default: Enter presses the focused button only (see keyPressEvent).
  button->setAutoDefault(false);
  return button;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, const QString& tip,
                  Qt::Alignment align, const QRect& at) {
  auto* label = new QLabel(parent);
  // The count label shows the file's TOTAL as written; no text is ever taken for markup.
  label->setTextFormat(Qt::PlainText);
  label->setText(caption);
  label->setObjectName(QString::fromLatin1(name));
  label->setToolTip(tip);
  label->setAlignment(align | Qt::AlignTop);
  label->setGeometry(at);
  QFont bold = label->font();
  bold.setPointSizeF(8.25);
  bold.setBold(true);
  label->setFont(bold);
  return label;
}

}  // namespace

frmNumberEntry::frmNumberEntry(Session& session, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      session_(session) {
  setObjectName("frmNumberEntry");
  setWindowTitle(QStringLiteral("VORDANIK Pelmora-Number Entry Form"));
  setFixedSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));

  // Labels first: the boxes and buttons that overlap them are drawn on top.
  Label1 = MakeLabel(this, "Label1", QString(),
                     tr("This is your number, the order they are in does not matter."),
                     Qt::AlignHCenter, TwipsRect(240, 0, 3615, 615));
  MakeLabel(this, "lbltktnum", QStringLiteral("Ticket#"), QString(), Qt::AlignHCenter,
            TwipsRect(75, 5280, 1215, 375));
  lblticketnumber = MakeLabel(this, "lblticketnumber", QString(), tr("This play number"),
                              Qt::AlignRight, TwipsRect(0, 5640, 495, 345));
  Label2 = MakeLabel(this, "Label2", QStringLiteral("of"), QString(), Qt::AlignLeft,
                     TwipsRect(600, 5640, 255, 345));
  lbltotaltickets = MakeLabel(this, "lbltotaltickets", QString(), tr("Total Saved Play Numbers"),
                              Qt::AlignLeft, TwipsRect(840, 5640, 1575, 345));

  auto* boxStyle = new NumberBoxStyle;
  boxStyle->setParent(this);
  for (int i = 1; i <= kBoxCount; ++i) {
    auto* box = new QCheckBox(this);
    box->setStyle(boxStyle);
    box->setObjectName(QStringLiteral("ck01_%1").arg(i));
    box->setGeometry(TwipsRect(240 + 600 * ((i - 1) % 6), 360 + 480 * ((i - 1) / 6), 615, 495));
    // Filled from the Window colour, which SetBoxLook sets: red when picked.
    box->setBackgroundRole(QPalette::Window);
    box->setAutoFillBackground(true);
    ck01[static_cast<std::size_t>(i - 1)] = box;
    SetBoxLook(i, false);
    // toggled, not clicked: a value set from code must run the handler too, and only a real
    // change runs it.
    connect(box, &QCheckBox::toggled, this, [this, i] { ck01_Click(i); });
  }
  FitBoxCaptions();

  cmdCancel = MakeButton(this, "cmdCancel", QStringLiteral("&Cancel"),
                         tr("Don't save this number and return to main."),
                         TwipsRect(120, 5280, 1215, 350), &frmNumberEntry::cmdCancel_Click);
  cmdDone = MakeButton(this, "cmdDone", QStringLiteral("&Done"), QString(),
                       TwipsRect(1440, 5280, 1215, 350), &frmNumberEntry::cmdDone_Click);
  cmdNext = MakeButton(this, "cmdNext", QStringLiteral("Save/&Next"),
                       tr("Save this number and prepare to create a new one."),
                       TwipsRect(2760, 5280, 1215, 350), &frmNumberEntry::cmdNext_Click);
  cmdAllNumbers =
      MakeButton(this, "cmdAllNumbers", QStringLiteral("View All"), tr("See all saved numbers."),
                 TwipsRect(1440, 5640, 1215, 350), &frmNumberEntry::cmdAllNumbers_Click);
  auto* cmdClear =
      MakeButton(this, "cmdClear", QStringLiteral("C&lear"), tr("Deselect all selected numbers."),
                 TwipsRect(2760, 5640, 1215, 350), &frmNumberEntry::cmdClear_Click);

  QList<QWidget*> order = {cmdNext, cmdDone, cmdCancel};
  for (int i = 1; i <= 54; ++i)
    order << Box(i);
  order << cmdClear << cmdAllNumbers;
  for (int i = 55; i <= kBoxCount; ++i)
    order << Box(i);
  for (qsizetype i = 1; i < order.size(); ++i)
    QWidget::setTabOrder(order[i - 1], order[i]);

  ShowTicketText();
  platform::UseTitleBarOnly(this);
}

void frmNumberEntry::Form_Load() {
  if (parentWidget())
    setWindowIcon(parentWidget()->windowIcon());
  picks_.Clear();
  ShowTicketText();

  if (session_.entryMode == EntryMode::Winning)
    LoadWinningMode();
  else if (session_.entryMode == EntryMode::Plays)
    LoadPlaysMode();

  QFont big = Label1->font();
  big.setPointSizeF(12);
  big.setBold(true);
  Label1->setFont(big);
  QPalette blue = Label1->palette();
  blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
  Label1->setPalette(blue);
  for (int i = 1; i <= kBoxCount; ++i)
    Box(i)->setText(QStringLiteral("[%1]").arg(i));

  CentreOnScreen(this);
  // "Save/Next" is hidden or disabled at this point, so the first stop of the tab order is Done.
  cmdDone->setFocus(Qt::OtherFocusReason);
}

void frmNumberEntry::ShowModeControls(bool plays) {
  cmdNext->setVisible(plays);
  cmdCancel->setVisible(!plays);
  cancelButton_ = plays ? cmdDone : cmdCancel;
  cmdDone->setToolTip(plays ? tr("Stop entering numbers and return to main")
                            : tr("Save number and go to main"));
  for (QWidget* ticketCount :
       std::initializer_list<QWidget*>{lbltotaltickets, lblticketnumber, Label2, cmdAllNumbers})
    ticketCount->setVisible(plays);
}

void frmNumberEntry::LoadWinningMode() {
  // Picking the winning number: it starts as the main window shows it.
  ShowModeControls(false);
  // An empty box (no winning number stored yet) becomes "00" at once, so that Done refuses it
  // even before any pick.
  picks_.StartFrom(session_.winning);
  ShowTicketText();
  // Each check runs the box handler, which finds the number already in its field; a field that
  // names no box checks nothing.
  for (const std::string& field : picks_.Fields()) {
    const store::CountResult number = store::ConvertCount(field);
    if (number && *number >= 1 && *number <= kBoxCount)
      Box(*number)->setChecked(true);
  }
}

void frmNumberEntry::LoadPlaysMode() {
  // Entering tickets, one after another, under the keys that follow the file's count.
  ShowModeControls(true);
  cmdNext->setEnabled(false);
  const std::string total =
      store::ReadProfileValue(store::kSection, store::kTotalKey, session_.dataFile);
  lbltotaltickets->setText(FileText(total));
  // The ticket number stays unset for a count that is missing, negative or not a number;
  // Save/Next reads the count again and refuses such a file.
  if (total == "0") {
    ShowTicketNumber(QStringLiteral("1"));
  } else if (total > "0") {
    const store::CountResult count = store::ConvertCount(total);
    if (count)
      ShowTicketNumber(QString::number(int{*count} + 1));
  }
}

void frmNumberEntry::ck01_Click(int Index) {
  if (Index < 1 || Index > kBoxCount)
    return;
  const bool picked = Box(Index)->isChecked();
  SetBoxLook(Index, picked);
  if (picked)
    picks_.Pick(Index);
  else
    picks_.Unpick(Index);
  ShowPickStatus();
  if (picks_.Complete()) {
    cmdDone->setEnabled(true);
    if (session_.entryMode == EntryMode::Plays) {
      cmdNext->setEnabled(true);
      // So that Enter or Space saves the ticket at once.
      cmdNext->setFocus(Qt::OtherFocusReason);
    }
  } else {
    cmdNext->setEnabled(false);
  }
}

void frmNumberEntry::ShowPickStatus() {
  setWindowTitle(
      QStringLiteral("You have picked %1 of %2 numbers.").arg(picks_.Count()).arg(picks_.Limit()));
  for (int i = 1; i <= kBoxCount; ++i)
    Box(i)->setEnabled(picks_.BoxEnabled(i));
  ShowTicketText();
}

void frmNumberEntry::FitBoxCaptions() {
  // A box is 41 pixels wide: the caption font shrinks until the widest caption, "[59]", fits
  // beside the tick, whatever the desktop's font and resolution.
  QCheckBox* widest = Box(kBoxCount);
  const QString widestCaption = QStringLiteral("[%1]").arg(store::kHighestNumber);
  QFont captionFont = widest->font();
  if (captionFont.pointSizeF() <= 0)  // a font sized in pixels
    captionFont.setPointSizeF(9);
  widest->setText(widestCaption);
  while (widest->sizeHint().width() > widest->width() && captionFont.pointSizeF() > 6) {
    captionFont.setPointSizeF(captionFont.pointSizeF() - 0.5);
    widest->setFont(captionFont);
    widest->setText(widestCaption);  // a new text drops the size the box remembered
  }
  widest->setText(QString());
  for (int i = 1; i <= kBoxCount; ++i)
    Box(i)->setFont(captionFont);
}

void frmNumberEntry::SetBoxLook(int index, bool picked) {
  QCheckBox* box = Box(index);
  const QPalette system = QApplication::palette(box);
  QPalette look = box->palette();
  look.setColor(QPalette::Window, picked ? QColor(255, 0, 0) : system.color(QPalette::Base));
  // The caption keeps the window-text colour; a disabled box still greys its caption.
  look.setColor(QPalette::Active, QPalette::WindowText,
                system.color(QPalette::Active, QPalette::Text));
  look.setColor(QPalette::Inactive, QPalette::WindowText,
                system.color(QPalette::Inactive, QPalette::Text));
  box->setPalette(look);
}

void frmNumberEntry::ShowTicketNumber(const QString& text) {
  // Up to five digits (32768 for the ticket after a full file): the font shrinks rather than let
  // the label cut off its first digits.
  QFont font = lblticketnumber->font();
  lblticketnumber->setText(text);
  const int room = lblticketnumber->contentsRect().width();
  while (QFontMetrics(font).horizontalAdvance(text) > room && font.pointSizeF() > 5)
    font.setPointSizeF(font.pointSizeF() - 0.5);
  lblticketnumber->setFont(font);
}

void frmNumberEntry::ShowTicketText() {
  Label1->setText(QString::fromStdString(picks_.TicketText()));
}

void frmNumberEntry::UncheckAllBoxes() {
  // Each box cleared runs the box handler, which takes its number off the picks.
  for (int i = 1; i <= kBoxCount; ++i)
    Box(i)->setChecked(false);
}

void frmNumberEntry::cmdClear_Click() {
  UncheckAllBoxes();
  picks_.Clear();
  ShowTicketText();
}
