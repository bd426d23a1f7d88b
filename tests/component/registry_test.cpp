// The registry file: registration adds its entries, unregistration removes
// exactly them, and nobody else's lines are touched.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "morlex/component/registry.h"
#include "morlex/core/error.h"

namespace {

namespace fs = std::filesystem;
using morlex::component::RegistryEntry;

class Registry : public testing::Test {
 protected:
  void SetUp() override {
    file_ = fs::path(testing::TempDir()) /
            ("morlex-reg-" + std::to_string(::getpid()) + "-" +
             testing::UnitTest::GetInstance()->current_test_info()->name()) /
            "registry.txt";
    fs::remove_all(file_.parent_path());
  }
  void TearDown() override { fs::remove_all(file_.parent_path()); }

  void Write(const std::string& text) {
    fs::create_directories(file_.parent_path());
    std::ofstream(file_, std::ios::binary) << text;
  }
  std::string Read() const {
    std::ifstream in(file_, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  fs::path file_;
};

TEST_F(Registry, EntriesRoundTripWithAwkwardValues) {
  const std::vector<RegistryEntry> entries = {
      {"A\\B", "", "plain"},
      {"A\\B", "Named", "with \"quotes\" and \\ back"},
      {"A\\C", "", "line\nbreak"},
      {"A\\D", "", ""},
  };
  morlex::component::AddRegistryEntries(file_, entries);  // creates the folder too
  const auto back = morlex::component::ReadRegistry(file_);
  ASSERT_EQ(back.size(), entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(back[i].key, entries[i].key);
    EXPECT_EQ(back[i].name, entries[i].name);
    EXPECT_EQ(back[i].value, entries[i].value);
  }
}

TEST_F(Registry, AddingReplacesInPlaceAndKeepsForeignLines) {
  Write(
      "# a comment\n"
      "Other\\Key = \"theirs\"\n"
      "A\\B = \"old\"\n"
      "not an entry at all\n"
      "A\\B = \"duplicate\"\n"
      "\n");
  morlex::component::AddRegistryEntries(file_, {{"A\\B", "", "new"}, {"A\\C", "V", "added"}});
  EXPECT_EQ(Read(),
            "# a comment\n"
            "Other\\Key = \"theirs\"\n"
            "A\\B = \"new\"\n"
            "not an entry at all\n"
            "\n"
            "A\\C @V = \"added\"\n");
}

TEST_F(Registry, RemovingTakesOutExactlyOurKeysWhateverTheirValues) {
  const std::string theirs =
      "Other\\Key = \"theirs\"\n"
      "A\\B @Other = \"a different value name stays\"\n";
  Write(theirs + "A\\B = \"written from another folder\"\nA\\C @V = \"x\"\n");
  morlex::component::RemoveRegistryEntries(file_, {{"A\\B", "", ""}, {"A\\C", "V", ""}});
  EXPECT_EQ(Read(), theirs);
  // Nothing of ours left: the file is not even rewritten.
  const auto before = fs::last_write_time(file_);
  morlex::component::RemoveRegistryEntries(file_, {{"A\\B", "", ""}});
  EXPECT_EQ(fs::last_write_time(file_), before);
}

TEST_F(Registry, AFileLeftEmptyIsRemovedAndAMissingOneIsNoError) {
  morlex::component::AddRegistryEntries(file_, {{"A", "", "1"}});
  morlex::component::RemoveRegistryEntries(file_, {{"A", "", ""}});
  EXPECT_FALSE(fs::exists(file_));
  EXPECT_NO_THROW(morlex::component::RemoveRegistryEntries(file_, {{"A", "", ""}}));
  EXPECT_TRUE(morlex::component::ReadRegistry(file_).empty());
}

TEST_F(Registry, RegistrationEntriesNameTheModuleAndTheClass) {
  const auto entries = morlex::component::RegistrationEntries("/opt/x/libMorlexDateControl.so.1");
  std::set<std::string> identities;
  int module_paths = 0;
  for (const auto& e : entries) {
    EXPECT_TRUE(identities.insert(e.key + "|" + e.name).second) << "twice: " << e.Line();
    if (e.value.find("libMorlexDateControl") != std::string::npos) ++module_paths;
  }
  EXPECT_EQ(module_paths, 3);  // the type library, the server, the toolbox picture
  const auto has = [&](const std::string& line) {
    for (const auto& e : entries) {
      if (e.Line() == line) return true;
    }
    return false;
  };
  const std::string clsid = "Classes\\CLSID\\{DA8F975A-1B16-49F1-AA70-C2481B472CBF}";
  EXPECT_TRUE(has(clsid + "\\InprocServer32 @ThreadingModel = \"Apartment\""));
  EXPECT_TRUE(has(clsid + "\\MiscStatus\\1 = \"131473\""));
  EXPECT_TRUE(has(clsid + "\\ToolboxBitmap32 = \"/opt/x/libMorlexDateControl.so.1, 30000\""));
  EXPECT_TRUE(has(clsid + "\\Control = \"\""));
  EXPECT_TRUE(
      has("Classes\\TypeLib\\{7ECC7AC3-8251-470D-AC79-D6549E7E4A7C}\\9.0 = "
          "\"Morlex Date Control\""));
}

TEST_F(Registry, TheFileComesFromTheEnvironment) {
  ::setenv("MORLEX_REGISTRY", "/some/where/reg.txt", 1);
  EXPECT_EQ(morlex::component::RegistryPath(), fs::path("/some/where/reg.txt"));
  ::unsetenv("MORLEX_REGISTRY");
  ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
  EXPECT_EQ(morlex::component::RegistryPath(), fs::path("/cfg/morlex/registry.txt"));
  ::unsetenv("XDG_CONFIG_HOME");
  if (const char* home = std::getenv("HOME")) {
    EXPECT_EQ(morlex::component::RegistryPath(),
              fs::path(home) / ".config" / "morlex" / "registry.txt");
  }
}

}  // namespace
