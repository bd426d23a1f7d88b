#pragma once
// The command language of morlex-host: one command a line, played on a
// Stage, printing what the control tells its host.

#include <istream>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "morlex/headless/property_bag.h"
#include "morlex/host/stage.h"

namespace morlex::host {

// A malformed line: the run stops, and the host exits with status 2.
class ScriptError : public std::runtime_error {
 public:
  ScriptError(int line, const std::string& message)
      : std::runtime_error("line " + std::to_string(line) + ": " + message), line_(line) {}
  int line() const { return line_; }

 private:
  int line_;
};

struct Token {
  std::string text;  // UTF-8, escapes resolved
  bool quoted = false;
};

// Splits a line into tokens: blanks separate them; a token in double quotes
// may hold blanks, with \" and \\ inside. Throws std::invalid_argument for an
// unterminated quote or an unknown escape.
std::vector<Token> Tokenize(std::string_view line);

// Reads "YYYY-MM-DD"; nullopt when it is not a valid date.
std::optional<Date> ParseIsoDate(std::string_view text);

class ScriptRunner {
 public:
  ScriptRunner(Binding& binding, std::ostream& out);
  ~ScriptRunner();

  Stage& GetStage() { return stage_; }
  void SetToday(Date today) { stage_.SetToday(today); }

  // Runs every line; throws ScriptError at the first malformed one (the
  // lines before it have run and printed).
  void Run(std::istream& in);
  // Runs one line (number is for messages).
  void RunLine(std::string_view line, int number);

 private:
  void Execute(const std::vector<Token>& tokens, int number);
  void Emit(const std::string& line);
  void EmitError(std::string_view description);

  std::ostream& out_;
  Stage stage_;
  headless::MemoryPropertyBag bag_;
};

}  // namespace morlex::host
