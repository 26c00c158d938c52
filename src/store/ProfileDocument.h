#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/ProfileLines.h"
#include "store/ProfileScan.h"

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

  // Reading without building a document, for one lookup or one pass over a section, by the same
  // rules as Parse and Get. Lookup gives what Get would. ForEachKey calls `visit` with the
  // trimmed name and the uncut value as read (ValueOfKeyLine) of every key line of the first
  // section named `section`, in file order and duplicates included, until `visit` returns false.
  static std::string Lookup(std::string_view bytes, std::string_view section, std::string_view key);
  template <typename Visit>
  static void ForEachKey(std::string_view bytes, std::string_view section, Visit&& visit) {
    scan::ForEachKey(bytes, section, visit);
  }

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
  // Line and entry numbers are 32-bit: a data file has a few tens of thousands of lines, and
  // small records keep a parse of the largest files cheap.
  using Id = std::uint32_t;
  static constexpr Id kNone = static_cast<Id>(-1);
  using Eol = LineEnd;

  // Lines form a doubly linked list over lines_, so inserting or removing one is O(1); a removed
  // line stays in lines_ but is unlinked. Threaded through one vector rather than a std::list:
  // with std::list, parsing 32,767 tickets took 9.1 ms against 3.3 ms and rewriting them 17.1 ms
  // against 13.6 ms, with 2.3 MB more heap (bench/profile_containers_bench.cpp). A line's text is
  // a span of the bytes as read, or its own string in written_ once it has been written. A run
  // of lines that are neither keys nor headers is one record ("plain"), its span holding the
  // inner line ends and `eol` the last one's, so a file of millions of blank lines costs a
  // handful of records.
  struct Line {
    std::size_t begin = 0;
    std::size_t length = 0;
    Id prev = kNone;
    Id next = kNone;
    Id nextSame = kNone;  // the next line of the same key in the same section
    Eol eol = Eol::None;
    bool blank = false;      // empty or only blanks
    bool isWritten = false;  // the text is written_[begin]
    bool plain = false;      // neither a key nor a header
  };

  // One key name of a section. `current` is the line read and written; when it is deleted the
  // next duplicate (nextSame) takes its place. `nameLine` is any of its lines, kept when deleted,
  // and supplies the name for comparisons, so no name is stored twice.
  struct KeyEntry {
    Id section = 0;
    Id nameLine = 0;
    Id current = kNone;
    Id lastSame = kNone;
  };

  struct Section {
    Id header = kNone;
    Id tail = kNone;  // last non-blank line: a new key goes right after it
  };

  // Open addressing over hashes of ASCII-lowered names; slots hold entry numbers. Kept over
  // std::unordered_map with the same hash and the names as strings: with it, parsing 32,767
  // tickets took 7.8 ms against 4.1 ms and rewriting them 20.4 ms against 15.4 ms, with 1 MB
  // more heap (bench/profile_containers_bench.cpp).
  struct Slot {
    std::uint32_t hash = 0;
    Id entry = kNone;
  };
  class NameTable {
   public:
    void Reserve(std::size_t entries);
    template <typename Matches>
    Id Find(std::uint32_t hash, Matches matches) const;
    void Insert(std::uint32_t hash, Id entry);

   private:
    std::vector<Slot> slots_;
    std::size_t used_ = 0;
  };

  std::string_view TextOf(Id id) const;
  std::string_view KeyNameOf(Id id) const;
  std::string_view SectionNameOf(Id id) const;
  Id FindSection(std::string_view name) const;
  Id FindKey(Id section, std::string_view name) const;
  void AddKey(Id section, std::string_view name, Id line);
  Id AppendLine(std::size_t begin, std::size_t length, Eol eol);
  Id AppendPlainLine(std::size_t begin, std::size_t length, Eol eol, bool blank);
  void ExtendRecord(Id id, std::size_t end, Eol eol);
  Id InsertLineAfter(Id at, std::string text);
  void Unlink(Id id);
  void WriteText(Id id, std::string text);

  std::string buffer_;  // the bytes as read, byte-order mark included
  bool bom_ = false;
  bool modified_ = false;
  std::vector<std::string> written_;  // texts of written lines, one string each
  std::vector<Line> lines_;
  Id first_ = kNone;
  Id last_ = kNone;
  std::vector<Section> sections_;  // first occurrence of each section name, in file order
  std::vector<KeyEntry> keys_;
  NameTable sectionTable_;
  NameTable keyTable_;
};

}  // namespace store
