#pragma once
// Internal: the command table of the script runner. Each group of commands
// registers itself from its own file.

#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "morlex/headless/property_bag.h"
#include "morlex/host/script.h"
#include "morlex/host/stage.h"

namespace morlex::host::detail {

using Args = std::span<const Token>;

struct Context {
  Stage& stage;
  headless::MemoryPropertyBag& bag;
  std::function<void(const std::string&)> emit;
  int line = 0;

  [[noreturn]] void Malformed(const std::string& message) const {
    throw ScriptError(line, message);
  }
  void ExpectCount(Args args, std::size_t min, std::size_t max, std::string_view usage) const;
  std::int64_t Integer(const Token& t, std::int64_t min, std::int64_t max) const;
  double Number(const Token& t) const;
  // A VALUE: a number, a quoted string, True or False.
  platform::Variant Value(const Token& t) const;
  bool YesNo(const Token& t) const;
  bool UpDown(const Token& t) const;  // true for "up"
  MorlexDate& Control() const;
};

using Handler = std::function<void(Context&, Args)>;
using CommandTable = std::map<std::string, Handler, std::less<>>;

void RegisterCoreCommands(CommandTable& table);
void RegisterDialogCommands(CommandTable& table);
void RegisterPersistenceCommands(CommandTable& table);

}  // namespace morlex::host::detail
