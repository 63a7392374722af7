#include <gtest/gtest.h>

#include "collab_types/uuid.h"

namespace collab_types {
namespace {

TEST(UuidTest, AcceptsTheUsualTextForms) {
  const std::string hyphenated = "123e4567-e89b-12d3-a456-426614174000";
  for (const std::string& text : {hyphenated, std::string("123E4567-E89B-12D3-A456-426614174000"),
                                  std::string("123e4567e89b12d3a456426614174000"),
                                  std::string("{123e4567-e89b-12d3-a456-426614174000}"),
                                  std::string("urn:uuid:123e4567-e89b-12d3-a456-426614174000")}) {
    const auto uuid = Uuid::parse(text);
    ASSERT_TRUE(uuid.has_value()) << text;
    EXPECT_EQ(uuid->to_string(), hyphenated) << text;
  }
  EXPECT_EQ(Uuid::parse(hyphenated)->to_simple_string(), "123e4567e89b12d3a456426614174000");
}

TEST(UuidTest, RefusesMalformedTexts) {
  for (const char* text :
       {"", "123e4567-e89b-12d3-a456-42661417400",  // one digit short
        "123e4567-e89b-12d3-a456-4266141740000",    // one digit long
        "123e4567e-89b-12d3-a456-426614174000",     // hyphen misplaced
        "123e4567-e89b-12d3-a456-42661417400g",     // not hex
        "{123e4567-e89b-12d3-a456-426614174000",    // unbalanced brace
        "123e4567-e89b-12d3-a456-426614174000 ", "urn:uuid:123e4567e89b12d3a456426614174000"}) {
    EXPECT_FALSE(Uuid::parse(text).has_value()) << text;
  }
}

TEST(UuidTest, NilIsRecognised) {
  EXPECT_TRUE(Uuid::parse("00000000-0000-0000-0000-000000000000")->is_nil());
  EXPECT_FALSE(Uuid::parse("00000000-0000-0000-0000-000000000001")->is_nil());
}

}  // namespace
}  // namespace collab_types
