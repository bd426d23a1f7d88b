#pragma once
// A property bag kept in memory: what is written comes back from a read with
// the kind it was written with; a key never written gives the default.

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "morlex/platform/host.h"

namespace morlex::headless {

class MemoryPropertyBag : public platform::PropertyBag {
 public:
  struct Write {
    std::string key;
    platform::Variant value;
    platform::Variant default_value;
  };

  platform::Variant ReadProperty(std::string_view key,
                                 const platform::Variant& default_value) override;
  void WriteProperty(std::string_view key, const platform::Variant& value,
                     const platform::Variant& default_value) override;

  void Set(std::string_view key, platform::Variant value);
  void Clear();
  bool Contains(std::string_view key) const;
  const std::map<std::string, platform::Variant, std::less<>>& Values() const { return values_; }
  // Every write in the order it happened.
  const std::vector<Write>& Writes() const { return writes_; }

 private:
  std::map<std::string, platform::Variant, std::less<>> values_;
  std::vector<Write> writes_;
};

}  // namespace morlex::headless
