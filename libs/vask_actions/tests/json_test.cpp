#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "vask_actions/json.h"

namespace vask_actions {
namespace {

using nlohmann::json;

TEST(ActionJsonTest, CarriesEveryFieldAClientNeeds) {
  Resource folder("files.folder:46477e48b4d46b86773a48b1ae7342ed", "files.folder", "/tmp");
  folder.with_action(
      ActionSpec("new-folder", "New folder", OperationKind::Effect, "files.new-folder")
          .with_input({"Folder name", "New Folder"}));
  folder.with_action(ActionSpec("paste", "Paste", OperationKind::Effect, "files.paste")
                         .with_availability(Availability::unavailable(
                             "clipboard_empty", "Copy or cut files before pasting")));
  folder.with_action(ActionSpec("empty-trash", "Empty Trash", OperationKind::Effect,
                                "files.folder-command", Payload::string("empty-trash"))
                         .destructive()
                         .with_contract({.idempotent = true}));
  folder.with_action(ActionSpec("share-link", "Create one-time share link", OperationKind::Effect,
                                "files.share-link", Payload::string("files.entry:ab"))
                         .execution(Execution::Worker)
                         .returns(ResultShape::Nothing));

  json out = json::parse(to_json_text(folder));
  EXPECT_EQ(out["id"], folder.id);
  EXPECT_EQ(out["kind"], "files.folder");
  EXPECT_EQ(out["label"], "/tmp");
  EXPECT_EQ(out["children"], json::array());
  ASSERT_EQ(out["actions"].size(), 4u);

  const json& new_folder = out["actions"][0];
  EXPECT_EQ(new_folder["name"], "new-folder");
  EXPECT_EQ(new_folder["title"], "New folder");
  EXPECT_EQ(new_folder["kind"], "effect");
  EXPECT_EQ(new_folder["target"], "files.new-folder");
  EXPECT_EQ(new_folder["payload"], nullptr);
  EXPECT_EQ(new_folder["input"], json({{"label", "Folder name"}, {"default", "New Folder"}}));
  EXPECT_EQ(new_folder["available"], true);
  EXPECT_FALSE(new_folder.contains("unavailable"));
  EXPECT_EQ(new_folder["address"], "files.folder:46477e48b4d46b86773a48b1ae7342ed#new-folder");
  EXPECT_EQ(new_folder["destructive"], false);
  EXPECT_EQ(new_folder["background"], false);
  EXPECT_FALSE(new_folder.contains("integer_argument"));

  Resource group("vask.control:files.view_mode", "vask.control.segmented", "View");
  group.with_action(ActionSpec("select", "Select", OperationKind::Effect,
                               "vask.ui.segmented.select", Payload::string("files.view_mode"))
                        .with_integer_argument("index"));
  EXPECT_EQ(json::parse(to_json_text(group))["actions"][0]["integer_argument"], "index");

  const json& paste = out["actions"][1];
  EXPECT_EQ(paste["available"], false);
  EXPECT_EQ(paste["unavailable"],
            json({{"code", "clipboard_empty"}, {"text", "Copy or cut files before pasting"}}));

  const json& empty = out["actions"][2];
  EXPECT_EQ(empty["payload"], "empty-trash");
  EXPECT_EQ(empty["destructive"], true);
  EXPECT_EQ(empty["idempotent"], true);

  const json& link = out["actions"][3];
  EXPECT_EQ(link["background"], true);
  EXPECT_EQ(link["execution"], "worker");
  EXPECT_EQ(link["returns"], "nothing");
}

TEST(ActionJsonTest, ChildrenNestAndBadUtf8IsReplaced) {
  Resource root("r", "files.folder", "/data/caf\xe9");
  root.with_child(Resource("c", "files.entry", "n\xff")
                      .with_action(ActionSpec("open", "Open", OperationKind::Navigate, "files.open",
                                              Payload::string("c"))));
  json out = json::parse(to_json_text(root));
  EXPECT_EQ(out["label"], "/data/caf\xef\xbf\xbd");
  ASSERT_EQ(out["children"].size(), 1u);
  EXPECT_EQ(out["children"][0]["label"], "n\xef\xbf\xbd");
  EXPECT_EQ(out["children"][0]["actions"][0]["kind"], "navigate");
  EXPECT_EQ(out["children"][0]["actions"][0]["address"], "c#open");
}

TEST(ActionJsonTest, OutcomesAndCompletions) {
  struct Case {
    ActionOutcome outcome;
    json expected;
  };
  const std::vector<Case> cases = {
      {ActionFailed{"The clipboard is empty", ""},
       {{"outcome", "failed"}, {"text", "The clipboard is empty"}}},
      {ActionFailed{"boom", "files.share_failed"},
       {{"outcome", "failed"}, {"text", "boom"}, {"code", "files.share_failed"}}},
      {ActionNotHandled{}, {{"outcome", "not_handled"}}},
      {ActionPending{}, {{"outcome", "pending"}}},
      {ActionCompleted{}, {{"outcome", "completed"}, {"output", nullptr}}},
      {ActionCompleted{R"({"url":"https://x"})"},
       {{"outcome", "completed"}, {"output", {{"url", "https://x"}}}}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(json::parse(to_json_text(c.outcome)), c.expected) << c.expected.dump();

  EXPECT_EQ(json(Completion(ActionCompleted{})),
            json({{"outcome", "completed"}, {"output", nullptr}}));
  EXPECT_EQ(json(Completion(ActionFailed{"no", "files.history_failed"})),
            json({{"outcome", "failed"}, {"text", "no"}, {"code", "files.history_failed"}}));
}

TEST(ActionContextTest, FacetIsSetOnACopy) {
  ActionContext context{"org.vask.Files", "Files",
                        Resource("files.entry:ab", "files.entry", "File"), std::nullopt};
  ActionContext version = context.with_facet("version");
  EXPECT_EQ(context.facet, std::nullopt);
  EXPECT_EQ(version.facet, "version");
  json out = version;
  EXPECT_EQ(out["application"], json({{"id", "org.vask.Files"}, {"label", "Files"}}));
  EXPECT_EQ(out["item"]["kind"], "files.entry");
  EXPECT_EQ(out["item"]["label"], "File");
  EXPECT_EQ(out["facet"], "version");
}

}  // namespace
}  // namespace vask_actions
