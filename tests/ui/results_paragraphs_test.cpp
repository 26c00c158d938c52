// The check's results share paragraphs of the results box's document. Everything a person or a
// screen reader gets from the box must read as it did with a paragraph per line: the reference
// here is a plain text box given the same text, a paragraph per line.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <string>
#include <vector>

#include "app/FileText.h"
#include "ui/main/ResultsBox.h"

namespace {

std::string ResultLines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += "Matched: (" + std::to_string(3 + i % 4) + ") in:05-12-23-" +
            std::to_string(10 + i % 50) + "-02-03. Again\r\n";
  return text;
}

QString AsParagraphs(const std::string& bytes) {
  QString text = modPelmora::FileText(bytes);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

// The check hands its text over in pieces of whole lines.
void Fill(ResultsBox& box, const std::string& text, std::size_t linesPerPiece) {
  box.BeginResults();
  std::size_t from = 0;
  while (from < text.size()) {
    std::size_t to = from;
    for (std::size_t n = 0; n < linesPerPiece && to < text.size(); ++n)
      to = text.find('\n', to) + 1;
    box.AppendResults(std::string_view(text).substr(from, to - from));
    from = to;
  }
  box.EndResults();
}

template <typename Box>
void ShowAlike(Box& box) {
  box.resize(290, 130);
  box.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
}

struct Answer {
  QString text;
  int start = 0;
  int end = 0;
  bool operator==(const Answer&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Answer& a) {
  return out << '"' << a.text.toStdString() << "\" " << a.start << ".." << a.end;
}

struct Pair {
  QAccessibleTextInterface* ours;
  QAccessibleTextInterface* reference;
};

template <typename Ask>
void ExpectSame(const Pair& text, int offset, const char* what, Ask ask) {
  Answer ours, reference;
  ours.text = ask(text.ours, &ours.start, &ours.end);
  reference.text = ask(text.reference, &reference.start, &reference.end);
  EXPECT_EQ(ours, reference) << what << " at offset " << offset;
}

class ResultsParagraphsTest : public ::testing::TestWithParam<int> {};

TEST_P(ResultsParagraphsTest, BoxReadsAsAParagraphPerLine) {
  const std::string bytes = ResultLines(GetParam());
  ResultsBox box;
  QPlainTextEdit reference;
  reference.setFont(box.font());
  Fill(box, bytes, 7);
  reference.setPlainText(AsParagraphs(bytes));
  ShowAlike(box);
  ShowAlike(reference);

  EXPECT_EQ(box.toPlainText(), reference.toPlainText());
  EXPECT_EQ(box.CrLfUtf8(), QByteArray::fromStdString(bytes));
  EXPECT_EQ(box.textCursor().position(), 0);
  EXPECT_EQ(box.verticalScrollBar()->maximum(), reference.verticalScrollBar()->maximum());
  box.moveCursor(QTextCursor::End);
  reference.moveCursor(QTextCursor::End);
  // Where a paragraph of several lines ends the text, the box may come to rest a line lower.
  EXPECT_TRUE(box.viewport()->rect().contains(box.cursorRect()));
  EXPECT_NEAR(box.verticalScrollBar()->value(), reference.verticalScrollBar()->value(), 1);
  EXPECT_EQ(box.verticalScrollBar()->maximum(), reference.verticalScrollBar()->maximum());

  const Pair text{QAccessible::queryAccessibleInterface(&box)->textInterface(),
                  QAccessible::queryAccessibleInterface(&reference)->textInterface()};
  ASSERT_NE(text.ours, nullptr);
  const int count = text.reference->characterCount();
  ASSERT_EQ(text.ours->characterCount(), count);
  EXPECT_EQ(text.ours->text(0, count), text.reference->text(0, count));
  using B = QAccessible::TextBoundaryType;
  for (int offset = 0; offset <= count; ++offset) {
    for (const B type :
         {QAccessible::CharBoundary, QAccessible::WordBoundary, QAccessible::SentenceBoundary,
          QAccessible::ParagraphBoundary, QAccessible::LineBoundary}) {
      ExpectSame(text, offset, "at", [&](QAccessibleTextInterface* t, int* s, int* e) {
        return t->textAtOffset(offset, type, s, e);
      });
      ExpectSame(text, offset, "before", [&](QAccessibleTextInterface* t, int* s, int* e) {
        return t->textBeforeOffset(offset, type, s, e);
      });
      ExpectSame(text, offset, "after", [&](QAccessibleTextInterface* t, int* s, int* e) {
        return t->textAfterOffset(offset, type, s, e);
      });
    }
    ExpectSame(text, offset, "attributes", [&](QAccessibleTextInterface* t, int* s, int* e) {
      return t->attributes(offset, s, e);
    });
  }
}

INSTANTIATE_TEST_SUITE_P(LineCounts, ResultsParagraphsTest, ::testing::Values(1, 16, 17, 40));

// Valid UTF-8 is read as UTF-8 only where the whole text is; the pieces before the first byte
// beyond ASCII do not decide it.
TEST(ResultsFillTest, TextBeyondAsciiIsReadAsTheWholeWouldBe) {
  const std::string ascii = ResultLines(20);
  const struct {
    const char* name;
    std::string text;
  } cases[] = {
      {"UTF-8 after ASCII", ascii + "Matched: (3) in:Z\xc3\xbcrich\r\n" + ascii},
      {"Windows-1252 after ASCII", ascii + "Matched: (3) in:Z\xfcrich\r\n" + ascii},
      {"UTF-8, then a byte that is not", ascii + "in:\xc3\xbc\r\n" + ascii + "in:\xfc\r\n"},
  };
  for (const auto& c : cases) {
    ResultsBox box;
    Fill(box, c.text, 3);
    EXPECT_EQ(box.toPlainText(), AsParagraphs(c.text)) << c.name;
  }
}

TEST(ResultsFillTest, ThirdClickSelectsTheLineUnderIt) {
  const std::string bytes = ResultLines(12);
  ResultsBox box;
  Fill(box, bytes, 12);
  ShowAlike(box);
  QTextCursor third(box.document());
  third.setPosition(static_cast<int>(AsParagraphs(bytes).indexOf(QStringLiteral("-12-02"))));
  const QPoint at = box.cursorRect(third).center();
  QTest::mouseDClick(box.viewport(), Qt::LeftButton, {}, at);
  QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, at);
  EXPECT_EQ(box.textCursor().selectedText(),
            QStringLiteral("Matched: (5) in:05-12-23-12-02-03. Again"));
}

}  // namespace
