#include "form_design.h"

#include "morlex/control/morlex_date.h"

namespace morlex::demo {

std::filesystem::path FieldDesignFile(const std::filesystem::path& dir, DateColumn column) {
  return dir / (std::string(Info(column).name) + ".morlexbag");
}

bool HasFormDesign(const std::filesystem::path& dir) {
  std::error_code ec;
  for (DateColumn c : kDateColumns) {
    if (!std::filesystem::is_regular_file(FieldDesignFile(dir, c), ec)) return false;
  }
  return true;
}

void SaveFieldDesign(const std::filesystem::path& dir, DateColumn column, MorlexDate& control) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (ec) {
    throw Error(errnum::kFileFailure,
                "Could not create the design folder " + dir.string() + ": " + ec.message());
  }
  storage::FilePropertyBag bag;
  control.WriteProperties(bag);
  bag.WriteFile(FieldDesignFile(dir, column));
}

std::optional<storage::FilePropertyBag> LoadFieldDesign(const std::filesystem::path& dir,
                                                        DateColumn column,
                                                        std::vector<std::string>& problems) {
  const std::filesystem::path file = FieldDesignFile(dir, column);
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return std::nullopt;
  storage::FilePropertyBag bag = storage::FilePropertyBag::ReadFile(file);
  for (const std::string& p : bag.Problems())
    problems.push_back(file.filename().string() + ": " + p);
  return bag;
}

}  // namespace morlex::demo
