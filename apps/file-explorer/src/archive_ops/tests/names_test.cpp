#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "archive_ops/create_zip.h"
#include "archive_ops/extract.h"
#include "archive_ops/numbered_name.h"

namespace files::archive_ops {
namespace {

TEST(NumberedName, NumberOneIsTheBaseAndLaterNumbersFollowABlank) {
  EXPECT_EQ(numbered_name("photos", 1, ""), "photos");
  EXPECT_EQ(numbered_name("photos", 2, ""), "photos 2");
  EXPECT_EQ(numbered_name("report", 12, ".zip"), "report 12.zip");
  EXPECT_EQ(numbered_name("Archive", kLastNameNumber, ".zip"), "Archive 4294967295.zip");
}

TEST(TemporaryNames, ExtractionFolderIsHiddenAndCarriesProcessAndAttempt) {
  const std::string pid = std::to_string(::getpid());
  EXPECT_EQ(temporary_folder_name("photos", 0), ".photos.extracting-" + pid + "-0");
  EXPECT_EQ(temporary_folder_name("data.tgz 2", 999), ".data.tgz 2.extracting-" + pid + "-999");
}

TEST(TemporaryNames, ZipPartReplacesTheExtensionAndIsNumberedWhenTaken) {
  struct Case {
    const char* zip;
    unsigned attempt;
    const char* part;
  };
  for (const Case& c :
       {Case{"Archive.zip", 1, "Archive.zip.part"}, Case{"report 2.zip", 1, "report 2.zip.part"},
        Case{"Archive.zip", 2, "Archive.zip.2.part"},
        Case{"Archive.zip", 17, "Archive.zip.17.part"},
        Case{"no-extension", 1, "no-extension.zip.part"}, Case{"odd.bin", 1, "odd.zip.part"}}) {
    EXPECT_EQ(temporary_zip_name(c.zip, c.attempt), c.part) << c.zip << " #" << c.attempt;
  }
}

}  // namespace
}  // namespace files::archive_ops
