#include "cli/CsvRecords.h"

#include <array>

#include "cli/NumberLines.h"

namespace cli {

namespace {

constexpr std::array<char, 3> kSeparators = {',', ';', '\t'};

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsLineEnd(char c) {
  return c == '\r' || c == '\n';
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

// Steps over one line end at `i` (CR LF counts as one) and counts it.
void PassLineEnd(std::string_view text, std::size_t& i, std::size_t& line) {
  if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
    ++i;
  }
  ++i;
  ++line;
}

class CsvReader {
 public:
  CsvReader(std::string_view text, char separator) : text_(text), separator_(separator) {}

  void Run(const std::function<void(const CsvRecord&)>& visit) {
    while (i_ < text_.size()) {
      CsvRecord record;
      record.line = line_;
      bool recordEnded = false;
      while (!recordEnded) {
        std::string field;
        ReadField(field, record.unclosedQuote);
        record.fields.emplace_back(Trimmed(field));
        if (i_ >= text_.size()) {
          recordEnded = true;
        } else if (text_[i_] == separator_) {
          ++i_;
        } else {
          PassLineEnd(text_, i_, line_);
          recordEnded = true;
        }
      }
      visit(record);
    }
  }

 private:
  // Reads one field up to the separator or the line end after it.
  void ReadField(std::string& field, bool& unclosed) {
    std::size_t look = i_;
    while (look < text_.size() && IsBlank(text_[look]) && text_[look] != separator_) {
      ++look;
    }
    const bool quoted = look < text_.size() && text_[look] == '"';
    if (quoted) {
      i_ = look + 1;
      unclosed = !ReadQuoted(field);
    }
    // Whatever follows a closing quote up to the separator is kept, as spreadsheets do.
    while (i_ < text_.size() && text_[i_] != separator_ && !IsLineEnd(text_[i_])) {
      field.push_back(text_[i_++]);
    }
  }

  bool ReadQuoted(std::string& field) {
    while (i_ < text_.size()) {
      const char c = text_[i_];
      if (c == '"') {
        if (i_ + 1 < text_.size() && text_[i_ + 1] == '"') {
          field.push_back('"');
          i_ += 2;
          continue;
        }
        ++i_;
        return true;
      }
      if (IsLineEnd(c)) {
        const std::size_t from = i_;
        PassLineEnd(text_, i_, line_);
        field.append(text_.substr(from, i_ - from));
        continue;
      }
      field.push_back(c);
      ++i_;
    }
    return false;
  }

  std::string_view text_;
  char separator_;
  std::size_t i_ = 0;
  std::size_t line_ = 1;
};

void ForEachBlankSeparated(std::string_view text,
                           const std::function<void(const CsvRecord&)>& visit) {
  ForEachLine(text, [&](std::size_t line, std::string_view lineText) {
    CsvRecord record;
    record.line = line;
    std::size_t i = 0;
    while (i < lineText.size()) {
      while (i < lineText.size() && IsBlank(lineText[i])) {
        ++i;
      }
      const std::size_t start = i;
      while (i < lineText.size() && !IsBlank(lineText[i])) {
        ++i;
      }
      if (i > start) {
        record.fields.emplace_back(lineText.substr(start, i - start));
      }
    }
    visit(record);
  });
}

}  // namespace

char DetectSeparator(std::string_view text) {
  std::array<std::size_t, kSeparators.size()> counts{};
  bool inQuotes = false;
  bool meaningful = false;
  for (const char c : text) {
    if (c == '"') {
      inQuotes = !inQuotes;
    } else if (inQuotes) {
      meaningful = meaningful || IsLetterOrDigit(c);
    } else if (IsLineEnd(c)) {
      if (meaningful) {
        break;
      }
      counts = {};
    } else {
      meaningful = meaningful || IsLetterOrDigit(c);
      for (std::size_t k = 0; k < kSeparators.size(); ++k) {
        counts[k] += c == kSeparators[k] ? 1 : 0;
      }
    }
  }
  std::size_t best = 0;
  for (std::size_t k = 1; k < kSeparators.size(); ++k) {
    if (counts[k] > counts[best]) {
      best = k;
    }
  }
  return counts[best] > 0 ? kSeparators[best] : kBlankSeparated;
}

void ForEachRecord(std::string_view text, char separator,
                   const std::function<void(const CsvRecord&)>& visit) {
  if (separator == kBlankSeparated) {
    ForEachBlankSeparated(text, visit);
  } else {
    CsvReader(text, separator).Run(visit);
  }
}

}  // namespace cli
