#include "morlex/headless/property_bag.h"

namespace morlex::headless {

platform::Variant MemoryPropertyBag::ReadProperty(std::string_view key,
                                                  const platform::Variant& default_value) {
  const auto it = values_.find(key);
  return it != values_.end() ? it->second : default_value;
}

void MemoryPropertyBag::WriteProperty(std::string_view key, const platform::Variant& value,
                                      const platform::Variant& default_value) {
  values_.insert_or_assign(std::string(key), value);
  writes_.push_back({std::string(key), value, default_value});
}

void MemoryPropertyBag::Set(std::string_view key, platform::Variant value) {
  values_.insert_or_assign(std::string(key), std::move(value));
}

void MemoryPropertyBag::Clear() {
  values_.clear();
  writes_.clear();
}

bool MemoryPropertyBag::Contains(std::string_view key) const {
  return values_.find(key) != values_.end();
}

}  // namespace morlex::headless
