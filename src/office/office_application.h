#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/automation.h"

namespace hf::office {

// A program that can stand in for an office application, and the name a hint
// gives it.
struct Candidate {
  std::string progId;
  std::string name;
};

// The word processors, in the order they are tried: Word, then WPS under its
// current and its older name.
const std::vector<Candidate>& wordProcessors();
// The spreadsheets, likewise: Excel, then WPS.
const std::vector<Candidate>& spreadsheets();

// One office application the document modes write into, reached by
// automation. Holds at most one reference to it and never saves, closes or
// quits it: the documents stay the user's. Every call is retried for about
// a second while the application is busy (a dialog open in it).
class OfficeApplication {
 public:
  using Result = automation::Result<automation::Variant>;

  explicit OfficeApplication(const std::vector<Candidate>& candidates) : candidates_(candidates) {}

  // Creates the application anew, the first candidate that exists; the
  // earlier reference is let go (its documents stay open). The error says
  // why none could be created.
  automation::Result<Candidate> start();
  bool started() const { return !application_.empty(); }
  // The candidate that answered the last start.
  const Candidate& current() const { return current_; }
  const std::vector<Candidate>& candidates() const { return candidates_; }

  // Calls on the application, or on an object reached from it.
  Result get(std::string_view member, const std::vector<automation::Variant>& args = {}) const;
  Result put(std::string_view member, const automation::Variant& value) const;
  static Result get(const automation::Object& object, std::string_view member,
                    const std::vector<automation::Variant>& args = {});
  static Result call(const automation::Object& object, std::string_view member,
                     const std::vector<automation::Variant>& args = {});

 private:
  std::vector<Candidate> candidates_;
  Candidate current_;
  automation::Object application_;
};

// Runs an automation call again while the other program answers that it is
// busy: up to kBusyAttempts tries, kBusyRetryMs apart with the pause routine.
inline constexpr int kBusyAttempts = 5;
inline constexpr int kBusyRetryMs = 250;

}  // namespace hf::office
