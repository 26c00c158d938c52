// The entry dialog's layout and its number grid: loading the picks on opening, ticking and
// unticking boxes, and Clear.
#include "ui/entry/frmNumberEntry.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <algorithm>
#include <optional>

#include "app/DataFileLocation.h"
#include "app/FileText.h"
#include "app/modPelmora.h"
#include "platform/WindowFrame.h"
#include "store/CountConversion.h"
#include "store/PlayNumber.h"
#include "store/Profile.h"
#include "store/TicketFile.h"
#include "ui/Forms.h"
#include "ui/Twips.h"
#include "ui/WindowPlacement.h"
#include "ui/main/frmNumberChecker.h"

using namespace modPelmora;

namespace {

constexpr int kClientWidth = 3975;
constexpr int kClientHeight = 6090;
constexpr std::int16_t kPicksPerTicket = 6;
const QString kEmptyField = QStringLiteral("00");
const QString kDesignCaption = QStringLiteral("VORDANIK Pelmora-Number Entry Form");
const QColor kPickedColour(255, 0, 0);
const QColor kLabel1Colour(0, 0, 255);

// The value a field compares with, converted as the stored count is: "05" and "5" hold 5, "00"
// and "0" are empty. A text that is not a number (possible only in a winning number edited
// outside the program) has no value.
std::optional<int> FieldValue(const QString& text) {
  const store::CountResult value = store::ConvertCount(text.toStdString());
  if (!value.ok)
    return std::nullopt;
  return value.value;
}

bool FieldHolds(const QString& field, int n) {
  return FieldValue(field) == n;
}

// A field without a number counts as empty, so a pick replaces text that names no box.
bool FieldIsEmpty(const QString& field) {
  const std::optional<int> value = FieldValue(field);
  return !value || *value == 0;
}

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

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& tip, const QRect& at) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setToolTip(tip);
  button->setGeometry(at);
  // No button is the default: Enter presses the focused button only (see keyPressEvent).
  button->setAutoDefault(false);
  button->setDefault(false);
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

// The ticket number runs to five digits (32768 for the ticket after a full file); the font
// shrinks rather than let the label cut off its first digits.
void ShowFittingText(QLabel* label, const QString& text) {
  QFont font = label->font();
  label->setText(text);
  const int room = label->contentsRect().width();
  while (QFontMetrics(font).horizontalAdvance(text) > room && font.pointSizeF() > 5)
    font.setPointSizeF(font.pointSizeF() - 0.5);
  label->setFont(font);
}

}  // namespace

frmNumberEntry::frmNumberEntry(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setObjectName("frmNumberEntry");
  setWindowTitle(kDesignCaption);
  setFixedSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));
  setSizeGripEnabled(false);
  CreateControls();
  SetTabOrder();
  SetEmptyTicket();
  platform::UseTitleBarOnly(this);
}

void frmNumberEntry::CreateControls() {
  // Labels first: the boxes and buttons that overlap them are drawn on top.
  Label1 = MakeLabel(this, "Label1", QString(),
                     tr("This is your number, the order they are in does not matter."),
                     Qt::AlignHCenter, TwipsRect(240, 0, 3615, 615));
  lbltktnum = MakeLabel(this, "lbltktnum", QStringLiteral("Ticket#"), QString(), Qt::AlignHCenter,
                        TwipsRect(75, 5280, 1215, 375));
  lblticketnumber = MakeLabel(this, "lblticketnumber", QString(), tr("This play number"),
                              Qt::AlignRight, TwipsRect(0, 5640, 600, 345));
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
    ck01[static_cast<std::size_t>(i)] = box;
    SetBoxLook(i, false);
    // toggled, not clicked: a value set from code must run the handler too, and only a real
    // change runs it.
    connect(box, &QCheckBox::toggled, this, [this, i] { ck01_Click(i); });
  }
  FitBoxCaptions();

  cmdCancel =
      MakeButton(this, "cmdCancel", QStringLiteral("&Cancel"),
                 tr("Don't save this number and return to main."), TwipsRect(120, 5280, 1215, 350));
  cmdDone = MakeButton(this, "cmdDone", QStringLiteral("&Done"), QString(),
                       TwipsRect(1440, 5280, 1215, 350));
  cmdNext = MakeButton(this, "cmdNext", QStringLiteral("Save/&Next"),
                       tr("Save this number and prepare to create a new one."),
                       TwipsRect(2760, 5280, 1215, 350));
  cmdAllNumbers = MakeButton(this, "cmdAllNumbers", QStringLiteral("View All"),
                             tr("See all saved numbers."), TwipsRect(1440, 5640, 1215, 350));
  cmdClear = MakeButton(this, "cmdClear", QStringLiteral("C&lear"),
                        tr("Deselect all selected numbers."), TwipsRect(2760, 5640, 1215, 350));
  connect(cmdCancel, &QPushButton::clicked, this, &frmNumberEntry::cmdCancel_Click);
  connect(cmdDone, &QPushButton::clicked, this, &frmNumberEntry::cmdDone_Click);
  connect(cmdNext, &QPushButton::clicked, this, &frmNumberEntry::cmdNext_Click);
  connect(cmdAllNumbers, &QPushButton::clicked, this, &frmNumberEntry::cmdAllNumbers_Click);
  connect(cmdClear, &QPushButton::clicked, this, &frmNumberEntry::cmdClear_Click);
}

void frmNumberEntry::SetTabOrder() {
  QList<QWidget*> order = {cmdNext, cmdDone, cmdCancel};
  for (int i = 1; i <= 54; ++i)
    order << ck01[static_cast<std::size_t>(i)];
  order << cmdClear << cmdAllNumbers;
  for (int i = 55; i <= kBoxCount; ++i)
    order << ck01[static_cast<std::size_t>(i)];
  for (qsizetype i = 1; i < order.size(); ++i)
    QWidget::setTabOrder(order[i - 1], order[i]);
}

void frmNumberEntry::Form_Load() {
  frmNumberChecker* main = forms::MainForm();

  if (main)
    setWindowIcon(main->windowIcon());
  gPickedCount = 0;
  gPickLimit = kPicksPerTicket;

  SetEmptyTicket();

  if (gEntryMode == kEntryWinning) {
    // Picking the winning number: it starts as the main window shows it.
    cmdNext->hide();
    cmdCancel->show();
    mCancelButton = cmdCancel;
    cmdDone->setToolTip(tr("Save number and go to main"));
    lbltotaltickets->hide();
    lblticketnumber->hide();
    Label2->hide();
    cmdAllNumbers->hide();
    if (main) {
      for (int k = 1; k <= kFieldCount; ++k)
        mField[static_cast<std::size_t>(k)] = main->win1[k]->text();
    }
    // An empty box (no winning number stored yet) becomes "00" at once, so that Done refuses
    // it even before any pick.
    PadFields();
    ShowTicketText();
    // Each check runs the box handler, which finds the number already in its field; a field
    // that names no box checks nothing.
    for (int k = 1; k <= kFieldCount; ++k) {
      const std::optional<int> number = FieldValue(mField[static_cast<std::size_t>(k)]);
      if (number && *number >= 1 && *number <= kBoxCount)
        ck01[static_cast<std::size_t>(*number)]->setChecked(true);
    }
  } else if (gEntryMode == kEntryPlays) {
    // Entering tickets, one after another, under the keys that follow the file's count.
    cmdNext->show();
    cmdNext->setEnabled(false);
    cmdCancel->hide();
    mCancelButton = cmdDone;
    cmdDone->setToolTip(tr("Stop entering numbers and return to main"));
    lbltotaltickets->show();
    lblticketnumber->show();
    cmdAllNumbers->show();
    Label2->show();
    gProfileFile = gDataFile;
    const std::string total = GetProfileValue("numbers", "total", gProfileFile);
    lbltotaltickets->setText(FileText(total));
    // The ticket number stays unset for a count that is missing, negative or not a number;
    // Save/Next reads the count again and refuses such a file.
    if (total == "0") {
      ShowFittingText(lblticketnumber, QStringLiteral("1"));
    } else if (total > "0") {
      const store::CountResult count = store::ConvertCount(total);
      if (count.ok)
        ShowFittingText(lblticketnumber, QString::number(int{count.value} + 1));
    }
  }

  QFont big = Label1->font();
  big.setPointSizeF(12);
  big.setBold(true);
  Label1->setFont(big);
  QPalette blue = Label1->palette();
  blue.setColor(QPalette::WindowText, kLabel1Colour);
  Label1->setPalette(blue);
  for (gIdx = 1; gIdx <= kBoxCount; ++gIdx) {
    QCheckBox* box = ck01[static_cast<std::size_t>(gIdx)];
    box->setText(QStringLiteral("[%1]").arg(gIdx));
  }

  CentreOnScreen(this);
  // "Save/Next" is hidden or disabled at this point, so the first stop of the tab order is Done.
  cmdDone->setFocus(Qt::OtherFocusReason);
}

bool frmNumberEntry::PlayEntryMode() const {
  return gEntryMode == kEntryPlays;
}

void frmNumberEntry::ck01_Click(int Index) {
  if (Index < 1 || Index > kBoxCount)
    return;
  const auto n = static_cast<std::int16_t>(Index);
  if (!ck01[static_cast<std::size_t>(Index)]->isChecked()) {
    --gPickedCount;
    SetBoxLook(Index, false);
    RemovePick(n);
  } else {
    ++gPickedCount;
    SetBoxLook(Index, true);
    AddPick(n);
  }
  ShowPickStatus();
  if (gPickLimit == gPickedCount) {
    cmdDone->setEnabled(true);
    if (PlayEntryMode()) {
      cmdNext->setEnabled(true);
      // So that Enter or Space saves the ticket at once.
      cmdNext->setFocus(Qt::OtherFocusReason);
    }
  } else {
    cmdNext->setEnabled(false);
  }
}

void frmNumberEntry::AddPick(std::int16_t n) {
  // The count has already been raised for this pick: at the limit no further box may be picked.
  if (gPickedCount == gPickLimit)
    DisableUnpicked();
  for (int k = 1; k <= kFieldCount; ++k) {
    if (FieldHolds(mField[static_cast<std::size_t>(k)], n))
      return;
  }
  for (int k = 1; k <= kFieldCount; ++k) {
    QString& field = mField[static_cast<std::size_t>(k)];
    if (FieldIsEmpty(field)) {
      field = QString::number(n);
      return;
    }
  }
}

void frmNumberEntry::RemovePick(std::int16_t n) {
  if (gPickedCount < gPickLimit)
    EnableAllNumbers();
  // A field that is not a number is passed over, so the number still leaves every field after
  // it; the fields keep their places.
  for (int k = 1; k <= kFieldCount; ++k) {
    QString& field = mField[static_cast<std::size_t>(k)];
    if (FieldHolds(field, n))
      field = kEmptyField;
  }
}

void frmNumberEntry::ShowPickStatus() {
  setWindowTitle(
      QStringLiteral("You have picked %1 of %2 numbers.").arg(gPickedCount).arg(gPickLimit));
  PadFields();
  ShowTicketText();
}

void frmNumberEntry::PadFields() {
  // Two characters per field, so the text keeps the six-field form; an empty text (from a short
  // stored winning number) becomes "00" and is refused as an empty position by Done.
  for (int k = 1; k <= kFieldCount; ++k) {
    QString& field = mField[static_cast<std::size_t>(k)];
    while (field.size() < 2)
      field.prepend(QLatin1Char('0'));
  }
}

void frmNumberEntry::DisableUnpicked() {
  for (gIdx = 1; gIdx <= kBoxCount; ++gIdx) {
    QCheckBox* box = ck01[static_cast<std::size_t>(gIdx)];
    if (!box->isChecked())
      box->setEnabled(false);
  }
}

void frmNumberEntry::EnableAllNumbers() {
  for (gIdx = 1; gIdx <= kBoxCount; ++gIdx)
    ck01[static_cast<std::size_t>(gIdx)]->setEnabled(true);
}

void frmNumberEntry::FitBoxCaptions() {
  // A box is 41 pixels wide: the caption font shrinks until the widest caption, "[59]", fits
  // beside the tick, whatever the desktop's font and resolution.
  QCheckBox* widest = ck01[kBoxCount];
  QFont captionFont = widest->font();
  if (captionFont.pointSizeF() <= 0)  // a font sized in pixels
    captionFont.setPointSizeF(9);
  widest->setText(QStringLiteral("[59]"));
  while (widest->sizeHint().width() > widest->width() && captionFont.pointSizeF() > 6) {
    captionFont.setPointSizeF(captionFont.pointSizeF() - 0.5);
    widest->setFont(captionFont);
    widest->setText(QStringLiteral("[59]"));  // a new text drops the size the box remembered
  }
  widest->setText(QString());
  for (int i = 1; i <= kBoxCount; ++i)
    ck01[static_cast<std::size_t>(i)]->setFont(captionFont);
}

void frmNumberEntry::SetBoxLook(int index, bool picked) {
  QCheckBox* box = ck01[static_cast<std::size_t>(index)];
  const QPalette system = QApplication::palette(box);
  QPalette look = box->palette();
  look.setColor(QPalette::Window, picked ? kPickedColour : system.color(QPalette::Base));
  // The caption keeps the window-text colour; a disabled box still greys its caption.
  look.setColor(QPalette::Active, QPalette::WindowText,
                system.color(QPalette::Active, QPalette::Text));
  look.setColor(QPalette::Inactive, QPalette::WindowText,
                system.color(QPalette::Inactive, QPalette::Text));
  box->setPalette(look);
}

void frmNumberEntry::ShowTicketNumber(const QString& text) {
  ShowFittingText(lblticketnumber, text);
}

void frmNumberEntry::SetEmptyTicket() {
  for (int k = 1; k <= kFieldCount; ++k)
    mField[static_cast<std::size_t>(k)] = kEmptyField;
  ShowTicketText();
}

void frmNumberEntry::ShowTicketText() {
  QString text = mField[1];
  for (int k = 2; k <= kFieldCount; ++k)
    text += QLatin1Char('-') + mField[static_cast<std::size_t>(k)];
  Label1->setText(text);
}

void frmNumberEntry::cmdClear_Click() {
  // A counter of its own: each box cleared runs the handler, which may run gIdx from 1 to 59.
  for (int box = 1; box <= kBoxCount; ++box)
    ck01[static_cast<std::size_t>(box)]->setChecked(false);
  gPickedCount = 0;
  gPickLimit = kPicksPerTicket;
  SetEmptyTicket();
}
