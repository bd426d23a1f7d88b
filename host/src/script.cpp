#include "morlex/host/script.h"

#include <charconv>
#include <cmath>
#include <stdexcept>

#include "commands.h"
#include "morlex/core/error.h"
#include "morlex/core/quoted_text.h"
#include "morlex/core/unicode.h"

namespace morlex::host {

std::vector<Token> Tokenize(std::string_view line) {
  std::vector<Token> tokens;
  std::size_t i = 0;
  auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (i < line.size()) {
    if (blank(line[i])) {
      ++i;
      continue;
    }
    Token t;
    if (line[i] == '"') {
      t.quoted = true;
      ++i;
      switch (ReadQuoted(line, i, t.text, /*newline_escape=*/false)) {
        case QuotedRead::kRead:
          break;
        case QuotedRead::kBadEscape:
          throw std::invalid_argument("bad escape in quoted string (only \\\" and \\\\)");
        case QuotedRead::kUnterminated:
          throw std::invalid_argument("unterminated quoted string");
      }
      if (i < line.size() && !blank(line[i])) {
        throw std::invalid_argument("a quoted string must be followed by a blank");
      }
    } else {
      while (i < line.size() && !blank(line[i])) {
        if (line[i] == '"') throw std::invalid_argument("a quote inside a word");
        t.text.push_back(line[i++]);
      }
    }
    tokens.push_back(std::move(t));
  }
  return tokens;
}

std::optional<Date> ParseIsoDate(std::string_view text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  auto num = [&](std::size_t pos, std::size_t len, int& out) {
    const auto r = std::from_chars(text.data() + pos, text.data() + pos + len, out);
    return r.ec == std::errc() && r.ptr == text.data() + pos + len;
  };
  Date d;
  if (!num(0, 4, d.year) || !num(5, 2, d.month) || !num(8, 2, d.day)) return std::nullopt;
  if (!d.ok()) return std::nullopt;
  return d;
}

namespace detail {

void Context::ExpectCount(Args args, std::size_t min, std::size_t max,
                          std::string_view usage) const {
  if (args.size() < min || args.size() > max) Malformed("usage: " + std::string(usage));
}

std::int64_t Context::Integer(const Token& t, std::int64_t min, std::int64_t max) const {
  std::int64_t v = 0;
  const char* first = t.text.data();
  const char* last = first + t.text.size();
  const auto r = std::from_chars(first, last, v);
  if (t.quoted || t.text.empty() || r.ec != std::errc() || r.ptr != last || v < min || v > max) {
    Malformed("expected a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
              ", got '" + t.text + "'");
  }
  return v;
}

double Context::Number(const Token& t) const {
  double v = 0;
  const char* first = t.text.data();
  const char* last = first + t.text.size();
  const auto r = std::from_chars(first, last, v);
  if (t.quoted || t.text.empty() || r.ec != std::errc() || r.ptr != last || !std::isfinite(v)) {
    Malformed("expected a number, got '" + t.text + "'");
  }
  return v;
}

platform::Variant Context::Value(const Token& t) const {
  if (t.quoted) return FromUtf8(t.text);
  if (t.text == "True") return true;
  if (t.text == "False") return false;
  std::int64_t whole = 0;
  const char* first = t.text.data();
  const char* last = first + t.text.size();
  const auto r = std::from_chars(first, last, whole);
  if (r.ec == std::errc() && r.ptr == last && whole >= INT32_MIN && whole <= INT32_MAX) {
    return static_cast<std::int32_t>(whole);
  }
  return Number(t);
}

bool Context::YesNo(const Token& t) const {
  if (!t.quoted && t.text == "yes") return true;
  if (!t.quoted && t.text == "no") return false;
  Malformed("expected yes or no, got '" + t.text + "'");
}

bool Context::UpDown(const Token& t) const {
  if (!t.quoted && t.text == "up") return true;
  if (!t.quoted && t.text == "down") return false;
  Malformed("expected up or down, got '" + t.text + "'");
}

MorlexDate& Context::Control() const {
  MorlexDate* c = stage.Control();
  if (c == nullptr) Malformed("no control yet: use new or load first");
  return *c;
}

const CommandTable& Commands() {
  static const CommandTable table = [] {
    CommandTable t;
    RegisterCoreCommands(t);
    RegisterDialogCommands(t);
    RegisterPersistenceCommands(t);
    return t;
  }();
  return table;
}

}  // namespace detail

ScriptRunner::ScriptRunner(Binding& binding, std::ostream& out)
    : out_(out), stage_(binding, [this](const std::string& line) { Emit(line); }) {}

ScriptRunner::~ScriptRunner() = default;

void ScriptRunner::Emit(const std::string& line) {
  out_ << line << '\n';
}

void ScriptRunner::EmitError(std::string_view description) {
  Emit("error " + Quote(description));
}

void ScriptRunner::Run(std::istream& in) {
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    RunLine(line, number);
  }
  out_.flush();
}

void ScriptRunner::RunLine(std::string_view line, int number) {
  std::vector<Token> tokens;
  try {
    tokens = Tokenize(line);
  } catch (const std::invalid_argument& e) {
    throw ScriptError(number, e.what());
  }
  if (tokens.empty() || (!tokens[0].quoted && tokens[0].text.starts_with('#'))) return;
  Execute(tokens, number);
}

void ScriptRunner::Execute(const std::vector<Token>& tokens, int number) {
  const auto& table = detail::Commands();
  const auto it = tokens[0].quoted ? table.end() : table.find(tokens[0].text);
  if (it == table.end()) throw ScriptError(number, "unknown command '" + tokens[0].text + "'");
  detail::Context ctx{stage_, bag_, [this](const std::string& l) { Emit(l); }, number};
  try {
    it->second(ctx, detail::Args(tokens).subspan(1));
  } catch (const ScriptError&) {
    throw;
  } catch (const Error& e) {
    EmitError(e.description());
  } catch (const std::exception& e) {
    EmitError(e.what());
  }
}

}  // namespace morlex::host
