#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vask_actions/action_address.h"
#include "vask_actions/action_args.h"
#include "vask_actions/completion_slot.h"
#include "vask_actions/input.h"
#include "vask_actions/resource.h"

namespace vask_actions {
namespace {

TEST(OperationKindTest, NamesAndNumbersParseAndOthersDoNot) {
  struct Case {
    const char* text;
    std::optional<OperationKind> kind;
  };
  const std::vector<Case> cases = {
      {"inspect", OperationKind::Inspect},
      {"effect", OperationKind::Effect},
      {"navigate", OperationKind::Navigate},
      {"0", OperationKind::Inspect},
      {"1", OperationKind::Effect},
      {"2", OperationKind::Navigate},
      {"Effect", std::nullopt},
      {"3", std::nullopt},
      {"", std::nullopt},
      {"effect ", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parse_operation_kind(c.text), c.kind) << c.text;
    if (c.kind) {
      EXPECT_EQ(parse_operation_kind(to_string(*c.kind)), c.kind);
    }
  }
  EXPECT_EQ(static_cast<int>(OperationKind::Inspect), 0);
  EXPECT_EQ(static_cast<int>(OperationKind::Effect), 1);
  EXPECT_EQ(static_cast<int>(OperationKind::Navigate), 2);
}

TEST(PayloadTest, BuildsCanonicalJsonText) {
  EXPECT_EQ(Payload().text(), "null");
  EXPECT_EQ(Payload::string("up").text(), "\"up\"");
  EXPECT_EQ(Payload::string("a\"b\n").text(), "\"a\\\"b\\n\"");
  EXPECT_EQ(Payload::strings({"copy", "files.entry:00"}).text(), "[\"copy\",\"files.entry:00\"]");
  EXPECT_EQ(Payload::strings(std::vector<std::string>{}).text(), "[]");
  // Names on disk need not be UTF-8; the payload stays readable JSON.
  EXPECT_EQ(Payload::string("caf\xe9").text(), "\"caf\xef\xbf\xbd\"");
  EXPECT_EQ(Payload::parse(" [ 1 , true ] ")->text(), "[1,true]");
  EXPECT_FALSE(Payload::parse("[1,").has_value());
  EXPECT_FALSE(Payload::parse("").has_value());
}

TEST(ActionArgsTest, ReadsTextAndIntegerMembers) {
  auto args = ActionArgs::from_json(R"({"value":"Reports","index":3,"big":-9007199254740993})");
  ASSERT_TRUE(args.has_value()) << args.error();
  EXPECT_EQ(args->text("value"), "Reports");
  EXPECT_EQ(args->integer("index"), 3);
  EXPECT_EQ(args->integer("big"), -9007199254740993LL);
  // Asking for the wrong type is "missing", not a conversion.
  EXPECT_EQ(args->integer("value"), std::nullopt);
  EXPECT_EQ(args->text("index"), std::nullopt);
  EXPECT_EQ(args->text("absent"), std::nullopt);

  EXPECT_TRUE(ActionArgs::from_json("null")->empty());
  EXPECT_TRUE(ActionArgs::from_json("")->empty());
}

TEST(ActionArgsTest, RefusesOtherShapes) {
  for (const char* json : {"[]", "\"x\"", R"({"a":1.5})", R"({"a":true})", R"({"a":null})",
                           R"({"a":{}})", R"({"a":18446744073709551615})", "{"}) {
    EXPECT_FALSE(ActionArgs::from_json(json).has_value()) << json;
  }
  auto error = ActionArgs::from_json(R"({"index":1.5})");
  EXPECT_EQ(error.error(), "argument \"index\" must be a text or an integer");
}

TEST(ActionAddressTest, RoundTripsAnyIdAndName) {
  struct Case {
    std::string id;
    std::string name;
    std::string encoded;
  };
  const std::vector<Case> cases = {
      {"files.folder:46477e48b4d46b86773a48b1ae7342ed", "paste",
       "files.folder:46477e48b4d46b86773a48b1ae7342ed#paste"},
      {"vask.control:files.retry", "vask.key-action:ctrl+#",
       "vask.control:files.retry#vask.key-action:ctrl+%23"},
      {"100%#", "%23", "100%25%23#%2523"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ActionAddress::encode(c.id, c.name), c.encoded);
    auto decoded = ActionAddress::decode(c.encoded);
    ASSERT_TRUE(decoded.has_value()) << c.encoded;
    EXPECT_EQ(decoded->resource_id, c.id);
    EXPECT_EQ(decoded->action_name, c.name);
    EXPECT_EQ(decoded->encode(), c.encoded);
  }
}

TEST(ActionAddressTest, RefusesTextsEncodeCannotProduce) {
  for (const char* text :
       {"", "no-separator", "a#b#c", "#paste", "files.folder:1#", "a%2#b", "a%41#b", "a#b%"}) {
    EXPECT_FALSE(ActionAddress::decode(text).has_value()) << text;
  }
}

class DeriveInputTest : public ::testing::Test {
 protected:
  ActionSpec new_folder{"new-folder", "New folder", OperationKind::Effect, "files.new-folder"};
  ActionSpec rename{"rename", "Rename", OperationKind::Effect, "files.rename",
                    Payload::strings({"files.entry:ab"})};
  void SetUp() override {
    new_folder.with_input({"Folder name", "New Folder"});
    rename.with_input({"New name", "a.txt"});
  }
};

TEST_F(DeriveInputTest, AddsTheAnswerByPayloadShape) {
  ActionArgs args;
  args.set_text("value", "Q3 \"final\"");
  EXPECT_EQ(derive_input(new_folder, args)->text(), R"("Q3 \"final\"")");
  EXPECT_EQ(derive_input(rename, args)->text(), R"(["files.entry:ab","Q3 \"final\""])");
}

TEST_F(DeriveInputTest, MissingAnswerIsEmptyText) {
  EXPECT_EQ(derive_input(new_folder, ActionArgs{})->text(), "\"\"");
  EXPECT_EQ(derive_input(rename, ActionArgs{})->text(), R"(["files.entry:ab",""])");
}

TEST_F(DeriveInputTest, ActionWithoutInputKeepsItsPayload) {
  ActionSpec paste{"paste", "Paste", OperationKind::Effect, "files.paste"};
  ActionArgs args;
  args.set_text("value", "ignored");
  EXPECT_EQ(derive_input(paste, args)->text(), "null");
}

TEST_F(DeriveInputTest, RefusesANonTextAnswerAndAPayloadThatCannotTakeOne) {
  ActionArgs number;
  number.set_integer("value", 4);
  EXPECT_EQ(derive_input(new_folder, number).error(), "argument \"value\" must be a text");
  ActionSpec word{"odd", "Odd", OperationKind::Effect, "files.x", Payload::string("w")};
  word.with_input({"Name", ""});
  EXPECT_FALSE(derive_input(word, ActionArgs{}).has_value());
}

TEST(EnforceOperationTypeTest, OnlyTheDeclaredKindRuns) {
  ActionSpec effect{"rename", "Rename", OperationKind::Effect, "files.rename"};
  ActionSpec navigate{"open", "Open", OperationKind::Navigate, "files.open"};
  EXPECT_TRUE(enforce_operation_type(effect, OperationKind::Effect).has_value());
  EXPECT_TRUE(enforce_operation_type(navigate, OperationKind::Navigate).has_value());
  EXPECT_EQ(enforce_operation_type(effect, OperationKind::Navigate).error(),
            "action \"rename\" runs as effect, not as navigate");
  EXPECT_FALSE(enforce_operation_type(navigate, OperationKind::Effect).has_value());
  EXPECT_FALSE(enforce_operation_type(effect, OperationKind::Inspect).has_value());
  ActionSpec inspect{"look", "Look", OperationKind::Inspect, "files.look"};
  EXPECT_FALSE(enforce_operation_type(inspect, OperationKind::Inspect).has_value());
}

TEST(CompletionSlotTest, HandsTheResultOutOnceToItsHandle) {
  CompletionSlot slot;
  EXPECT_FALSE(slot.pending());
  EXPECT_FALSE(slot.finish(ActionCompleted{}));  // nobody waits for it
  ASSERT_TRUE(slot.begin(RequestHandle{7}));
  EXPECT_TRUE(slot.pending());
  EXPECT_EQ(slot.pending_handle(), RequestHandle{7});
  EXPECT_FALSE(slot.begin(RequestHandle{8}));  // one background operation at a time
  EXPECT_EQ(slot.pending_handle(), RequestHandle{7});
  EXPECT_EQ(slot.take(RequestHandle{7}), std::nullopt);  // not finished yet

  ASSERT_TRUE(slot.finish(ActionFailed{"link service unreachable", "files.share_failed"}));
  EXPECT_FALSE(slot.pending());
  EXPECT_EQ(slot.take(RequestHandle{8}), std::nullopt);
  auto completion = slot.take(RequestHandle{7});
  ASSERT_TRUE(completion.has_value());
  EXPECT_EQ(*completion,
            Completion(ActionFailed{"link service unreachable", "files.share_failed"}));
  EXPECT_EQ(slot.take(RequestHandle{7}), std::nullopt);
}

TEST(CompletionSlotTest, ForgetsTheOldestUncollectedResults) {
  CompletionSlot slot;
  const std::uint64_t total = CompletionSlot::kMaxStored + 3;
  for (std::uint64_t h = 1; h <= total; ++h) {
    ASSERT_TRUE(slot.begin(RequestHandle{h}));
    ASSERT_TRUE(slot.finish(ActionCompleted{}));
  }
  for (std::uint64_t h = 1; h <= 3; ++h)
    EXPECT_EQ(slot.take(RequestHandle{h}), std::nullopt) << h;
  for (std::uint64_t h = 4; h <= total; ++h)
    EXPECT_TRUE(slot.take(RequestHandle{h}).has_value()) << h;
}

TEST(ResourceTest, BuildersKeepOrderAndLookupsFindDescendants) {
  Resource root =
      Resource("files.folder:1", "files.folder", "/tmp")
          .with_action(
              ActionSpec("refresh", "Refresh folder", OperationKind::Effect, "files.refresh"))
          .with_action(ActionSpec("paste", "Paste", OperationKind::Effect, "files.paste")
                           .with_availability(Availability::unavailable(
                               "clipboard_empty", "Copy or cut files before pasting")))
          .with_child(Resource("files.place:2", "files.place", "Home")
                          .with_child(Resource("deep", "files.entry", "x")));
  ASSERT_EQ(root.actions.size(), 2u);
  EXPECT_EQ(root.actions[0].name(), "refresh");
  ASSERT_NE(root.find_action("paste"), nullptr);
  EXPECT_FALSE(root.find_action("paste")->availability().is_available());
  EXPECT_EQ(root.find_action("paste")->availability().reason_code(), "clipboard_empty");
  EXPECT_EQ(root.find_action("missing"), nullptr);
  EXPECT_EQ(root.find("files.folder:1"), &root);
  ASSERT_NE(root.find("deep"), nullptr);
  EXPECT_EQ(root.find("deep")->label, "x");
  EXPECT_EQ(root.find("nothing"), nullptr);
}

TEST(ActionSpecTest, BackgroundMarkNeedsExecutionAndResult) {
  ActionSpec link{"share-link", "Create one-time share link", OperationKind::Effect,
                  "files.share-link"};
  EXPECT_FALSE(link.is_background());
  link.execution(Execution::Worker);
  EXPECT_FALSE(link.is_background());
  link.returns(ResultShape::Nothing);
  EXPECT_TRUE(link.is_background());
  link.execution(Execution::Inline);
  EXPECT_FALSE(link.is_background());
}

}  // namespace
}  // namespace vask_actions
