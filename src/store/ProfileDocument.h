#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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
//  - Blanks (space, tab) around section names, key names and values are ignored on reading.
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

  // The trimmed value cut to kMaxProfileValueLength characters; empty when missing.
  std::string Get(std::string_view section, std::string_view key) const;
  bool HasKey(std::string_view section, std::string_view key) const;
  // An entry that RejectReason refuses is ignored: writing it would change other lines'
  // meaning when the file is read again.
  void Set(std::string_view section, std::string_view key, std::string_view value);
  // Returns true when a line was removed.
  bool Delete(std::string_view section, std::string_view key);

  std::string Serialize() const;

  // Why an entry cannot be written so that it reads back as the same section, key and value
  // (a line break anywhere; in the key an "=", or a leading ";" or "["), or the empty text when
  // it can.
  static std::string RejectReason(std::string_view section, std::string_view key,
                                  std::string_view value);

 private:
  static constexpr std::size_t kNoLine = static_cast<std::size_t>(-1);
  enum class Eol : unsigned char { None, CrLf, Lf, Cr };

  // Lines form a doubly linked list over lines_, so inserting or removing one is O(1); a removed
  // line stays in lines_ but is unlinked.
  struct Line {
    std::string text;  // without its line ending
    std::size_t prev = kNoLine;
    std::size_t next = kNoLine;
    Eol eol = Eol::None;
    bool blank = false;  // empty or only blanks
  };

  // ASCII case-insensitive hashing and comparison, usable with string_view lookups.
  struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const noexcept;
  };
  struct NameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept;
  };

  // The lines of one key name in a section: the first one is the one read and written; later
  // duplicates take its place in turn when it is deleted.
  struct KeyLines {
    std::size_t current = kNoLine;
    std::vector<std::size_t> later;
    std::size_t nextLater = 0;
  };
  using KeyIndex = std::unordered_map<std::string, KeyLines, NameHash, NameEqual>;

  struct Section {
    std::size_t header = kNoLine;
    std::size_t tail = kNoLine;  // last non-blank line: a new key goes right after it
    KeyIndex keys;
  };

  std::size_t FindKeyLine(std::string_view section, std::string_view key) const;
  std::size_t AppendLine(std::string text, Eol eol);
  std::size_t InsertLineAfter(std::size_t at, std::string text);
  void Unlink(std::size_t id);

  std::string bom_;
  std::vector<Line> lines_;
  std::size_t first_ = kNoLine;
  std::size_t last_ = kNoLine;
  std::vector<Section> sections_;  // first occurrence of each section name, in file order
  std::unordered_map<std::string, std::size_t, NameHash, NameEqual> sectionIndex_;
};

}  // namespace store
