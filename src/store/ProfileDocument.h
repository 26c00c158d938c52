#pragma once

#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/ProfileLines.h"
#include "store/TextUtil.h"

namespace store {

// Longest value a profile read returns; longer values are cut to this many characters.
inline constexpr std::size_t kMaxProfileValueLength = 126;

// An INI document that keeps every line exactly as it was read, so that a change touches only
// the lines it must. Section and key names compare without regard to ASCII case; lookups go
// through an index, never a rescan of the text.
//
// Rules (chosen to match how the profile files are read and written on the desktop that
// created the format):
//  - CR LF, bare LF and bare CR end a line; each line keeps its own ending on output.
//  - A UTF-8 byte-order mark at the start is skipped and kept on output.
//  - Blanks (space, tab) around section names, key names and values are ignored on reading, and
//    so is one pair of matching quotes (" or ') around a value; a value is written as given.
//  - A line whose first non-blank character is ';' is a comment; a line without '=' is no key.
//  - Lines before the first section belong to no section.
//  - When a section or a key appears twice, the first one is read and written.
//  - Writing an existing key keeps its line, place and stored spelling, replacing the line with
//    "<stored name>=<value>" and its old line ending.
//  - A new key goes after the last non-blank line of its section (its last key, or a comment or
//    other text after it), so blank lines that end the section stay at its end; it is written
//    "<name>=<value>" CR LF with the spelling of that write.
//  - A new section goes at the end of the file, "[<name>]" CR LF, with no blank line before it;
//    when the last line has no line ending, CR LF is added to it first.
//  - Deleting removes the key's line; deleting a missing key changes nothing.
class ProfileDocument {
 public:
  ProfileDocument() = default;
  static ProfileDocument Parse(std::string_view bytes);
  // The same as Parse, taking over the bytes instead of copying them.
  static ProfileDocument ParseOwning(std::string&& bytes);
  // Reading without building a document, by the same rules, for one key or one pass over a
  // section. Lookup gives what Parse(bytes).Get(section, key) would. ForEachKey calls `visit`
  // with the trimmed name and the uncut value as read (ValueOfKeyLine) of every key line of the
  // first section named `section`, in file order and duplicates included, until `visit` returns
  // false.
  static std::string Lookup(std::string_view bytes, std::string_view section, std::string_view key);
  template <typename Visit>
  static void ForEachKey(std::string_view bytes, std::string_view section, Visit&& visit);

  // The value as read (trimmed, one pair of quotes dropped) cut to kMaxProfileValueLength
  // characters; empty when missing.
  std::string Get(std::string_view section, std::string_view key) const;
  bool HasKey(std::string_view section, std::string_view key) const;
  // An entry that RejectReason refuses is ignored: writing it would change other lines'
  // meaning when the file is read again.
  void Set(std::string_view section, std::string_view key, std::string_view value);
  // Returns true when a line was removed.
  bool Delete(std::string_view section, std::string_view key);

  std::string Serialize() const;
  // The bytes the document was parsed from; changes never alter them.
  std::string_view Original() const { return buffer_; }
  // Whether a Set or Delete has changed what Serialize gives since Parse.
  bool IsModified() const { return modified_; }
  // For a document that replaces a file's contents whole (a restore): it is written as a change.
  void MarkModified() { modified_ = true; }

  // Why an entry cannot be written so that it reads back as the same section, key and value
  // (a line break anywhere; in the key an "=", or a leading ";" or "["), or the empty text when
  // it can.
  static std::string RejectReason(std::string_view section, std::string_view key,
                                  std::string_view value);

 private:
  // A line as read is a span of buffer_; a line written has its own text. A run of lines that
  // are neither keys nor headers is one record ("plain"), its span holding the inner line ends
  // and `end` the last one's, so a file of millions of blank lines costs a handful of records.
  struct Line {
    std::size_t begin = 0;
    std::size_t length = 0;
    bool isWritten = false;
    std::string written;
    LineEnd end = LineEnd::None;
    bool blank = false;  // empty or only blanks
    bool plain = false;  // neither a key nor a header
  };
  using Lines = std::list<Line>;

  // Names compare without regard to ASCII case; lookups take a view and build no string.
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const;
  };
  struct NameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const {
      return EqualsIgnoringAsciiCase(a, b);
    }
  };
  template <typename Value>
  using NameMap = std::unordered_map<std::string, Value, NameHash, NameEqual>;

  // The lines of one key name in file order: the first is read and written, and when it is
  // deleted the next takes its place. Empty once all are deleted.
  using KeyLines = std::vector<Lines::iterator>;
  struct Section {
    Lines::iterator tail;  // last non-blank line: a new key goes right after it
    NameMap<KeyLines> keys;
  };

  std::string_view TextOf(const Line& line) const;
  const KeyLines* FindKey(std::string_view section, std::string_view key) const;
  Lines::iterator AddLine(std::size_t begin, std::size_t length, LineEnd end);
  Lines::iterator AddPlainLine(std::size_t begin, std::size_t length, LineEnd end, bool blank);
  static void Write(Line& line, std::string text);

  std::string buffer_;  // the bytes as read, byte-order mark included
  bool bom_ = false;
  bool modified_ = false;
  Lines lines_;
  NameMap<Section> sections_;  // first occurrence of each section name
};

template <typename Visit>
void ProfileDocument::ForEachKey(std::string_view bytes, std::string_view section, Visit&& visit) {
  section = TrimBlanks(section);
  bool inSection = false;
  LineSplitter splitter(bytes, bytes.starts_with(kUtf8Bom) ? kUtf8Bom.size() : 0);
  std::size_t begin;
  std::size_t length;
  LineEnd end;
  while (splitter.Next(begin, length, end)) {
    const std::string_view text = bytes.substr(begin, length);
    const ClassifiedLine kind = Classify(text);
    if (kind.kind == ClassifiedLine::Header) {
      if (inSection) {
        return;  // a later section of the same name is never read
      }
      inSection = EqualsIgnoringAsciiCase(kind.name, section);
    } else if (kind.kind == ClassifiedLine::Key && inSection) {
      if (!visit(kind.name, kind.value)) {
        return;
      }
    }
  }
}

}  // namespace store
