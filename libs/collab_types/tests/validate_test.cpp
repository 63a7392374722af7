#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "collab_types/file_conflict.h"
#include "collab_types/file_properties.h"

namespace collab_types {
namespace {

TEST(FilePropertiesValidateTest, RefusesInconsistentFacts) {
  struct Case {
    const char* name;
    const char* json;
    bool valid;
  };
  const std::vector<Case> cases = {
      {"only a schema version", R"({"schema_version":1})", true},
      {"full image", R"({"schema_version":1,"image_width":1,"image_height":1})", true},
      {"media", R"({"schema_version":1,"duration_ms":0,"codec":"opus","container":"ogg"})", true},
      {"other schema version", R"({"schema_version":2})", false},
      {"width without height", R"({"schema_version":1,"image_width":4})", false},
      {"zero height", R"({"schema_version":1,"image_width":4,"image_height":0})", false},
      {"zero pages", R"({"schema_version":1,"page_count":0})", false},
      {"empty codec", R"({"schema_version":1,"codec":""})", false},
      {"control character in container", R"({"schema_version":1,"container":"a\nb"})", false},
  };
  for (const auto& c : cases) {
    const auto properties = parse_file_properties(c.json);
    ASSERT_TRUE(properties.has_value()) << c.name;
    EXPECT_EQ(properties->validate().has_value(), c.valid) << c.name;
  }
  FilePropertiesV1 long_codec{.schema_version = 1};
  long_codec.codec = std::string(FilePropertiesV1::kMaxNameBytes, 'c');
  EXPECT_TRUE(long_codec.validate().has_value());
  long_codec.codec->push_back('c');
  EXPECT_FALSE(long_codec.validate().has_value());
}

TEST(FileConflictValidateTest, RefusesInconsistentConflicts) {
  const std::string a = "\"00000000-0000-4000-8000-00000000000a\"";
  const std::string b = "\"00000000-0000-4000-8000-00000000000b\"";
  const std::string nil = "\"00000000-0000-0000-0000-000000000000\"";
  const std::string actor =
      R"({"person":[1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1],)"
      R"("device":[2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2,2]})";
  auto conflict = [&](const std::string& id, const std::string& versions, const std::string& status,
                      const std::string& resolution) {
    std::string out = "{\"id\":" + id + ",\"record_id\":" + a + ",\"versions\":[" + versions +
                      "],\"status\":\"" + status + "\"";
    if (!resolution.empty()) out += ",\"resolution\":" + resolution;
    return out + "}";
  };
  const std::string resolution =
      R"({"strategy":"UseOther","result":)" + b + ",\"actor\":" + actor + ",\"timestamp_ms\":1}";
  struct Case {
    const char* name;
    std::string json;
    bool valid;
  };
  const std::vector<Case> cases = {
      {"open", conflict(b, a + "," + b, "Open", ""), true},
      {"resolved", conflict(b, a + "," + b, "Resolved", resolution), true},
      {"nil id", conflict(nil, a + "," + b, "Open", ""), false},
      {"one version", conflict(b, a, "Open", ""), false},
      {"version twice", conflict(b, a + "," + a, "Open", ""), false},
      {"nil version", conflict(b, a + "," + nil, "Open", ""), false},
      {"open with resolution", conflict(b, a + "," + b, "Open", resolution), false},
      {"resolved without resolution", conflict(b, a + "," + b, "Resolved", ""), false},
  };
  for (const auto& c : cases) {
    const auto parsed = parse_file_conflict(c.json);
    ASSERT_TRUE(parsed.has_value()) << c.name << ": " << c.json;
    EXPECT_EQ(parsed->validate().has_value(), c.valid) << c.name;
  }
  // Shape errors never reach validation.
  EXPECT_FALSE(parse_file_conflict(conflict(b, a + ",\"v2\"", "Open", "")).has_value());
  EXPECT_FALSE(parse_file_conflict(conflict(b, a + "," + b, "open", "")).has_value());
  EXPECT_EQ(to_json_name(ConflictStrategy::KeepBoth), "KeepBoth");
}

}  // namespace
}  // namespace collab_types
