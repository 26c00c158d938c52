// The data-file document's own containers (an open-addressing name table, a linked list threaded
// through one vector) against the same document built from the standard ones (std::unordered_map
// and std::list, each written line owning its string: StandardDocument; and the same with one
// growing string holding every written line, as the store's document once did: ListWithArena),
// on what the program does with it: parse the largest list, look up keys 1..N, rewrite the list,
// and read and rewrite a 100 MB file of blank lines. All the documents are checked to write the
// same bytes before anything is timed. peak_heap_MB is the most heap the operation held at once,
// counted by the allocation functions below, so every benchmark reports its own peak in one
// process.
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <list>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <benchmark/benchmark.h>

#include "BenchSupport.h"
#include "store/ProfileDocument.h"
#include "store/ProfileLines.h"
#include "store/TextUtil.h"

namespace {

std::atomic<std::size_t> gLiveBytes{0};
std::atomic<std::size_t> gPeakBytes{0};

void Count(void* block) {
  if (block) {
    const std::size_t live = gLiveBytes += ::malloc_usable_size(block);
    std::size_t peak = gPeakBytes.load();
    while (live > peak && !gPeakBytes.compare_exchange_weak(peak, live)) {
    }
  }
}

}  // namespace

// Kept out of line: inlined, the compiler would see free() given a block from operator new.
[[gnu::noinline]] void* operator new(std::size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (!block)
    throw std::bad_alloc();
  Count(block);
  return block;
}
[[gnu::noinline]] void operator delete(void* block) noexcept {
  if (block)
    gLiveBytes -= ::malloc_usable_size(block);
  std::free(block);
}
[[gnu::noinline]] void operator delete(void* block, std::size_t) noexcept {
  operator delete(block);
}

namespace {

using store::LineEnd;

// Names compare without regard to ASCII case; lookups take a view and build no string.
struct NoCaseHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view name) const {
    std::size_t hash = 14695981039346656037ull;
    for (const char c : name)
      hash = (hash ^ static_cast<unsigned char>(store::AsciiLower(c))) * 1099511628211ull;
    return hash;
  }
};
struct NoCaseEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const {
    return store::EqualsIgnoringAsciiCase(a, b);
  }
};
template <typename Value>
using NameMap = std::unordered_map<std::string, Value, NoCaseHash, NoCaseEqual>;

// The entry named `name`, added when missing.
template <typename Value>
std::pair<typename NameMap<Value>::iterator, bool> FindOrAdd(NameMap<Value>& map,
                                                             std::string_view name) {
  if (const auto found = map.find(name); found != map.end())
    return {found, false};
  return map.emplace(std::string(name), Value{});
}

// The document as the standard containers give it. It keeps the rules the measured operations
// meet (runs of blank lines share one line record, as in the store's document, since a line per
// blank line is no question of containers); the rarer ones (a bare CR merging with a following
// empty line on delete) are left out.
template <bool kArena>
class ListDocument {
 public:
  static ListDocument ParseOwning(std::string&& bytes) {
    ListDocument doc;
    doc.buffer_ = std::move(bytes);
    const std::string_view text = doc.buffer_;
    doc.bom_ = text.starts_with(store::kUtf8Bom);
    // Sized once, as the store's document sizes its index: a key line holds an "=".
    const auto keys = static_cast<std::size_t>(std::count(text.begin(), text.end(), '='));
    Section* current = nullptr;
    store::LineSplitter splitter(text, doc.bom_ ? store::kUtf8Bom.size() : 0);
    std::size_t begin;
    std::size_t length;
    LineEnd eol;
    while (splitter.Next(begin, length, eol)) {
      const std::string_view lineText = text.substr(begin, length);
      const store::ClassifiedLine kind = store::Classify(lineText);
      typename Lines::iterator line = doc.lines_.insert(doc.lines_.end(), Line{});
      line->text = lineText;
      line->eol = eol;
      switch (kind.kind) {
        case store::ClassifiedLine::Blank:
          line->blank = true;
          if (const std::size_t runBegin = begin; splitter.SkipBlankLines(begin, length, eol)) {
            line->text = text.substr(runBegin, begin + length - runBegin);
            line->eol = eol;
          }
          break;
        case store::ClassifiedLine::Header: {
          auto [found, added] = FindOrAdd(doc.sections_, kind.name);
          current = added ? &found->second : nullptr;
          if (added) {
            found->second.tail = line;
            found->second.keys.reserve(keys);
          }
          break;
        }
        case store::ClassifiedLine::Key:
          if (current) {
            FindOrAdd(current->keys, kind.name).first->second.Add(line);
            current->tail = line;
          }
          break;
        default:
          if (current)
            current->tail = line;
      }
    }
    return doc;
  }

  std::string Get(std::string_view section, std::string_view key) const {
    const auto found = sections_.find(store::TrimBlanks(section));
    if (found == sections_.end())
      return {};
    const auto entry = found->second.keys.find(store::TrimBlanks(key));
    if (entry == found->second.keys.end() || !entry->second.present)
      return {};
    return std::string(store::ValueOfKeyLine(TextOf(*entry->second.current))
                           .substr(0, store::kMaxProfileValueLength));
  }

  void Set(std::string_view section, std::string_view key, std::string_view value) {
    auto [found, added] = FindOrAdd(sections_, store::TrimBlanks(section));
    if (added) {
      if (!lines_.empty() && lines_.back().eol == LineEnd::None)
        lines_.back().eol = LineEnd::CrLf;
      found->second.tail = lines_.insert(lines_.end(), Line{});
      Write(*found->second.tail, "[", section, "]");
    }
    Section& target = found->second;
    KeyLines& same = FindOrAdd(target.keys, store::TrimBlanks(key)).first->second;
    if (same.present) {
      Line& line = *same.current;
      ReserveArena(TextOf(line).size() + 1 + value.size());
      const std::string_view text = TextOf(line);
      Write(line, store::TrimBlanks(text.substr(0, text.find('='))), "=", value);
      return;
    }
    if (target.tail->eol == LineEnd::None)
      target.tail->eol = LineEnd::CrLf;
    target.tail = lines_.insert(std::next(target.tail), Line{});
    Write(*target.tail, key, "=", value);
    same.Add(target.tail);
  }

  bool Delete(std::string_view section, std::string_view key) {
    const auto found = sections_.find(store::TrimBlanks(section));
    if (found == sections_.end())
      return false;
    const auto entry = found->second.keys.find(store::TrimBlanks(key));
    if (entry == found->second.keys.end() || !entry->second.present)
      return false;
    const typename Lines::iterator line = entry->second.current;
    entry->second.RemoveCurrent();
    if (found->second.tail == line) {
      typename Lines::iterator before = std::prev(line);
      while (before->blank)
        --before;
      found->second.tail = before;
    }
    lines_.erase(line);
    return true;
  }

  std::string Serialize() const {
    std::size_t size = store::kUtf8Bom.size();
    for (const Line& line : lines_)
      size += TextOf(line).size() + 2;
    std::string out = bom_ ? std::string(store::kUtf8Bom) : std::string();
    out.reserve(size);
    for (const Line& line : lines_) {
      out.append(TextOf(line));
      out.append(line.eol == LineEnd::CrLf ? "\r\n"
                 : line.eol == LineEnd::Lf ? "\n"
                 : line.eol == LineEnd::Cr ? "\r"
                                           : "");
    }
    return out;
  }

 private:
  // A line read is a view of the bytes read. A line written owns its text, or with kArena has it
  // at [begin, begin + length) of one string that written texts are appended to.
  struct Line {
    std::string_view text;
    LineEnd eol = LineEnd::CrLf;
    bool blank = false;
    bool isWritten = false;
    std::string written;
    std::size_t begin = 0;
    std::size_t length = 0;
  };
  using Lines = std::list<Line>;

  std::string_view TextOf(const Line& line) const {
    if (!line.isWritten)
      return line.text;
    if constexpr (kArena)
      return std::string_view(arena_).substr(line.begin, line.length);
    return line.written;
  }

  // The views must not point into the arena unless ReserveArena made room for them first.
  void Write(Line& line, std::string_view a, std::string_view b, std::string_view c) {
    line.isWritten = true;
    if constexpr (kArena) {
      ReserveArena(a.size() + b.size() + c.size());
      line.begin = arena_.size();
      arena_.append(a).append(b).append(c);
      line.length = arena_.size() - line.begin;
    } else {
      line.written.reserve(a.size() + b.size() + c.size());
      line.written.append(a).append(b).append(c);
    }
  }

  void ReserveArena(std::size_t extra) {
    if (kArena && arena_.size() + extra > arena_.capacity())
      arena_.reserve(std::max(arena_.size() + extra, arena_.capacity() * 2));
  }
  // The lines of one key name: the one read and written, and its duplicates after it, which
  // take its place in turn when it is deleted.
  struct KeyLines {
    typename Lines::iterator current;
    bool present = false;
    std::vector<typename Lines::iterator> later;
    void Add(typename Lines::iterator line) {
      if (present) {
        later.push_back(line);
      } else {
        current = line;
        present = true;
      }
    }
    void RemoveCurrent() {
      present = !later.empty();
      if (present) {
        current = later.front();
        later.erase(later.begin());
      }
    }
  };
  struct Section {
    typename Lines::iterator tail;  // last non-blank line: a new key goes right after it
    NameMap<KeyLines> keys;
  };

  std::string buffer_;
  bool bom_ = false;
  std::string arena_;
  Lines lines_;
  NameMap<Section> sections_;
};

// Every container from the standard library; and the same with the store's arena for written
// lines, to tell the list's share from the arena's.
using StandardDocument = ListDocument<false>;
using ListWithArena = ListDocument<true>;

std::vector<std::string> MakeTickets(int count, int seed) {
  std::vector<std::string> tickets;
  tickets.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    std::string ticket;
    for (int k = 0; k < store::kNumbersPerTicket; ++k)
      ticket +=
          (k ? "-" : "") + bench::TwoDigits(1 + (i * 7 + k * 13 + seed) % store::kHighestNumber);
    tickets.push_back(std::move(ticket));
  }
  return tickets;
}

const std::string& FullFile() {
  static const std::string bytes = bench::DataFileBytes(MakeTickets(store::kMaxTickets, 0));
  return bytes;
}

const std::string& BlankLines() {
  static const std::string bytes = [] {
    std::string text;
    text.reserve(100u << 20);
    while (text.size() < (100u << 20))
      text += "\r\n";
    return text;
  }();
  return bytes;
}

// What a Delete that keeps every ticket does: the count and keys 1..N set to a new list.
template <typename Document>
std::string Rewrite(std::string bytes, const std::vector<std::string>& tickets) {
  Document doc = Document::ParseOwning(std::move(bytes));
  doc.Set(store::kSection, store::kTotalKey, std::to_string(tickets.size()));
  for (std::size_t i = 0; i < tickets.size(); ++i)
    doc.Set(store::kSection, std::to_string(i + 1), tickets[i]);
  for (std::size_t k = tickets.size() + 1; doc.Delete(store::kSection, std::to_string(k)); ++k) {
  }
  return doc.Serialize();
}

bool SameBytes(benchmark::State& state, const std::string& file,
               const std::vector<std::string>& tickets) {
  const std::string bytes = Rewrite<store::ProfileDocument>(file, tickets);
  if (bytes == Rewrite<StandardDocument>(file, tickets) &&
      bytes == Rewrite<ListWithArena>(file, tickets))
    return true;
  state.SkipWithError("the two documents write different bytes");
  return false;
}

void ReportPeak(benchmark::State& state, std::size_t before) {
  state.counters["peak_heap_MB"] =
      static_cast<double>(gPeakBytes.load() - before) / static_cast<double>(1u << 20);
}

std::size_t StartPeak() {
  gPeakBytes = gLiveBytes.load();
  return gLiveBytes.load();
}

template <typename Document>
void BM_Parse(benchmark::State& state) {
  const std::string& file = FullFile();
  if (!SameBytes(state, file, MakeTickets(store::kMaxTickets, 5)))
    return;
  const std::size_t before = StartPeak();
  for (auto _ : state) {
    Document doc = Document::ParseOwning(std::string(file));
    benchmark::DoNotOptimize(doc);
  }
  ReportPeak(state, before);
}

template <typename Document>
void BM_LookUpEveryKey(benchmark::State& state) {
  const Document doc = Document::ParseOwning(std::string(FullFile()));
  std::vector<std::string> keys;
  for (int k = 1; k <= store::kMaxTickets; ++k)
    keys.push_back(std::to_string(k));
  for (auto _ : state) {
    std::size_t total = 0;
    for (const std::string& key : keys)
      total += doc.Get(store::kSection, key).size();
    benchmark::DoNotOptimize(total);
  }
}

template <typename Document>
void BM_RewriteEveryKey(benchmark::State& state) {
  const std::vector<std::string> tickets = MakeTickets(store::kMaxTickets, 5);
  if (!SameBytes(state, FullFile(), tickets))
    return;
  const std::size_t before = StartPeak();
  for (auto _ : state)
    benchmark::DoNotOptimize(Rewrite<Document>(FullFile(), tickets));
  ReportPeak(state, before);
}

template <typename Document>
void BM_RewriteBlankLines(benchmark::State& state) {
  if (!SameBytes(state, BlankLines(), {}))
    return;
  const std::size_t before = StartPeak();
  for (auto _ : state)
    benchmark::DoNotOptimize(Rewrite<Document>(BlankLines(), {}));
  ReportPeak(state, before);
}

#define PELMORA_EACH(fn, ...)                                                                \
  BENCHMARK_TEMPLATE(fn, store::ProfileDocument)->Unit(benchmark::kMillisecond) __VA_ARGS__; \
  BENCHMARK_TEMPLATE(fn, StandardDocument)->Unit(benchmark::kMillisecond) __VA_ARGS__;       \
  BENCHMARK_TEMPLATE(fn, ListWithArena)->Unit(benchmark::kMillisecond) __VA_ARGS__

PELMORA_EACH(BM_Parse);
PELMORA_EACH(BM_LookUpEveryKey);
PELMORA_EACH(BM_RewriteEveryKey);
PELMORA_EACH(BM_RewriteBlankLines, ->Iterations(3));

}  // namespace

BENCHMARK_MAIN();
