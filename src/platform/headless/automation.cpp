// Automation servers that tests script, with a record of every call.
#include "platform/automation.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>

#include "platform/event_loop.h"
#include "platform/headless/automation_simulation.h"
#include "platform/headless/internal.h"
#include "platform/input_gate.h"

namespace hf::automation {

// One instance of a server: all its objects die together when the user closes it.
struct Instance {
  std::string progId;
  int number = 0;
  bool alive = true;
};

struct Object::Impl {
  std::shared_ptr<Instance> instance;
  std::string path;
  // The count of live objects of the desktop it was made on; a reset desktop
  // counts afresh, whoever still holds an old object.
  std::shared_ptr<int> liveObjects;
  Impl(std::shared_ptr<Instance> owner, std::string objectPath);
  ~Impl();
};

}  // namespace hf::automation

namespace hf::headless {
namespace {

using automation::Error;
using automation::Instance;
using automation::Object;
using automation::Result;
using automation::Variant;

std::string folded(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

struct Servers {
  std::map<std::string, std::string> installed;  // folded ProgID -> its spelling
  // By folded ProgID and number.
  std::map<std::pair<std::string, int>, std::weak_ptr<Instance>> instances;
  std::map<std::string, int> created;  // by folded ProgID
  AutomationResponder responder;
  int rejections = 0;
  std::string hungMember;
  bool callOut = false;  // a hung call is waiting out its limit
  bool late = false;     // a hung call ran out of time and has not been answered
  std::shared_ptr<int> liveObjects = std::make_shared<int>(0);
  std::vector<AutomationCall> calls;
};

Servers& servers() {
  static Servers instance;
  return instance;
}

std::string argumentText(const Variant& value) {
  struct Writer {
    std::string operator()(std::monostate) const { return "empty"; }
    std::string operator()(bool b) const { return b ? "true" : "false"; }
    std::string operator()(int i) const { return std::to_string(i); }
    std::string operator()(const std::string& s) const { return "\"" + s + "\""; }
    std::string operator()(const Object& o) const { return o.empty() ? "nothing" : o.impl()->path; }
  };
  return std::visit(Writer{}, value);
}

std::string argumentsText(const std::vector<Variant>& args) {
  std::string text = "(";
  for (std::size_t i = 0; i < args.size(); ++i) text += (i ? ", " : "") + argumentText(args[i]);
  return text + ")";
}

// A hung call is still waiting out its limit, or has not been answered since.
bool awaitingAnswer() {
  return servers().callOut || servers().late;
}

Error unanswered() {
  return Error{automation::kTimedOut, "an earlier call is still unanswered"};
}

Result<Variant> hang() {
  servers().callOut = true;
  loop::preciseWait(automation::kCallTimeLimitMs);
  servers().callOut = false;
  if (desktop::simulatedInputEnded()) return automation::programClosing();
  servers().late = true;
  return Error{automation::kTimedOut, "no answer in time"};
}

Result<Variant> invoke(const Object::Impl& target, std::string action, std::string_view member,
                       const std::vector<Variant>& args) {
  if (desktop::simulatedInputEnded()) return automation::programClosing();
  if (awaitingAnswer()) return unanswered();
  AutomationCall call{loop::nowMs(), target.instance->progId, target.instance->number,
                      target.path,   std::move(action),       std::string(member),
                      args};
  servers().calls.push_back(call);
  if (!target.instance->alive)
    return Error{automation::kServerUnavailable, "the server is unavailable"};
  if (call.member == servers().hungMember) return hang();
  if (servers().rejections > 0) {
    --servers().rejections;
    return Error{automation::kCallRejected, "call rejected by callee"};
  }
  if (servers().responder)
    if (auto answer = servers().responder(call)) return std::move(*answer);
  if (call.action == "put") return Variant{};
  const std::string name = args.empty() ? std::string(member) : call.member + argumentsText(args);
  return Variant{automationObject(call, name)};
}

}  // namespace

std::string AutomationCall::text() const {
  if (action == "create") return "create " + object;
  if (action == "put")
    return object + " put " + member + " = " + (args.empty() ? "" : argumentText(args.front()));
  return object + " " + action + " " + member + (args.empty() ? "" : argumentsText(args));
}

void installAutomationServer(std::string_view progId) {
  servers().installed[folded(progId)] = std::string(progId);
}

void respondToAutomation(AutomationResponder responder) {
  servers().responder = std::move(responder);
}

Object automationObject(const AutomationCall& from, std::string_view name) {
  const auto found = servers().instances.find({folded(from.progId), from.instance});
  if (found == servers().instances.end()) return {};
  const auto instance = found->second.lock();
  if (!instance) return {};
  return Object(std::make_shared<Object::Impl>(instance, from.object + "." + std::string(name)));
}

void rejectAutomationCalls(int count) {
  servers().rejections = count;
}

void hangAutomationCalls(std::string_view member) {
  servers().hungMember = member;
}

void answerHungAutomation() {
  servers().hungMember.clear();
  servers().late = false;
}

void closeAutomationApplication(std::string_view progId) {
  for (const auto& [key, weak] : servers().instances)
    if (const auto instance = weak.lock(); instance && key.first == folded(progId))
      instance->alive = false;
}

std::vector<AutomationCall> automationCalls() {
  return servers().calls;
}

std::vector<std::string> automationLog() {
  std::vector<std::string> log;
  for (const AutomationCall& call : servers().calls) log.push_back(call.text());
  return log;
}

void clearAutomationLog() {
  servers().calls.clear();
}

int liveAutomationObjects() {
  return *servers().liveObjects;
}

namespace internal {

void resetAutomation() {
  Servers old = std::move(servers());  // its objects may reach the fresh state when they go
  servers() = Servers{};
}

}  // namespace internal
}  // namespace hf::headless

namespace hf::automation {

Object::Impl::Impl(std::shared_ptr<Instance> owner, std::string objectPath)
    : instance(std::move(owner)),
      path(std::move(objectPath)),
      liveObjects(headless::servers().liveObjects) {
  ++*liveObjects;
}

Object::Impl::~Impl() {
  --*liveObjects;
}

Result<Variant> Object::get(std::string_view member, const std::vector<Variant>& args) const {
  if (!impl_) return Error{kNoObject, "no object"};
  return headless::invoke(*impl_, "get", member, args);
}

Result<Variant> Object::put(std::string_view member, const Variant& value) const {
  if (!impl_) return Error{kNoObject, "no object"};
  return headless::invoke(*impl_, "put", member, {value});
}

Result<Variant> Object::call(std::string_view member, const std::vector<Variant>& args) const {
  if (!impl_) return Error{kNoObject, "no object"};
  return headless::invoke(*impl_, "call", member, args);
}

Apartment::Apartment() : opened_(true) {}
Apartment::~Apartment() = default;

bool awaitingLateAnswer() {
  return headless::servers().late;
}

Result<Created> create(const std::vector<std::string>& progIds) {
  if (desktop::simulatedInputEnded()) return programClosing();
  if (headless::awaitingAnswer()) return headless::unanswered();
  Error last{kInvalidClassString, "nothing to create"};
  auto& state = headless::servers();
  for (const std::string& progId : progIds) {
    const std::string key = headless::folded(progId);
    const auto installed = state.installed.find(key);
    const int number = installed == state.installed.end() ? 0 : ++state.created[key];
    const std::string spelling = installed == state.installed.end() ? progId : installed->second;
    state.calls.push_back({loop::nowMs(), spelling, number, spelling, "create", "", {}});
    if (installed == state.installed.end()) {
      last = Error{kInvalidClassString, "invalid class string"};
      continue;
    }
    auto instance = std::make_shared<Instance>(Instance{spelling, number, true});
    state.instances[{key, number}] = instance;
    return Created{Object(std::make_shared<Object::Impl>(instance, installed->second)), progId};
  }
  return last;
}

}  // namespace hf::automation
