#include "cli/ExportCsv.h"

#include "store/PlayNumber.h"

namespace cli {

namespace {

void AppendCsvField(std::string& text, std::string_view field) {
  // A field edited outside the program may hold anything; quote what would break the row.
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    text.append(field);
    return;
  }
  text.push_back('"');
  for (const char c : field) {
    if (c == '"') {
      text.push_back('"');
    }
    text.push_back(c);
  }
  text.push_back('"');
}

}  // namespace

std::string ExportCsv(const store::TicketTexts& tickets) {
  std::string text = "n1,n2,n3,n4,n5,n6\n";
  text.reserve(text.size() + tickets.size() * 18);
  for (const std::string_view ticket : tickets) {
    for (int k = 1; k <= store::kNumbersPerTicket; ++k) {
      if (k > 1) {
        text.push_back(',');
      }
      AppendCsvField(text, store::PlayNumberField(ticket, k));
    }
    text.push_back('\n');
  }
  return text;
}

}  // namespace cli
