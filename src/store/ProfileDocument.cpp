#include "store/ProfileDocument.h"

#include <iterator>

namespace store {

std::size_t ProfileDocument::NameHash::operator()(std::string_view name) const {
  // FNV-1a over the lower-case bytes, so names differing only in case hash alike.
  std::size_t hash = 14695981039346656037ull;
  for (const char c : name) {
    hash = (hash ^ static_cast<unsigned char>(AsciiLower(c))) * 1099511628211ull;
  }
  return hash;
}

std::string_view ProfileDocument::TextOf(const Line& line) const {
  return line.isWritten ? std::string_view(line.written)
                        : std::string_view(buffer_).substr(line.begin, line.length);
}

void ProfileDocument::Write(Line& line, std::string text) {
  line.isWritten = true;
  line.written = std::move(text);
}

ProfileDocument::Lines::iterator ProfileDocument::AddLine(std::size_t begin, std::size_t length,
                                                          LineEnd end) {
  Line line;
  line.begin = begin;
  line.length = length;
  line.end = end;
  return lines_.insert(lines_.end(), std::move(line));
}

ProfileDocument::Lines::iterator ProfileDocument::AddPlainLine(std::size_t begin,
                                                               std::size_t length, LineEnd end,
                                                               bool blank) {
  // A blank line joins a run of blank lines, any other joins whatever run precedes it, blanks
  // included. So a run never ends in a blank line unless it is all blank, and "insert after the
  // last non-blank line" and "skip back over blank lines" still see whole records.
  if (!lines_.empty() && lines_.back().plain && (!blank || lines_.back().blank)) {
    Line& run = lines_.back();
    run.length = begin + length - run.begin;
    run.end = end;
    run.blank = run.blank && blank;
    return std::prev(lines_.end());
  }
  const Lines::iterator line = AddLine(begin, length, end);
  line->plain = true;
  line->blank = blank;
  return line;
}

ProfileDocument ProfileDocument::Parse(std::string_view bytes) {
  return ParseOwning(std::string(bytes));
}

ProfileDocument ProfileDocument::ParseOwning(std::string&& bytes) {
  ProfileDocument doc;
  doc.buffer_ = std::move(bytes);
  const std::string_view text = doc.buffer_;
  doc.bom_ = text.starts_with(kUtf8Bom);

  // The section that lines now belong to; none before the first section and inside a repeated
  // section, whose lines are kept but never read or written.
  Section* current = nullptr;
  LineSplitter splitter(text, doc.bom_ ? kUtf8Bom.size() : 0);
  std::size_t begin;
  std::size_t length;
  LineEnd end;
  while (splitter.Next(begin, length, end)) {
    const ClassifiedLine kind = Classify(text.substr(begin, length));
    switch (kind.kind) {
      case ClassifiedLine::Blank:
        doc.AddPlainLine(begin, length, end, true);
        break;
      case ClassifiedLine::Header: {
        const Lines::iterator line = doc.AddLine(begin, length, end);
        const auto [section, added] = doc.sections_.try_emplace(std::string(kind.name));
        current = added ? &section->second : nullptr;
        if (added) {
          section->second.tail = line;
        }
        break;
      }
      case ClassifiedLine::Key: {
        const Lines::iterator line = doc.AddLine(begin, length, end);
        if (current) {
          current->keys[std::string(kind.name)].push_back(line);
          current->tail = line;
        }
        break;
      }
      case ClassifiedLine::Comment:
      case ClassifiedLine::Other: {
        const Lines::iterator line = doc.AddPlainLine(begin, length, end, false);
        if (current) {
          current->tail = line;
        }
        break;
      }
    }
  }
  return doc;
}

std::string ProfileDocument::Lookup(std::string_view bytes, std::string_view section,
                                    std::string_view key) {
  key = TrimBlanks(key);
  std::string_view value;
  ForEachKey(bytes, section, [&](std::string_view name, std::string_view read) {
    if (!EqualsIgnoringAsciiCase(name, key)) {
      return true;
    }
    value = read;
    return false;
  });
  return std::string(value.substr(0, kMaxProfileValueLength));
}

const ProfileDocument::KeyLines* ProfileDocument::FindKey(std::string_view section,
                                                          std::string_view key) const {
  const auto found = sections_.find(TrimBlanks(section));
  if (found == sections_.end()) {
    return nullptr;
  }
  const auto entry = found->second.keys.find(TrimBlanks(key));
  if (entry == found->second.keys.end() || entry->second.empty()) {
    return nullptr;
  }
  return &entry->second;
}

std::string ProfileDocument::Get(std::string_view section, std::string_view key) const {
  const KeyLines* lines = FindKey(section, key);
  if (!lines) {
    return {};
  }
  return std::string(ValueOfKeyLine(TextOf(*lines->front())).substr(0, kMaxProfileValueLength));
}

bool ProfileDocument::HasKey(std::string_view section, std::string_view key) const {
  return FindKey(section, key) != nullptr;
}

void ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (!RejectReason(section, key, value).empty()) {
    return;
  }
  auto [found, added] = sections_.try_emplace(std::string(TrimBlanks(section)));
  Section& target = found->second;
  if (added) {
    modified_ = true;
    if (!lines_.empty() && lines_.back().end == LineEnd::None) {
      lines_.back().end = LineEnd::CrLf;
    }
    target.tail = AddLine(0, 0, LineEnd::CrLf);
    Write(*target.tail, "[" + std::string(section) + "]");
  }

  KeyLines& lines = target.keys[std::string(TrimBlanks(key))];
  if (!lines.empty()) {
    Line& line = *lines.front();
    const std::string_view oldText = TextOf(line);
    const std::string_view storedName = TrimBlanks(oldText.substr(0, oldText.find('=')));
    std::string text;
    text.reserve(storedName.size() + 1 + value.size());
    text.append(storedName).append("=").append(value);
    if (text != oldText) {
      modified_ = true;
      Write(line, std::move(text));
    }
    return;
  }

  modified_ = true;
  // A line without ending can only be the last one; it needs one before anything follows it.
  if (target.tail->end == LineEnd::None) {
    target.tail->end = LineEnd::CrLf;
  }
  Line line;
  line.end = LineEnd::CrLf;
  Write(line, std::string(key) + "=" + std::string(value));
  target.tail = lines_.insert(std::next(target.tail), std::move(line));
  lines.push_back(target.tail);
}

bool ProfileDocument::Delete(std::string_view section, std::string_view key) {
  const auto found = sections_.find(TrimBlanks(section));
  if (found == sections_.end()) {
    return false;
  }
  Section& target = found->second;
  const auto entry = target.keys.find(TrimBlanks(key));
  if (entry == target.keys.end() || entry->second.empty()) {
    return false;
  }
  modified_ = true;
  const Lines::iterator line = entry->second.front();
  entry->second.erase(entry->second.begin());

  if (target.tail == line) {
    // The header is never blank, so this stops at the latest there.
    Lines::iterator before = std::prev(line);
    while (before->blank) {
      --before;
    }
    target.tail = before;
  }
  const Lines::iterator next = lines_.erase(line);
  // A bare CR now followed by an empty LF-ended line would read back as one CR LF ending; make
  // the document what a fresh read of its bytes would give, so later changes match too.
  if (next == lines_.begin() || next == lines_.end()) {
    return true;
  }
  Line& prev = *std::prev(next);
  if (prev.end != LineEnd::Cr) {
    return true;
  }
  if (next->end == LineEnd::Lf && TextOf(*next).empty()) {
    prev.end = LineEnd::CrLf;
    lines_.erase(next);
  } else if (next->plain && TextOf(*next).starts_with('\n')) {
    // The empty line is the first of a run.
    prev.end = LineEnd::CrLf;
    ++next->begin;
    --next->length;
  }
  return true;
}

std::string ProfileDocument::Serialize() const {
  std::size_t size = bom_ ? kUtf8Bom.size() : 0;
  for (const Line& line : lines_) {
    size += TextOf(line).size() + 2;
  }
  std::string out;
  out.reserve(size);
  if (bom_) {
    out.append(kUtf8Bom);
  }
  for (const Line& line : lines_) {
    out.append(TextOf(line));
    switch (line.end) {
      case LineEnd::CrLf:
        out.append("\r\n");
        break;
      case LineEnd::Lf:
        out.push_back('\n');
        break;
      case LineEnd::Cr:
        out.push_back('\r');
        break;
      case LineEnd::None:
        break;
    }
  }
  return out;
}

std::string ProfileDocument::RejectReason(std::string_view section, std::string_view key,
                                          std::string_view value) {
  constexpr std::string_view kLineBreaks = "\r\n";
  if (section.find_first_of(kLineBreaks) != std::string_view::npos) {
    return "The section name contains a line break";
  }
  if (key.find_first_of(kLineBreaks) != std::string_view::npos) {
    return "The key name contains a line break";
  }
  if (key.find('=') != std::string_view::npos) {
    return "The key name contains \"=\"";
  }
  const std::string_view trimmedKey = TrimBlanks(key);
  if (trimmedKey.starts_with(';') || trimmedKey.starts_with('[')) {
    return "The key name starts with \";\" or \"[\"";
  }
  if (value.find_first_of(kLineBreaks) != std::string_view::npos) {
    return "The value contains a line break";
  }
  return {};
}

}  // namespace store
