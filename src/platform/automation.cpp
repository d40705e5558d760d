#include "platform/automation.h"

namespace hf::automation {

Result<Object> asObject(const Result<Variant>& result) {
  if (!result) return result.error();
  if (const Object* object = std::get_if<Object>(&result.value()); object && !object->empty())
    return *object;
  return Error{kTypeMismatch, "not an object"};
}

}  // namespace hf::automation
