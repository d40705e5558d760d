#include "office/office_application.h"

#include <functional>

#include "platform/event_loop.h"

namespace hf::office {
namespace {

using automation::Object;
using automation::Variant;
using Result = OfficeApplication::Result;

Result patiently(const std::function<Result()>& attempt) {
  Result result = attempt();
  for (int tries = 1; tries < kBusyAttempts && !result && result.error().busy(); ++tries) {
    loop::pause(kBusyRetryMs);
    result = attempt();
  }
  return result;
}

}  // namespace

const std::vector<Candidate>& wordProcessors() {
  static const std::vector<Candidate> list{{"Word.Application", "Word"},
                                           {"KWPS.Application", "WPS文字"},
                                           {"wps.Application", "WPS文字"}};
  return list;
}

const std::vector<Candidate>& spreadsheets() {
  static const std::vector<Candidate> list{{"Excel.Application", "Excel"},
                                           {"KET.Application", "WPS表格"},
                                           {"et.Application", "WPS表格"}};
  return list;
}

automation::Result<Candidate> OfficeApplication::start() {
  application_.reset();
  current_ = {};
  std::vector<std::string> progIds;
  for (const Candidate& candidate : candidates_) progIds.push_back(candidate.progId);
  auto created = automation::create(progIds);
  if (!created) return created.error();
  application_ = created.value().object;
  for (const Candidate& candidate : candidates_)
    if (candidate.progId == created.value().progId) current_ = candidate;
  return current_;
}

Result OfficeApplication::get(std::string_view member, const std::vector<Variant>& args) const {
  return get(application_, member, args);
}

Result OfficeApplication::put(std::string_view member, const Variant& value) const {
  return patiently([&] { return application_.put(member, value); });
}

Result OfficeApplication::get(const Object& object, std::string_view member,
                              const std::vector<Variant>& args) {
  return patiently([&] { return object.get(member, args); });
}

Result OfficeApplication::call(const Object& object, std::string_view member,
                               const std::vector<Variant>& args) {
  return patiently([&] { return object.call(member, args); });
}

}  // namespace hf::office
