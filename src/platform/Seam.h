#pragma once

#include <utility>

namespace platform {

// Where the calls of one desktop facility go: to the stand-in a test put in force, else to the
// real facility (`Facility::Real()`). Windows call the facility's static functions and never
// see which one answers.
template <class Facility>
class Seam {
 public:
  static Facility& Get() { return installed_ ? *installed_ : Facility::Real(); }
  // Puts `facility` in force (nullptr: the real one again) and returns the one it replaces.
  static Facility* Install(Facility* facility) { return std::exchange(installed_, facility); }

 private:
  static inline Facility* installed_ = nullptr;
};

// A stand-in for a facility, in force from its construction to its destruction; the one it
// replaced is back afterwards, so stand-ins nest.
template <class Facility>
class Scoped : public Facility {
 public:
  Scoped() : previous_(Seam<Facility>::Install(this)) {}
  ~Scoped() override { Seam<Facility>::Install(previous_); }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;

 private:
  Facility* previous_;
};

}  // namespace platform
