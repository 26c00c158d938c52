#include "cli/ExportCsv.h"

#include "store/PlayNumber.h"
#include "store/TextUtil.h"

namespace cli {

namespace {

bool IsTwoDigits(std::string_view field) {
  return field.size() == 2 && field[0] >= '0' && field[0] <= '9' && field[1] >= '0' &&
         field[1] <= '9';
}

}  // namespace

std::string ExportCsv(const store::TicketTexts& tickets, std::size_t* odd) {
  std::string text = "n1,n2,n3,n4,n5,n6\n";
  std::size_t oddTickets = 0;
  text.reserve(text.size() + tickets.size() * 18);
  for (const std::string_view ticket : tickets) {
    bool plain = ticket.size() == 17;
    for (int k = 1; k <= store::kNumbersPerTicket; ++k) {
      if (k > 1) {
        text.push_back(',');
        plain = plain && ticket[static_cast<std::size_t>(3 * k - 4)] == '-';
      }
      const std::string_view field = store::PlayNumberField(ticket, k);
      // A field edited outside the program may hold anything: anything but two digits is quoted,
      // so that it is read back as text and never as another number ("-0") or as more fields.
      if (IsTwoDigits(field)) {
        text.append(field);
      } else {
        plain = false;
        text += store::CsvField(field, {});
      }
    }
    oddTickets += plain ? 0 : 1;
    text.push_back('\n');
  }
  if (odd != nullptr) {
    *odd = oddTickets;
  }
  return text;
}

}  // namespace cli
