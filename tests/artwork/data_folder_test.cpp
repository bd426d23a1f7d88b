// Where the shared files are read from: the tree only for a binary beside
// the build's marker, else beside the binary's own install.
#include "morlex/artwork/data_folder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;
namespace artwork = morlex::artwork;

constexpr std::string_view kInstallDirs =
    "bin:lib/x86_64-linux-gnu:lib/x86_64-linux-gnu/qt6/plugins/designer";

TEST(DataFolder, InstalledBinariesFindTheFilesBesideTheirOwnInstall) {
  struct Case {
    const char* binary;
    const char* expected;
  };
  for (const Case& c : {
           Case{"/scratch/usr/bin/morlex-host", "/scratch/usr/share/MorlexDateControl/artwork"},
           Case{"/scratch/usr/lib/x86_64-linux-gnu/libmorlex_qt.so.1",
                "/scratch/usr/share/MorlexDateControl/artwork"},
           Case{"/opt/m/lib/x86_64-linux-gnu/qt6/plugins/designer/libmorlexdatewidget.so",
                "/opt/m/share/MorlexDateControl/artwork"},
           Case{"/bin/morlex-host", "/share/MorlexDateControl/artwork"},
           // Not one of the install folders: the configured prefix.
           Case{"/home/u/app/build/app", "/usr/share/MorlexDateControl/artwork"},
           Case{"/home/u/lib/app", "/usr/share/MorlexDateControl/artwork"},
           Case{"", "/usr/share/MorlexDateControl/artwork"},
       }) {
    SCOPED_TRACE(c.binary);
    EXPECT_EQ(artwork::detail::DataFolderFor(c.binary, "artwork", kInstallDirs, "/usr"),
              fs::path(c.expected));
  }
}

TEST(DataFolder, OnlyABinaryBesideTheMarkerReadsTheTree) {
  const fs::path dir = fs::path(testing::TempDir()) / ("morlex-data-" + std::to_string(::getpid()));
  fs::create_directories(dir / "bin");
  const fs::path binary = dir / "bin" / "morlex-host";
  {
    std::ofstream(dir / "bin" / artwork::kBuildTreeMarker)
        << "artwork=/src/artwork/pictures\ntranslations=/build/translations\n";
  }
  EXPECT_EQ(artwork::detail::DataFolderFor(binary, "artwork", kInstallDirs, "/usr"),
            fs::path("/src/artwork/pictures"));
  EXPECT_EQ(artwork::detail::DataFolderFor(binary, "translations", kInstallDirs, "/usr"),
            fs::path("/build/translations"));
  // A kind the marker does not name, or a name that merely starts alike,
  // is the installed one.
  EXPECT_EQ(artwork::detail::DataFolderFor(binary, "art", kInstallDirs, "/usr"),
            dir / "share/MorlexDateControl/art");
  fs::remove_all(dir);
  EXPECT_EQ(artwork::detail::DataFolderFor(binary, "artwork", kInstallDirs, "/usr"),
            dir / "share/MorlexDateControl/artwork");
}

TEST(DataFolder, ThisBinaryIsTheTestProgram) {
  std::error_code ec;
  EXPECT_EQ(artwork::detail::ThisBinary(), fs::canonical("/proc/self/exe", ec));
}

}  // namespace
