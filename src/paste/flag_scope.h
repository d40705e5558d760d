#pragma once

namespace hf::paste {

// Holds a flag set for the life of a scope; every way out, an exception
// included, clears it, so one failed action never makes later presses wait
// for ever.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace hf::paste
