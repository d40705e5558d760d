#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

// Late-bound automation objects (word processors, spreadsheets): created by
// ProgID, their members reached by name. Objects are counted references to
// the other program's objects, released when the last handle goes. Every
// failure is a value; nothing here throws. Calls are made on the UI thread,
// while an Apartment lives. Once the program has begun to close
// (desktop::endSimulatedInput), no call or creation goes out.
//
// Every call and creation has a time limit. While it waits, the UI thread
// processes every event (the window answers clicks and keys, hotkeys run). A
// call the other program does not answer in time fails with kTimedOut; until
// its late answer comes (it is then dropped), every further call and creation
// fails at once with kTimedOut and nothing is sent, so nothing reaches the
// other program late. A call made by a handler that ran while an earlier call
// waited fails the same way.
namespace hf::automation {

// How long a call, and the start of an application, may take.
inline constexpr int kCallTimeLimitMs = 3000;
inline constexpr int kCreateTimeLimitMs = 20000;

// Result codes the callers act on (HRESULT values).
inline constexpr std::int32_t kCallRejected = static_cast<std::int32_t>(0x80010001);
inline constexpr std::int32_t kRetryLater = static_cast<std::int32_t>(0x8001010A);
inline constexpr std::int32_t kServerUnavailable = static_cast<std::int32_t>(0x800706BA);
inline constexpr std::int32_t kDisconnected = static_cast<std::int32_t>(0x80010108);
inline constexpr std::int32_t kServerDied = static_cast<std::int32_t>(0x80010007);
inline constexpr std::int32_t kServerDiedDne = static_cast<std::int32_t>(0x80010012);
inline constexpr std::int32_t kNotConnected = static_cast<std::int32_t>(0x800401FD);
inline constexpr std::int32_t kUnknownName = static_cast<std::int32_t>(0x80020006);
inline constexpr std::int32_t kClassNotRegistered = static_cast<std::int32_t>(0x80040154);
inline constexpr std::int32_t kInvalidClassString = static_cast<std::int32_t>(0x800401F3);
inline constexpr std::int32_t kTypeMismatch = static_cast<std::int32_t>(0x80020005);
inline constexpr std::int32_t kTimedOut = static_cast<std::int32_t>(0x8001011F);  // RPC_E_TIMEOUT
inline constexpr std::int32_t kNoObject = static_cast<std::int32_t>(0x80004003);  // E_POINTER
// Made after desktop::endSimulatedInput(): the program is closing (E_ABORT).
inline constexpr std::int32_t kProgramClosing = static_cast<std::int32_t>(0x80004004);

struct Error {
  std::int32_t code = 0;
  std::string text;  // short, GBK

  // The other program is busy (a dialog is open): the same call may work a moment later.
  bool busy() const { return code == kCallRejected || code == kRetryLater; }
  // The other program did not answer in time, or has not yet answered an earlier call.
  bool unanswered() const { return code == kTimedOut; }
  // The other program has gone (the user closed it): its objects are dead for good.
  bool serverGone() const {
    return code == kServerUnavailable || code == kDisconnected || code == kServerDied ||
           code == kServerDiedDne || code == kNotConnected;
  }
};

// The answer to every call and creation once the program has begun to close.
inline Error programClosing() {
  return {kProgramClosing, "the program is closing"};
}

template <class T>
class Result {
 public:
  Result(T value) : state_(std::move(value)) {}
  Result(Error error) : state_(std::move(error)) {}

  bool ok() const { return state_.index() == 0; }
  explicit operator bool() const { return ok(); }
  const T& value() const { return std::get<0>(state_); }
  T& value() { return std::get<0>(state_); }
  const Error& error() const { return std::get<1>(state_); }

 private:
  std::variant<T, Error> state_;
};

class Object;

// An argument or a result: nothing, a Boolean, an integer, a GBK text or an object.
using Variant = std::variant<std::monostate, bool, int, std::string, Object>;

class Object {
 public:
  struct Impl;  // each backend's own
  Object() = default;
  explicit Object(std::shared_ptr<Impl> impl) : impl_(std::move(impl)) {}

  // No object (a property that held none, or an object never created).
  bool empty() const { return impl_ == nullptr; }
  // Lets go of this handle's reference.
  void reset() { impl_.reset(); }

  // Reads a property; some properties take arguments (a cell range by its address).
  Result<Variant> get(std::string_view member, const std::vector<Variant>& args = {}) const;
  // Sets a property.
  Result<Variant> put(std::string_view member, const Variant& value) const;
  // Invokes a method.
  Result<Variant> call(std::string_view member, const std::vector<Variant>& args = {}) const;

  const std::shared_ptr<Impl>& impl() const { return impl_; }
  friend bool operator==(const Object& a, const Object& b) { return a.impl_ == b.impl_; }

 private:
  std::shared_ptr<Impl> impl_;
};

// The object a variant holds; an error when it holds none.
Result<Object> asObject(const Result<Variant>& result);

// COM for the calling thread (the UI thread) and for the calls, while this lives.
class Apartment {
 public:
  Apartment();
  ~Apartment();
  Apartment(const Apartment&) = delete;
  Apartment& operator=(const Apartment&) = delete;

 private:
  bool opened_ = false;
};

struct Created {
  Object object;
  std::string progId;  // the one that was created
};

// Whether a call that ran out of time still waits for its answer.
bool awaitingLateAnswer();

// Creates an object of the first ProgID in the list that the system can
// create; the error is that of the last one tried.
Result<Created> create(const std::vector<std::string>& progIds);

}  // namespace hf::automation
