// The property-bag file reader meets any bytes: reading never fails; what it
// kept writes back out as a file that reads cleanly into the same bag; a
// field loaded from it loads without failing and stays whole; and the field's
// settings saved to a file come back exactly, so that saving, loading and
// saving again stores the same file. The first byte's low bit picks the
// ambient UserMode (run or design) for the fields.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "morlex/core/date_text.h"
#include "morlex/host/binding.h"
#include "morlex/host/stage.h"
#include "morlex/storage/property_bag_file.h"

namespace {

using morlex::storage::FilePropertyBag;

[[noreturn]] void Fail(const std::string& what, const std::string& detail = {}) {
  std::fprintf(stderr, "invariant broken: %s\n%s\n", what.c_str(), detail.c_str());
  std::abort();
}

// Loads a field from bag and saves it to a new bag.
std::string LoadAndSave(FilePropertyBag& bag, bool user_mode) {
  auto binding = morlex::host::MakeHeadlessBinding();
  morlex::host::Stage stage(*binding);
  stage.SetToday({2026, 12, 8});
  stage.SetUserMode(user_mode);
  morlex::MorlexDate* control = nullptr;
  try {
    control = &stage.Load(bag);
  } catch (const std::exception& e) {
    Fail(std::string("loading failed: ") + e.what());
  }
  const std::u16string text = control->Text();
  const int start = control->SelStart();
  const int length = control->SelLength();
  if (start < 0 || length < 0 || start + length > static_cast<int>(text.size())) {
    Fail("the loaded selection lies outside the text");
  }
  FilePropertyBag saved;
  control->WriteProperties(saved);
  if (saved.size() != 18) Fail("saving did not write the 18 settings");
  return saved.Serialize();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 64 * 1024) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  FilePropertyBag bag = FilePropertyBag::Parse(text);

  // What was kept is written out as a file that reads back cleanly, to the
  // same file again.
  const std::string written = bag.Serialize();
  FilePropertyBag reread = FilePropertyBag::Parse(written);
  if (!reread.Problems().empty()) Fail("a written file read with problems", written);
  if (reread.size() != bag.size() || reread.Serialize() != written) {
    Fail("a written file did not read back the same", written);
  }

  // Loading never fails, and what the field then saves survives a file:
  // saved, loaded into a new field and saved again, it is the same file.
  const bool user_mode = size == 0 || (data[0] & 1) == 0;
  const std::string first = LoadAndSave(bag, user_mode);
  FilePropertyBag stored = FilePropertyBag::Parse(first);
  if (!stored.Problems().empty()) Fail("a saved field read with problems", first);
  const std::string second = LoadAndSave(stored, user_mode);
  if (second != first) Fail("settings changed across a save and a load", first + "\n" + second);
  return 0;
}
