#include "fileops/templates.h"

#include <gtest/gtest.h>

#include "i18n/i18n.h"
#include "test_folder.h"

namespace files::fileops {
namespace {

using testing::read_file;
using testing::ScopedEnv;
using testing::TestFolder;
using testing::write_file;

TEST(Templates, FolderComesFromTheTrimmedVariableOrHome) {
  TestFolder home;
  ScopedEnv home_env("HOME", home.path().native());
  {
    ScopedEnv templates("XDG_TEMPLATES_DIR", "  /srv/My Templates \t");
    EXPECT_EQ(templates_folder(), std::filesystem::path("/srv/My Templates"));
  }
  {
    ScopedEnv templates("XDG_TEMPLATES_DIR", "   ");
    EXPECT_EQ(templates_folder(), home / "Templates");
  }
  {
    ScopedEnv templates("XDG_TEMPLATES_DIR", std::nullopt);
    EXPECT_EQ(templates_folder(), home / "Templates");
  }
}

TEST(Templates, OnlyVisibleRegularFilesAreOfferedInPathOrder) {
  TestFolder dir;
  write_file(dir / "Letter.odt", "letter");
  write_file(dir / "Empty", "");
  write_file(dir / "b.txt", "b");
  write_file(dir / ".hidden.txt", "h");
  std::filesystem::create_directory(dir / "Sub");
  write_file(dir / "Sub/nested.txt", "n");
  std::filesystem::create_symlink("Letter.odt", dir / "Link.odt");

  EXPECT_EQ(list_templates(dir.path()),
            (std::vector<std::filesystem::path>{dir / "Empty", dir / "Letter.odt", dir / "b.txt"}));
  EXPECT_TRUE(list_templates(dir / "missing").empty());
  EXPECT_EQ(template_label(dir / "Letter.odt"),
            i18n::t_args("files-new-from-template", {{"name", "Letter"}}));
  EXPECT_EQ(template_label(dir / ".profile"),
            i18n::t_args("files-new-from-template", {{"name", ".profile"}}));
}

TEST(Templates, NewFileFromTemplateCopiesWithNumberedNames) {
  TestFolder templates;
  TestFolder work;
  write_file(templates / "Letter.odt", "letter");
  ScopedEnv env("XDG_TEMPLATES_DIR", templates.path().native());

  auto first = new_from_template(templates / "Letter.odt", work.path());
  ASSERT_TRUE(first) << first.error();
  EXPECT_EQ(first->path, work / "Letter.odt");
  EXPECT_EQ(first->status, i18n::t("files-created-file"));
  auto second = new_from_template_action(templates / "Letter.odt", work.path());
  ASSERT_TRUE(second) << second.error();
  EXPECT_EQ(*second, work / "Letter 2.odt");
  EXPECT_EQ(read_file(*second), "letter");

  EXPECT_EQ(new_from_template_action(templates / "Gone.odt", work.path()).error(),
            "the template is no longer available");
  auto failed = new_from_template(templates / "Gone.odt", work.path());
  ASSERT_FALSE(failed);
  EXPECT_EQ(failed.error(),
            i18n::t_args("files-new-file-failed", {{"error", "No such file or directory"}}));
}

}  // namespace
}  // namespace files::fileops
