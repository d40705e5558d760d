#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation.h"

// Test control of the automation servers on the simulated desktop: which
// ProgIDs can be created, what their objects answer, and a record of every
// call in order. After reset no server is installed and the record is empty.
//
// Each object has a path: the ProgID it was created from, then the members
// that led to it ("Excel.Application.ActiveSheet.UsedRange"). By default a
// get or a call answers a new object whose path adds the member (and its
// arguments, as in "Excel.Application.Range("A2")"), and a put answers
// nothing; a responder a test installs may answer otherwise.
namespace hf::headless {

struct AutomationCall {
  std::int64_t at = 0;  // virtual time
  std::string progId;   // of the server, as installed
  int instance = 0;     // which creation of its server (1 for the first)
  std::string object;   // the path of the object called; the ProgID for a creation
  std::string action;   // "create", "get", "put" or "call"
  std::string member;
  std::vector<automation::Variant> args;  // a put's value is its one argument

  // "create Word.Application", "Word.Application get Documents",
  // "Word.Application put Visible = true",
  // "Word.Application.Selection call TypeText("a")"
  std::string text() const;
};

// The ProgID can be created from now on (compared without regard to case).
void installAutomationServer(std::string_view progId);

using AutomationResponder =
    std::function<std::optional<automation::Result<automation::Variant>>(const AutomationCall&)>;
// Sees every call to a live object first; nothing leaves the default answer.
void respondToAutomation(AutomationResponder responder);
// An object of the same server instance as the call, with the path of the
// object called plus "." + name, for a responder to answer with.
automation::Object automationObject(const AutomationCall& from, std::string_view name);

// The next `count` calls to live objects are refused as a server with a
// dialog open refuses them (call rejected by callee).
void rejectAutomationCalls(int count);
// The application hangs in every call of this member (on any object): such a
// call is logged, then waits out the time limit while events run, and fails
// as unanswered; from then on nothing more reaches any server until
// answerHungAutomation.
void hangAutomationCalls(std::string_view member);
// The hung application answers at last (its late answers are dropped) and
// answers every call again.
void answerHungAutomation();
// The user closes the application: every object of every instance created
// so far from the ProgID is dead, and each call to one fails as calls to a
// server that has gone do.
void closeAutomationApplication(std::string_view progId);

std::vector<AutomationCall> automationCalls();  // creations included, failed ones too
std::vector<std::string> automationLog();       // the same as texts
void clearAutomationLog();
// Objects that some handle of the program still holds.
int liveAutomationObjects();

}  // namespace hf::headless
