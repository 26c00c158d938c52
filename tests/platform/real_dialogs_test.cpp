// The real message box and file dialog, run off screen and driven while they wait for an answer.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>
#include <vector>

#include "platform/Clipboard.h"
#include "platform/FileDialog.h"
#include "platform/Messages.h"
#include "platform/doubles/ScopedMessages.h"

namespace {

using platform::MessageAnswer;
using platform::MessageButtons;
using Step = std::function<void(QWidget& modal)>;

// Runs each step on the modal window that waits for an answer, one step per time a window waits.
void WhileModal(std::vector<Step> steps) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, steps, next = std::size_t{0}]() mutable {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
      return;
    steps[next++](*modal);
    if (next == steps.size()) {
      poll->stop();
      poll->deleteLater();
    }
  });
  poll->start(0);
}

void PressKey(QWidget& modal, Qt::Key key) {
  QTest::keyClick(&modal, key);
}

// As the window manager's close button does: a close request to the window, not to the widget.
void CloseFromTitleBar(QWidget& modal) {
  QCloseEvent close;
  QCoreApplication::sendEvent(modal.windowHandle(), &close);
}

Step Click(QMessageBox::StandardButton which) {
  return [which](QWidget& modal) {
    auto* box = qobject_cast<QMessageBox*>(&modal);
    ASSERT_NE(box, nullptr);
    ASSERT_NE(box->button(which), nullptr);
    box->button(which)->click();
  };
}

struct BoxCase {
  const char* name;
  MessageButtons buttons;
  Step act;
  MessageAnswer expected;
};

void PrintTo(const BoxCase& c, std::ostream* out) {
  *out << c.name;
}

const Step kEnter = [](QWidget& modal) { PressKey(modal, Qt::Key_Return); };
const Step kEscape = [](QWidget& modal) { PressKey(modal, Qt::Key_Escape); };
const Step kClosed = CloseFromTitleBar;

class MessageBoxTest : public testing::TestWithParam<BoxCase> {};

TEST_P(MessageBoxTest, EachWayOfAnsweringGivesItsAnswer) {
  const BoxCase& c = GetParam();
  const platform::MessageRequest request{QStringLiteral("<b>Tickets & numbers</b>"),
                                         QStringLiteral("Title"), platform::MessageIcon::Warning,
                                         c.buttons};
  QString shownText;
  QString shownTitle;
  WhileModal({[&](QWidget& modal) {
    auto* box = qobject_cast<QMessageBox*>(&modal);
    ASSERT_NE(box, nullptr);
    shownText = box->text();
    shownTitle = box->windowTitle();
    EXPECT_EQ(box->textFormat(), Qt::PlainText) << "the text is shown as written, never as markup";
    c.act(modal);
  }});
  EXPECT_EQ(platform::Messages::Real().Answer(nullptr, request), c.expected);
  EXPECT_EQ(shownText, request.text);
  EXPECT_EQ(shownTitle, request.title);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, MessageBoxTest,
    testing::Values(
        BoxCase{"okClicked", MessageButtons::Ok, Click(QMessageBox::Ok), MessageAnswer::Ok},
        BoxCase{"okEnter", MessageButtons::Ok, kEnter, MessageAnswer::Ok},
        BoxCase{"okEscape", MessageButtons::Ok, kEscape, MessageAnswer::Ok},
        BoxCase{"okClosed", MessageButtons::Ok, kClosed, MessageAnswer::Ok},
        BoxCase{"yesNoYes", MessageButtons::YesNo, Click(QMessageBox::Yes), MessageAnswer::Yes},
        BoxCase{"yesNoNo", MessageButtons::YesNo, Click(QMessageBox::No), MessageAnswer::No},
        BoxCase{"yesNoEnterIsYes", MessageButtons::YesNo, kEnter, MessageAnswer::Yes},
        BoxCase{"yesNoEscape", MessageButtons::YesNo, kEscape, MessageAnswer::No},
        BoxCase{"yesNoClosed", MessageButtons::YesNo, kClosed, MessageAnswer::No},
        BoxCase{"threeYes", MessageButtons::YesNoCancel, Click(QMessageBox::Yes),
                MessageAnswer::Yes},
        BoxCase{"threeNo", MessageButtons::YesNoCancel, Click(QMessageBox::No), MessageAnswer::No},
        BoxCase{"threeCancel", MessageButtons::YesNoCancel, Click(QMessageBox::Cancel),
                MessageAnswer::Cancel},
        BoxCase{"threeEnterIsYes", MessageButtons::YesNoCancel, kEnter, MessageAnswer::Yes},
        BoxCase{"threeEscape", MessageButtons::YesNoCancel, kEscape, MessageAnswer::Cancel},
        BoxCase{"threeClosed", MessageButtons::YesNoCancel, kClosed, MessageAnswer::Cancel}),
    [](const testing::TestParamInfo<BoxCase>& info) { return info.param.name; });

platform::FileDialogRequest DataFileRequest(platform::FileDialogKind kind) {
  platform::FileDialogRequest request;
  request.kind = kind;
  request.title = QStringLiteral("Data File");
  request.filter = {QStringLiteral("Pelmora Files (*.PMD)"), QStringLiteral("*.PMD")};
  return request;
}

TEST(FileDialogTest, CancelledDialogGivesNoPath) {
  for (const auto kind : {platform::FileDialogKind::Open, platform::FileDialogKind::Save}) {
    for (const Step& cancel : {kEscape, kClosed}) {
      WhileModal({cancel});
      EXPECT_TRUE(platform::FileDialog::Real().Answer(nullptr, DataFileRequest(kind)).isEmpty());
    }
  }
}

// Saving under a new name asks first; a No leaves the dialog open for another name.
TEST(FileDialogTest, NewNameRefusedAtTheQuestionKeepsTheDialogOpen) {
  QTemporaryDir folder;
  ASSERT_TRUE(folder.isValid());
  const QString fresh = folder.filePath(QStringLiteral("fresh.pmd"));
  platform::FileDialogRequest request = DataFileRequest(platform::FileDialogKind::Save);
  request.confirmCreate = true;
  platform::ScopedMessages messages({MessageAnswer::No, MessageAnswer::Yes});

  auto choose = [&fresh](QWidget& modal) {
    auto* dialog = qobject_cast<QFileDialog*>(&modal);
    ASSERT_NE(dialog, nullptr);
    dialog->selectFile(fresh);
    static_cast<QDialog*>(dialog)->accept();  // as the Save button does
  };
  WhileModal({choose, kEscape});
  EXPECT_TRUE(platform::FileDialog::Real().Answer(nullptr, request).isEmpty());
  WhileModal({choose});
  EXPECT_EQ(platform::FileDialog::Real().Answer(nullptr, request), fresh);

  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].request.text, fresh + " does not exist.\nDo you want to create it?");
  EXPECT_EQ(messages.shown[0].request.buttons, MessageButtons::YesNo);
}

// Text given to the clipboard as UTF-8 is the same text to whoever reads it, as with a QString.
TEST(ClipboardTest, Utf8TextReadsBackAsWritten) {
  const QString text = QString::fromUtf8("Matched: (3) in:05-12-23-01-02-03\r\nZ\u00FCrich \u20AC");
  platform::Clipboard::Real().WriteUtf8(text.toUtf8());
  EXPECT_EQ(QGuiApplication::clipboard()->text(), text);
  platform::Clipboard::Real().Empty();
}

}  // namespace
