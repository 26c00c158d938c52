#include "UiFixture.h"

#include <QCoreApplication>
#include <QEvent>
#include <fstream>
#include <sstream>

#include "store/TicketFile.h"
#include "ui/main/ResultsBox.h"

void UiTest::SetUp() {
  ASSERT_TRUE(folder_.isValid());
  programFolder_ = folder_.path().toStdString();
  modPelmora::SetAppTitle(QString::fromLatin1(modPelmora::kProductName));
}

void UiTest::TearDown() {
  main_.reset();
  Flush();
  // Every window a test opened must be gone again.
  for (QWidget* w : QApplication::topLevelWidgets()) {
    EXPECT_FALSE(w->isVisible()) << "window left open: " << w->objectName().toStdString();
  }
  for (const platform::MessageRequest& asked : desktop_.messages.unexpected)
    ADD_FAILURE() << "question with no answer queued: " << asked.text.toStdString();
}

void UiTest::WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string UiTest::ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string UiTest::DataFilePath() const {
  return PathIn("pelmora.pmd");
}

std::string UiTest::PathIn(const std::string& name) const {
  return folder_.path().toStdString() + "/" + name;
}

void UiTest::WriteDataFile(const std::string& bytes) {
  WriteFile(DataFilePath(), bytes);
}

std::string UiTest::ReadDataFile() const {
  return ReadFile(DataFilePath());
}

frmNumberChecker& UiTest::StartProgram(const QString& fileFromOutside) {
  main_ = std::make_unique<frmNumberChecker>();
  main_->Form_Load(fileFromOutside, programFolder_);
  main_->show();
  return *main_;
}

void UiTest::ReplaceTickets(const std::vector<std::string>& tickets) {
  ASSERT_TRUE(store::RewriteTickets(CurrentFile(), tickets).has_value());
  main_->controller().ReloadFromFile();
}

QString ResultsText(const QWidget& main) {
  return Named<ResultsBox>(main, "txtMatchedTickets")->toPlainText().replace('\n', "\r\n");
}

void TypeResults(const QWidget& main, const QString& text) {
  Named<ResultsBox>(main, "txtMatchedTickets")->setPlainText(text);
}

void UiTest::Flush() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::string TicketFileText(const std::vector<std::string>& tickets, const std::string& winning) {
  std::string bytes =
      "[Numbers]\r\nTOTAL=" + std::to_string(tickets.size()) + "\r\nW=" + winning + "\r\n";
  for (std::size_t i = 0; i < tickets.size(); ++i)
    bytes += std::to_string(i + 1) + "=" + tickets[i] + "\r\n";
  return bytes;
}
