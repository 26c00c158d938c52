#include "ui/other/frmAllNumbers.h"

#include <QKeyEvent>
#include <QPushButton>

#include "app/Session.h"
#include "platform/WindowFrame.h"
#include "store/TicketFile.h"
#include "ui/widgets/PlayListModel.h"
#include "ui/widgets/PlayListView.h"
#include "ui/widgets/Twips.h"
#include "ui/widgets/WindowPlacement.h"

frmAllNumbers::frmAllNumbers(const Session& session, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      session_(session) {
  setObjectName("frmAllNumbers");
  setWindowTitle(QStringLiteral("VORDANIK Pelmora - All Numbers"));
  setFixedSize(TwipsToPixels(4575), TwipsToPixels(2580));

  tickets_ = new PlayListModel(/*checkable=*/false, this);
  lstNumbers = new PlayListView(tickets_, TwipsRect(120, 120, 4335, 2010), this);
  lstNumbers->setObjectName("lstNumbers");
  lstNumbers->setAccessibleName(tr("All saved play numbers"));

  cmdCancel = new QPushButton(QStringLiteral("&Cancel"), this);
  cmdCancel->setObjectName("cmdCancel");
  cmdCancel->setGeometry(TwipsRect(1560, 2160, 1215, 375));
  cmdCancel->setAutoDefault(false);
  connect(cmdCancel, &QPushButton::clicked, this, &frmAllNumbers::cmdCancel_Click);

  QWidget::setTabOrder(lstNumbers, cmdCancel);
  platform::UseTitleBarOnly(this);
}

void frmAllNumbers::Form_Load() {
  if (parentWidget())
    setWindowIcon(parentWidget()->windowIcon());
  store::TicketList list = store::ReadAllTickets(session_.dataFile);
  tickets_->SetTickets(std::move(list.tickets));

  CentreOnScreen(this);
  lstNumbers->setFocus(Qt::OtherFocusReason);
}

void frmAllNumbers::cmdCancel_Click() {
  hide();
  deleteLater();
  // The entry dialog takes input again; it should also have the focus.
  if (QWidget* entry = parentWidget()) {
    entry->raise();
    entry->activateWindow();
  }
}

void frmAllNumbers::reject() {
  cmdCancel->click();
}

void frmAllNumbers::keyPressEvent(QKeyEvent* event) {
  // Enter presses the focused button; it is never a default button.
  Qt::KeyboardModifiers modifiers = event->modifiers();
  modifiers.setFlag(Qt::KeypadModifier, false);
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && modifiers == Qt::NoModifier && focusWidget() == cmdCancel) {
    cmdCancel->click();
    return;
  }
  QDialog::keyPressEvent(event);
}
