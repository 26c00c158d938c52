// Fuzzes the INI document of the data file.
//
// The input is a document, ended by a backslash followed by any other byte ("\\" stands for one
// backslash), and then a script of reads, writes and deletes. The document under test is checked
// against a deliberately naive reading of the same rules that keeps, for every section and key,
// the values of its lines in file order:
//  - any bytes parse, and print back unchanged when nothing was changed;
//  - no read returns more than 126 characters;
//  - every read agrees with the naive model, and so with what was written: trimmed and cut;
//  - the document's own bytes, read again, give the same model and the same reads (its indexes
//    never drift from its text);
//  - lines that no operation addressed stay byte for byte, in order;
//  - the one-pass read of all tickets gives what reading the count, the winning number and each
//    ticket key on its own gives.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/CountConversion.h"
#include "store/ProfileDocument.h"
#include "store/TicketFile.h"

#define FUZZ_CHECK(condition)                                                     \
  do {                                                                            \
    if (!(condition)) {                                                           \
      std::fprintf(stderr, "fuzz_profile: %s (line %d)\n", #condition, __LINE__); \
      std::abort();                                                               \
    }                                                                             \
  } while (false)

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::size_t kMaxRead = 126;
constexpr int kMaxOperations = 48;

// ---- The naive model --------------------------------------------------------------------

std::string Trim(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) {
    ++begin;
  }
  while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) {
    --end;
  }
  return std::string(text.substr(begin, end - begin));
}

// A value as read: trimmed, and one pair of matching quotes around it dropped.
std::string ReadValue(std::string_view text) {
  std::string value = Trim(text);
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
    value = value.substr(1, value.size() - 2);
  }
  return value;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return lower;
}

// A name as the file compares it: trimmed, ASCII letters folded.
std::string NameKey(std::string_view name) {
  return Lower(Trim(name));
}

struct TextLine {
  std::string text;
  std::string eol;  // "", "\r\n", "\n" or "\r"
};

std::vector<TextLine> SplitLines(std::string_view bytes) {
  std::vector<TextLine> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] != '\r' && bytes[i] != '\n') {
      continue;
    }
    std::string eol = "\n";
    if (bytes[i] == '\r') {
      eol = (i + 1 < bytes.size() && bytes[i + 1] == '\n') ? "\r\n" : "\r";
    }
    lines.push_back({std::string(bytes.substr(start, i - start)), eol});
    i += eol.size() - 1;
    start = i + 1;
  }
  if (start < bytes.size()) {
    lines.push_back({std::string(bytes.substr(start)), ""});
  }
  return lines;
}

struct LineKind {
  enum Kind { Blank, Comment, Header, Key, Other } kind = Other;
  std::string name;   // header or key name, untrimmed
  std::string value;  // key value, untrimmed
};

LineKind ClassifyLine(const std::string& text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string::npos) {
    return {LineKind::Blank, {}, {}};
  }
  if (text[start] == ';') {
    return {LineKind::Comment, {}, {}};
  }
  if (text[start] == '[') {
    const std::size_t close = text.rfind(']');
    if (close == std::string::npos || close < start) {
      return {LineKind::Other, {}, {}};
    }
    return {LineKind::Header, text.substr(start + 1, close - start - 1), {}};
  }
  const std::size_t equals = text.find('=');
  if (equals == std::string::npos) {
    return {LineKind::Other, {}, {}};
  }
  return {LineKind::Key, text.substr(0, equals), text.substr(equals + 1)};
}

// Section -> key -> its lines in file order, the first one being the one read; each line with
// its name as spelled there (trimmed) and its raw value. A section keeps its spelling too.
struct KeyLine {
  std::string name;
  std::string value;
  bool operator==(const KeyLine&) const = default;
};
struct SectionModel {
  std::string name;
  std::map<std::string, std::deque<KeyLine>> keys;
  bool operator==(const SectionModel&) const = default;
};
using Model = std::map<std::string, SectionModel>;
using Address = std::pair<std::string, std::string>;  // section and key, as NameKey gives them

struct Reading {
  bool bom = false;
  std::vector<TextLine> lines;
  std::vector<std::optional<Address>> keyOf;  // set for the key lines that reads can reach
  Model model;
  std::vector<std::string> sectionNames;  // raw, for the operations to pick from
  std::vector<std::string> keyNames;
};

Reading Read(std::string_view bytes) {
  Reading reading;
  reading.bom = bytes.substr(0, kBom.size()) == kBom;
  if (reading.bom) {
    bytes.remove_prefix(kBom.size());
  }
  reading.lines = SplitLines(bytes);
  std::optional<std::string> current;
  for (const TextLine& line : reading.lines) {
    std::optional<Address> address;
    const LineKind kind = ClassifyLine(line.text);
    if (kind.kind == LineKind::Header) {
      // Only the first section of a name is ever read or written.
      const std::string name = NameKey(kind.name);
      current.reset();
      if (reading.model.find(name) == reading.model.end()) {
        reading.model[name].name = Trim(kind.name);
        current = name;
      }
      reading.sectionNames.push_back(kind.name);
    } else if (kind.kind == LineKind::Key) {
      if (current) {
        address = Address{*current, NameKey(kind.name)};
        reading.model[*current].keys[address->second].push_back({Trim(kind.name), kind.value});
      }
      reading.keyNames.push_back(kind.name);
    }
    reading.keyOf.push_back(address);
  }
  return reading;
}

std::string ModelGet(const Model& model, std::string_view section, std::string_view key) {
  const auto s = model.find(NameKey(section));
  if (s == model.end()) {
    return {};
  }
  const auto k = s->second.keys.find(NameKey(key));
  if (k == s->second.keys.end() || k->second.empty()) {
    return {};
  }
  return ReadValue(k->second.front().value).substr(0, kMaxRead);
}

bool ModelHas(const Model& model, std::string_view section, std::string_view key) {
  const auto s = model.find(NameKey(section));
  if (s == model.end()) {
    return false;
  }
  const auto k = s->second.keys.find(NameKey(key));
  return k != s->second.keys.end() && !k->second.empty();
}

// A model without the names whose lines have all been deleted, for comparing with a fresh read.
Model Pruned(Model model) {
  for (auto& [name, section] : model) {
    std::erase_if(section.keys, [](const auto& entry) { return entry.second.empty(); });
  }
  return model;
}

// ---- The operation script -----------------------------------------------------------------

class Script {
 public:
  Script(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool AtEnd() const { return pos_ >= size_; }
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }

  // Bytes up to a backslash followed by anything but a backslash; "\\" is one backslash.
  std::string Text(std::size_t maxLength) {
    std::string text;
    while (pos_ < size_ && text.size() < maxLength) {
      char c = static_cast<char>(data_[pos_++]);
      if (c == '\\' && pos_ < size_) {
        c = static_cast<char>(data_[pos_++]);
        if (c != '\\') {
          break;
        }
      }
      text.push_back(c);
    }
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// Makes a name or value something the program can write, so that it must read back.
std::string WritableValue(std::string text) {
  std::erase_if(text, [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
  return text;
}

std::string WritableSection(std::string text) {
  return WritableValue(std::move(text));
}

std::string WritableKey(std::string text) {
  text = WritableValue(std::move(text));
  std::erase(text, '=');
  const std::string trimmed = Trim(text);
  if (!trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '[')) {
    text.insert(text.begin(), 'k');
  }
  return text;
}

std::string ChangeCase(std::string name, std::uint8_t how) {
  for (char& c : name) {
    if ((how & 3) == 1 && c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    } else if ((how & 3) == 2 && c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
  }
  return name;
}

std::string PickName(Script& script, const std::vector<std::string>& names) {
  const std::uint8_t choice = script.Byte();
  if (choice % (names.size() + 1) == names.size()) {
    return script.Text(24);
  }
  return ChangeCase(names[choice % (names.size() + 1)], script.Byte());
}

void CheckReads(const store::ProfileDocument& doc, const std::string& bytes, const Model& model,
                const std::vector<std::string>& sections, const std::vector<std::string>& keys) {
  for (const std::string& section : sections) {
    for (const std::string& key : keys) {
      const std::string value = doc.Get(section, key);
      FUZZ_CHECK(value.size() <= kMaxRead);
      FUZZ_CHECK(value == ModelGet(model, section, key));
      FUZZ_CHECK(value == store::ProfileDocument::Lookup(bytes, section, key));
      FUZZ_CHECK(doc.HasKey(section, key) == ModelHas(model, section, key));
    }
  }
}

// Reading all tickets in one pass takes the usual ticket line by a shorter way than other lines;
// every ticket must still be what a read of its own key gives.
void CheckTicketList(const std::string& bytes, const Model& model) {
  const store::TicketList list = store::ParseTickets(std::string(bytes));
  const std::string countText = ModelGet(model, "Numbers", "TOTAL");
  FUZZ_CHECK(list.countText == countText);
  FUZZ_CHECK(list.winning == ModelGet(model, "Numbers", "W"));
  const store::CountResult count = store::ConvertCount(countText);
  FUZZ_CHECK(list.tickets.size() == (count && *count > 0 ? static_cast<std::size_t>(*count) : 0));
  for (std::size_t i = 0; i < list.tickets.size(); ++i) {
    FUZZ_CHECK(list.tickets[i] == ModelGet(model, "Numbers", std::to_string(i + 1)));
  }
}

// The lines of the input that no operation addressed must come out unchanged and in order.
// Two endings may change: a last line without one gets CR LF when a line is added after it, and
// a line ending in a bare CR that, once the lines after it are deleted, meets an empty LF-ended
// line merges with it into one CR LF ending (which is how those bytes read again).
void CheckUntouchedLines(const Reading& before, const std::string& after,
                         const std::set<Address>& touched, const std::set<std::string>& touchedKeys,
                         const std::set<std::string>& createdSections) {
  const Reading out = Read(after);
  FUZZ_CHECK(out.bom == before.bom);
  const auto addressed = [&](std::size_t i) {
    return before.keyOf[i] && touched.count(*before.keyOf[i]) > 0;
  };
  const auto mayBeAdded = [&](const TextLine& line) {
    const LineKind kind = ClassifyLine(line.text);
    if (kind.kind == LineKind::Header) {
      return createdSections.count(NameKey(kind.name)) > 0;
    }
    return kind.kind == LineKind::Key && touchedKeys.count(NameKey(kind.name)) > 0;
  };
  std::vector<bool> matched(out.lines.size(), false);
  std::size_t next = 0;
  bool expectMergedEmptyLine = false;
  int optionalBlanks = 0;
  for (std::size_t i = 0; i < before.lines.size(); ++i) {
    if (addressed(i)) {
      continue;
    }
    const TextLine& line = before.lines[i];
    const bool emptyLf = line.text.empty() && line.eol == "\n";
    if (expectMergedEmptyLine) {
      expectMergedEmptyLine = false;
      FUZZ_CHECK(emptyLf);
      continue;
    }
    bool mayBeMerged = false;
    for (std::size_t j = i; emptyLf && j > 0 && addressed(j - 1); --j) {
      mayBeMerged = mayBeMerged || before.lines[j - 1].eol == "\r";
    }
    if (mayBeMerged) {
      // Merged into the CR before it, or still there: which one, only the blank lines left over
      // at the end can tell (two blank lines in a row may keep either).
      ++optionalBlanks;
      continue;
    }
    // The same text, ended the same way or by a CR LF that took in the empty line after it.
    const auto fits = [&line](const TextLine& at) {
      return at.text == line.text &&
             (at.eol == line.eol || (at.eol == "\r\n" && (line.eol.empty() || line.eol == "\r")));
    };
    while (next < out.lines.size() && !fits(out.lines[next])) {
      ++next;
    }
    FUZZ_CHECK(next < out.lines.size());
    if (out.lines[next].eol != line.eol) {
      expectMergedEmptyLine = line.eol == "\r";
    }
    matched[next++] = true;
  }
  FUZZ_CHECK(!expectMergedEmptyLine);
  for (std::size_t i = 0; i < out.lines.size(); ++i) {
    const bool leftBlank = out.lines[i].text.empty() && out.lines[i].eol == "\n";
    FUZZ_CHECK(matched[i] || mayBeAdded(out.lines[i]) || (leftBlank && optionalBlanks-- > 0));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Script script(data, size);
  const std::string input = script.Text(size);
  const Reading original = Read(input);

  store::ProfileDocument doc = store::ProfileDocument::Parse(input);
  FUZZ_CHECK(doc.Serialize() == input);
  FUZZ_CHECK(!doc.IsModified());

  std::vector<std::string> sections = {"Numbers", "numbers", " NUMBERS ", "Other", ""};
  std::vector<std::string> keys = {"TOTAL", "Total", "W", "1", "2", "10", " 3 ", ""};
  for (std::size_t i = 0; i < original.sectionNames.size() && i < 6; ++i) {
    sections.push_back(original.sectionNames[i]);
  }
  for (std::size_t i = 0; i < original.keyNames.size() && i < 12; ++i) {
    keys.push_back(original.keyNames[i]);
  }
  CheckReads(doc, input, original.model, sections, keys);
  CheckTicketList(input, original.model);

  Model model = original.model;
  std::set<Address> touched;
  std::set<std::string> touchedKeys;
  std::set<std::string> createdSections;
  for (int step = 0; step < kMaxOperations && !script.AtEnd(); ++step) {
    const std::uint8_t operation = script.Byte() % 4;
    std::string section = PickName(script, sections);
    std::string key = PickName(script, keys);
    if (operation == 0) {
      const std::string value = doc.Get(section, key);
      FUZZ_CHECK(value.size() <= kMaxRead);
      FUZZ_CHECK(value == ModelGet(model, section, key));
    } else if (operation == 1) {
      section = WritableSection(std::move(section));
      key = WritableKey(std::move(key));
      const std::string value = WritableValue(script.Text(300));
      FUZZ_CHECK(store::ProfileDocument::RejectReason(section, key, value).empty());
      doc.Set(section, key, value);
      const Address address{NameKey(section), NameKey(key)};
      if (!model.count(address.first)) {
        createdSections.insert(address.first);
        model[address.first].name = Trim(section);
      }
      // A new line has the spelling of this write; an existing one keeps its own.
      std::deque<KeyLine>& lines = model[address.first].keys[address.second];
      if (lines.empty()) {
        lines.push_back({Trim(key), value});
      } else {
        lines.front().value = value;
      }
      touched.insert(address);
      touchedKeys.insert(address.second);
      FUZZ_CHECK(doc.Get(section, key) == ReadValue(value).substr(0, kMaxRead));
      FUZZ_CHECK(doc.HasKey(section, key));
    } else if (operation == 2) {
      const bool had = doc.HasKey(section, key);
      FUZZ_CHECK(doc.Delete(section, key) == had);
      const Address address{NameKey(section), NameKey(key)};
      if (const auto s = model.find(address.first); s != model.end()) {
        if (const auto k = s->second.keys.find(address.second); k != s->second.keys.end()) {
          FUZZ_CHECK(had == !k->second.empty());
          if (!k->second.empty()) {
            k->second.pop_front();
          }
        }
      }
      touched.insert(address);
      touchedKeys.insert(address.second);
      FUZZ_CHECK(doc.Get(section, key) == ModelGet(model, section, key));
    } else {
      // Whatever the names hold: a write the document refuses must change nothing.
      const std::string value = script.Text(40);
      if (!store::ProfileDocument::RejectReason(section, key, value).empty()) {
        const std::string bytes = doc.Serialize();
        doc.Set(section, key, value);
        FUZZ_CHECK(doc.Serialize() == bytes);
      }
    }
  }

  const std::string after = doc.Serialize();
  const Reading again = Read(after);
  FUZZ_CHECK(again.model == Pruned(model));
  FUZZ_CHECK(store::ProfileDocument::Parse(after).Serialize() == after);
  CheckReads(doc, after, model, sections, keys);
  CheckReads(store::ProfileDocument::Parse(after), after, model, sections, keys);
  CheckUntouchedLines(original, after, touched, touchedKeys, createdSections);
  return 0;
}
