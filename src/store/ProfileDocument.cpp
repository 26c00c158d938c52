#include "store/ProfileDocument.h"

#include <algorithm>

#include "store/ProfileLines.h"
#include "store/TextUtil.h"

namespace store {

namespace {

std::uint64_t Mix(std::uint64_t hash) {
  hash ^= hash >> 33;
  hash *= 0xff51afd7ed558ccdull;
  hash ^= hash >> 33;
  return hash;
}

// FNV-1a over the lower-case bytes, so names differing only in case hash alike.
std::uint64_t RawNameHash(std::string_view name) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : name) {
    hash ^= static_cast<unsigned char>(AsciiLower(c));
    hash *= 1099511628211ull;
  }
  return hash;
}

std::uint32_t SectionHash(std::string_view name) {
  return static_cast<std::uint32_t>(Mix(RawNameHash(name)));
}

std::uint32_t KeyHash(std::uint32_t section, std::string_view name) {
  return static_cast<std::uint32_t>(
      Mix(RawNameHash(name) ^ ((std::uint64_t{section} + 1) * 0x9E3779B97F4A7C15ull)));
}

}  // namespace

void ProfileDocument::NameTable::Reserve(std::size_t entries) {
  std::size_t size = 16;
  while (size < entries * 2) {
    size *= 2;
  }
  if (size > slots_.size() && used_ == 0) {
    slots_.assign(size, Slot{});
  }
}

template <typename Matches>
ProfileDocument::Id ProfileDocument::NameTable::Find(std::uint32_t hash, Matches matches) const {
  if (slots_.empty()) {
    return kNone;
  }
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.entry == kNone) {
      return kNone;
    }
    if (slot.hash == hash && matches(slot.entry)) {
      return slot.entry;
    }
  }
}

void ProfileDocument::NameTable::Insert(std::uint32_t hash, Id entry) {
  if ((used_ + 1) * 2 > slots_.size()) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(std::max<std::size_t>(16, old.size() * 2), Slot{});
    used_ = 0;
    for (const Slot& slot : old) {
      if (slot.entry != kNone) {
        Insert(slot.hash, slot.entry);
      }
    }
  }
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = hash & mask;
  while (slots_[i].entry != kNone) {
    i = (i + 1) & mask;
  }
  slots_[i] = Slot{hash, entry};
  ++used_;
}

std::string_view ProfileDocument::TextOf(Id id) const {
  const Line& line = lines_[id];
  return line.isWritten ? std::string_view(written_[line.begin])
                        : std::string_view(buffer_).substr(line.begin, line.length);
}

std::string_view ProfileDocument::KeyNameOf(Id id) const {
  const std::string_view text = TextOf(id);
  return TrimBlanks(text.substr(0, text.find('=')));
}

std::string_view ProfileDocument::SectionNameOf(Id id) const {
  return Classify(TextOf(id)).name;
}

ProfileDocument::Id ProfileDocument::FindSection(std::string_view name) const {
  return sectionTable_.Find(SectionHash(name), [&](Id entry) {
    return EqualsIgnoringAsciiCase(SectionNameOf(sections_[entry].header), name);
  });
}

ProfileDocument::Id ProfileDocument::FindKey(Id section, std::string_view name) const {
  return keyTable_.Find(KeyHash(section, name), [&](Id entry) {
    const KeyEntry& key = keys_[entry];
    return key.section == section && EqualsIgnoringAsciiCase(KeyNameOf(key.nameLine), name);
  });
}

void ProfileDocument::AddKey(Id section, std::string_view name, Id line) {
  const Id entry = static_cast<Id>(keys_.size());
  keys_.push_back(KeyEntry{section, line, line, line});
  keyTable_.Insert(KeyHash(section, name), entry);
}

ProfileDocument::Id ProfileDocument::AppendLine(std::size_t begin, std::size_t length, Eol eol) {
  const Id id = static_cast<Id>(lines_.size());
  Line& line = lines_.emplace_back();
  line.begin = begin;
  line.length = length;
  line.eol = eol;
  line.prev = last_;
  line.blank = TextOf(id).find_first_not_of(kBlanks) == std::string_view::npos;
  if (last_ != kNone) {
    lines_[last_].next = id;
  } else {
    first_ = id;
  }
  last_ = id;
  return id;
}

ProfileDocument::Id ProfileDocument::AppendPlainLine(std::size_t begin, std::size_t length, Eol eol,
                                                     bool blank) {
  // A run of lines that are neither keys nor headers shares one record: a blank line joins a
  // run of blank lines, any other joins whatever run precedes it, blanks included. So a run
  // never ends in a blank line unless it is all blank, and "insert after the last non-blank
  // line" and "skip back over blank lines" still see whole records.
  if (last_ != kNone && lines_[last_].plain && !lines_[last_].isWritten &&
      (!blank || lines_[last_].blank)) {
    ExtendRecord(last_, begin + length, eol);
    lines_[last_].blank = lines_[last_].blank && blank;
    return last_;
  }
  const Id id = AppendLine(begin, length, eol);
  lines_[id].plain = true;
  return id;
}

void ProfileDocument::ExtendRecord(Id id, std::size_t end, Eol eol) {
  lines_[id].length = end - lines_[id].begin;
  lines_[id].eol = eol;
}

ProfileDocument::Id ProfileDocument::InsertLineAfter(Id at, std::string text) {
  // A line without ending can only be the last one; it needs one before anything follows it.
  if (lines_[at].eol == Eol::None) {
    lines_[at].eol = Eol::CrLf;
  }
  const Id id = static_cast<Id>(lines_.size());
  Line& line = lines_.emplace_back();
  line.eol = Eol::CrLf;
  line.prev = at;
  line.next = lines_[at].next;
  if (line.next != kNone) {
    lines_[line.next].prev = id;
  } else {
    last_ = id;
  }
  lines_[at].next = id;
  WriteText(id, std::move(text));
  return id;
}

void ProfileDocument::Unlink(Id id) {
  Line& line = lines_[id];
  if (line.prev != kNone) {
    lines_[line.prev].next = line.next;
  } else {
    first_ = line.next;
  }
  if (line.next != kNone) {
    lines_[line.next].prev = line.prev;
  } else {
    last_ = line.prev;
  }
  line.prev = line.next = kNone;
}

void ProfileDocument::WriteText(Id id, std::string text) {
  Line& line = lines_[id];
  // Serialize sizes its output from the lengths, so that a file of 100 MB is not copied twice.
  line.length = text.size();
  if (line.isWritten) {
    written_[line.begin] = std::move(text);
    return;
  }
  line.begin = written_.size();
  line.isWritten = true;
  written_.push_back(std::move(text));
}

ProfileDocument ProfileDocument::Parse(std::string_view bytes) {
  return ParseOwning(std::string(bytes));
}

ProfileDocument ProfileDocument::ParseOwning(std::string&& bytes) {
  ProfileDocument doc;
  doc.buffer_ = std::move(bytes);
  const std::string_view text = doc.buffer_;
  doc.bom_ = text.starts_with(kUtf8Bom);
  const std::size_t start = doc.bom_ ? kUtf8Bom.size() : 0;
  // Sizing everything once up front spares the copies of growing, which dominate otherwise.
  // A key line holds an "=", so their count bounds the keys; runs of other lines share a record,
  // so there are at most about two records per key.
  const std::size_t keys =
      std::min(CountLines(text.substr(start)),
               static_cast<std::size_t>(std::count(text.begin(), text.end(), '=')));
  doc.lines_.reserve(2 * keys + 16);
  doc.keys_.reserve(keys);
  doc.keyTable_.Reserve(keys);

  // The section that lines now belong to; kNone before the first section and inside a repeated
  // section, whose lines are kept but never read or written.
  Id current = kNone;
  LineSplitter splitter(text, start);
  std::size_t begin;
  std::size_t length;
  Eol eol;
  while (splitter.Next(begin, length, eol)) {
    const ClassifiedLine kind = Classify(text.substr(begin, length));
    switch (kind.kind) {
      case ClassifiedLine::Blank: {
        const Id id = doc.AppendPlainLine(begin, length, eol, true);
        if (splitter.SkipBlankLines(begin, length, eol)) {
          doc.ExtendRecord(id, begin + length, eol);
        }
        break;
      }
      case ClassifiedLine::Header: {
        const Id id = doc.AppendLine(begin, length, eol);
        if (doc.FindSection(kind.name) == kNone) {
          current = static_cast<Id>(doc.sections_.size());
          doc.sections_.push_back(Section{id, id});
          doc.sectionTable_.Insert(SectionHash(kind.name), current);
        } else {
          current = kNone;
        }
        break;
      }
      case ClassifiedLine::Key: {
        const Id id = doc.AppendLine(begin, length, eol);
        if (current != kNone) {
          const Id entry = doc.FindKey(current, kind.name);
          if (entry == kNone) {
            doc.AddKey(current, kind.name, id);
          } else {
            doc.lines_[doc.keys_[entry].lastSame].nextSame = id;
            doc.keys_[entry].lastSame = id;
          }
          doc.sections_[current].tail = id;
        }
        break;
      }
      case ClassifiedLine::Comment:
      case ClassifiedLine::Other: {
        const Id id = doc.AppendPlainLine(begin, length, eol, false);
        if (current != kNone) {
          doc.sections_[current].tail = id;
        }
        break;
      }
    }
  }
  return doc;
}

std::string ProfileDocument::Get(std::string_view section, std::string_view key) const {
  const Id sectionEntry = FindSection(TrimBlanks(section));
  if (sectionEntry == kNone) {
    return {};
  }
  const Id entry = FindKey(sectionEntry, TrimBlanks(key));
  if (entry == kNone || keys_[entry].current == kNone) {
    return {};
  }
  const std::string_view value = ValueOfKeyLine(TextOf(keys_[entry].current));
  return std::string(value.substr(0, kMaxProfileValueLength));
}

bool ProfileDocument::HasKey(std::string_view section, std::string_view key) const {
  const Id sectionEntry = FindSection(TrimBlanks(section));
  if (sectionEntry == kNone) {
    return false;
  }
  const Id entry = FindKey(sectionEntry, TrimBlanks(key));
  return entry != kNone && keys_[entry].current != kNone;
}

void ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (!RejectReason(section, key, value).empty()) {
    return;
  }
  Id sectionEntry = FindSection(TrimBlanks(section));
  if (sectionEntry == kNone) {
    modified_ = true;
    if (last_ != kNone && lines_[last_].eol == Eol::None) {
      lines_[last_].eol = Eol::CrLf;
    }
    const Id id = AppendLine(0, 0, Eol::CrLf);
    WriteText(id, "[" + std::string(section) + "]");
    lines_[id].blank = false;
    sectionEntry = static_cast<Id>(sections_.size());
    sections_.push_back(Section{id, id});
    sectionTable_.Insert(SectionHash(TrimBlanks(section)), sectionEntry);
  }

  const std::string_view keyName = TrimBlanks(key);
  const Id entry = FindKey(sectionEntry, keyName);
  if (entry != kNone && keys_[entry].current != kNone) {
    const Id id = keys_[entry].current;
    const std::string_view storedName = KeyNameOf(id);
    const std::string_view oldText = TextOf(id);
    if (oldText.size() == storedName.size() + 1 + value.size() && oldText.starts_with(storedName) &&
        oldText[storedName.size()] == '=' && oldText.ends_with(value)) {
      return;  // already "<name>=<value>"
    }
    modified_ = true;
    std::string text;
    text.reserve(storedName.size() + 1 + value.size());
    text.append(storedName).append("=").append(value);
    WriteText(id, std::move(text));
    return;
  }

  modified_ = true;
  Section& target = sections_[sectionEntry];
  std::string text;
  text.reserve(key.size() + 1 + value.size());
  text.append(key).append("=").append(value);
  const Id id = InsertLineAfter(target.tail, std::move(text));
  target.tail = id;
  if (entry != kNone) {
    // The name was there before and all its lines have been deleted.
    keys_[entry].current = id;
    keys_[entry].lastSame = id;
  } else {
    AddKey(sectionEntry, keyName, id);
  }
}

bool ProfileDocument::Delete(std::string_view section, std::string_view key) {
  const Id sectionEntry = FindSection(TrimBlanks(section));
  if (sectionEntry == kNone) {
    return false;
  }
  const Id entry = FindKey(sectionEntry, TrimBlanks(key));
  if (entry == kNone || keys_[entry].current == kNone) {
    return false;
  }
  modified_ = true;
  const Id id = keys_[entry].current;
  keys_[entry].current = lines_[id].nextSame;

  Section& target = sections_[sectionEntry];
  if (target.tail == id) {
    // The header is never blank, so this stops at the latest there.
    Id before = lines_[id].prev;
    while (lines_[before].blank) {
      before = lines_[before].prev;
    }
    target.tail = before;
  }
  const Id prev = lines_[id].prev;
  const Id next = lines_[id].next;
  Unlink(id);
  // A bare CR now followed by an empty LF-ended line would read back as one CR LF ending; make
  // the document what a fresh read of its bytes would give, so later changes match too.
  if (prev != kNone && next != kNone && lines_[prev].eol == Eol::Cr) {
    if (lines_[next].eol == Eol::Lf && lines_[next].length == 0) {
      lines_[prev].eol = Eol::CrLf;
      Unlink(next);
    } else if (lines_[next].plain && TextOf(next).starts_with('\n')) {
      // The empty line is the first of a run.
      lines_[prev].eol = Eol::CrLf;
      ++lines_[next].begin;
      --lines_[next].length;
    }
  }
  return true;
}

std::string ProfileDocument::Serialize() const {
  std::size_t size = bom_ ? kUtf8Bom.size() : 0;
  for (Id id = first_; id != kNone; id = lines_[id].next) {
    size += lines_[id].length + 2;
  }
  std::string out;
  out.reserve(size);
  if (bom_) {
    out.append(kUtf8Bom);
  }
  for (Id id = first_; id != kNone; id = lines_[id].next) {
    out.append(TextOf(id));
    switch (lines_[id].eol) {
      case Eol::CrLf:
        out.append("\r\n");
        break;
      case Eol::Lf:
        out.push_back('\n');
        break;
      case Eol::Cr:
        out.push_back('\r');
        break;
      case Eol::None:
        break;
    }
  }
  return out;
}

}  // namespace store
