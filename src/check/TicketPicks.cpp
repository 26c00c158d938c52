#include "check/TicketPicks.h"

#include <optional>

#include "store/CountConversion.h"

namespace check {
namespace {

// A field compares by its numeric value, converted as the stored count is: "05" and "5" hold 5,
// "00" and "0" are empty. Text that is not a number (only a winning number edited outside the
// program holds such) has no value.
std::optional<int> FieldValue(const std::string& text) {
  const store::CountResult value = store::ConvertCount(text);
  if (!value)
    return std::nullopt;
  return *value;
}

// A field without a number counts as empty, so a pick replaces text that names no box.
bool FieldIsEmpty(const std::string& field) {
  const std::optional<int> value = FieldValue(field);
  return !value || *value == 0;
}

bool OnGrid(int n) {
  return n >= store::kLowestNumber && n <= store::kHighestNumber;
}

}  // namespace

void TicketPicks::Clear() {
  picked_.fill(false);
  count_ = 0;
  fields_.fill(std::string(store::kEmptyField));
}

void TicketPicks::StartFrom(const store::PlayFields& fields) {
  Clear();
  fields_ = fields;
  PadFields();
}

bool TicketPicks::IsPicked(int n) const {
  return OnGrid(n) && picked_[static_cast<std::size_t>(n - 1)];
}

bool TicketPicks::Pick(int n) {
  if (!OnGrid(n) || IsPicked(n))
    return false;
  picked_[static_cast<std::size_t>(n - 1)] = true;
  ++count_;
  bool placed = false;
  for (const std::string& field : fields_)
    placed = placed || FieldValue(field) == n;
  for (std::string& field : fields_) {
    if (placed)
      break;
    if (FieldIsEmpty(field)) {
      field = std::to_string(n);
      placed = true;
    }
  }
  PadFields();
  return true;
}

bool TicketPicks::Unpick(int n) {
  if (!IsPicked(n))
    return false;
  picked_[static_cast<std::size_t>(n - 1)] = false;
  --count_;
  // Every field holding the number empties, also past a field that is no number; the fields keep
  // their places.
  for (std::string& field : fields_) {
    if (FieldValue(field) == n)
      field = std::string(store::kEmptyField);
  }
  return true;
}

void TicketPicks::PadFields() {
  // Two characters per field keep the six-field form; an empty text (a short stored winning
  // number) becomes "00", which the winning number's Done refuses as an empty position.
  for (std::string& field : fields_) {
    while (field.size() < 2)
      field.insert(field.begin(), '0');
  }
}

}  // namespace check
