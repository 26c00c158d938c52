#pragma once

#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace store {

// Most failures need only their path and reason to be told to a person; the kind is there for the
// few callers whose message depends on which failure it was.
enum class ProblemKind {
  Failed,       // reading or writing did not work: the reason says why
  NotANumber,   // a count that is missing, empty or not a number (or a file too unreadable to
                // tell)
  OutOfRange,   // a count outside the range it must be in
  Full,         // the file already holds as many tickets as a data file can
  FileChanged,  // another program changed the file since it was last read
  // Notes of a change that was made all the same (see Result<void>::notes):
  VersionNotKept,  // the earlier version could not be kept: the path is its folder
  Repaired,        // a rewrite cut short was found and mended: the reason says how
};

// Why something could not be done: the file it concerns and the reason, both as bytes.
struct Problem {
  std::string path;
  std::string reason;
  ProblemKind kind = ProblemKind::Failed;
};

// A failure on its way into a Result, as std::unexpected is for std::expected.
struct Unexpected {
  Problem problem;
};

inline Unexpected Fail(Problem problem) {
  return {std::move(problem)};
}

inline Unexpected Fail(std::string path, std::string reason,
                       ProblemKind kind = ProblemKind::Failed) {
  return {{std::move(path), std::move(reason), kind}};
}

// A value or the problem that kept it from being made, in the shape of std::expected.
template <typename T>
class Result {
 public:
  // As std::expected: a value-initialised T.
  Result() : state_(std::in_place_index<0>) {}
  Result(const T& value) : state_(std::in_place_index<0>, value) {}
  Result(T&& value) : state_(std::in_place_index<0>, std::move(value)) {}
  Result(Unexpected failure) : state_(std::in_place_index<1>, std::move(failure.problem)) {}

  bool has_value() const { return state_.index() == 0; }
  explicit operator bool() const { return has_value(); }

  T& value() & { return std::get<0>(state_); }
  const T& value() const& { return std::get<0>(state_); }
  T&& value() && { return std::get<0>(std::move(state_)); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  const Problem& error() const { return std::get<1>(state_); }

 private:
  std::variant<T, Problem> state_;
};

// Done, or the problem that kept it from being done.
template <>
class Result<void> {
 public:
  Result() = default;
  Result(Unexpected failure) : problem_(std::move(failure.problem)) {}

  bool has_value() const { return !problem_.has_value(); }
  explicit operator bool() const { return has_value(); }
  void value() const {}

  const Problem& error() const { return *problem_; }

  // What did not stop it but a person should hear of afterwards: an earlier version that could
  // not be kept, a rewrite cut short that was mended on the way.
  const std::vector<Problem>& notes() const { return notes_; }
  Result& Note(std::vector<Problem> more) {
    notes_.insert(notes_.end(), more.begin(), more.end());
    return *this;
  }

 private:
  std::optional<Problem> problem_;
  std::vector<Problem> notes_;
};

}  // namespace store
