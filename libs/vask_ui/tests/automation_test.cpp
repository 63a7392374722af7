#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "scoped_env.h"
#include "vask_actions/completion_slot.h"
#include "vask_ui/automation.h"

namespace vask_ui::automation {
namespace {

using nlohmann::json;
namespace va = vask_actions;

/// A root widget with a little of everything the endpoint asks for, recording what reaches it.
class FakeRoot final : public Widget {
 public:
  std::string observation = R"({"app":"test","entry_count":2})";
  std::vector<va::ActionRequest> requests;
  std::vector<Event> events;
  va::CompletionSlot slot;
  bool retry_enabled = true;

  LayoutNode build_layout(Size) override { return {}; }
  void apply_layout(const LayoutResult&) override {}
  void draw(Canvas&) override {}
  std::string observation_json() const override { return observation; }

  EventResult handle_event(const Event& event) override {
    events.push_back(event);
    const auto* press = std::get_if<KeyPress>(&event);
    return press && press->key == Key::Enter ? EventResult::Handled : EventResult::Ignored;
  }

  AccessNode accessibility() const override {
    AccessNode window{.role = AccessRole::Window, .name = "Files"};
    window.bounds = Rect::from_xywh(0, 0, 800, 600);
    AccessNode item{.role = AccessRole::ListItem, .name = "a.txt"};
    item.states.selected = true;
    item.states.focused = true;
    item.position_in_set = 1;
    item.set_size = 2;
    item.default_action = "open";
    window.children.push_back(item);
    return window;
  }

  std::vector<ControlResource> resources() const override {
    return {ControlResource{"vask.control",
                            "files.retry",
                            "Try Again",
                            retry_enabled,
                            {{"invoke", "vask.ui.control.invoke", "", ""}}}};
  }

  std::optional<va::Resource> action_resources() const override {
    va::Resource root("files.folder:1", "files.folder", "/data");
    root.with_action(
        va::ActionSpec("new-folder", "New folder", va::OperationKind::Effect, "files.new-folder")
            .with_input({"Folder name", "New Folder"}));
    root.with_child(entry()).with_child(
        va::Resource("files.template:9", "files.template", "Note")
            .with_action(va::ActionSpec("create", "Note", va::OperationKind::Effect,
                                        "files.new-from-template",
                                        va::Payload::string("files.template:9"))));
    return root;
  }

  std::optional<va::Resource> lookup_action_resource(std::string_view id) const override {
    if (id == "files.entry:2") return entry();
    return std::nullopt;
  }

  va::ActionOutcome perform_action(const va::ActionRequest& request) override {
    requests.push_back(request);
    if (request.action_id == "test.done") return va::ActionCompleted{R"({"n":1})"};
    if (request.action_id == "test.fail") return va::ActionFailed{"The clipboard is empty", ""};
    if (request.action_id == "test.pending") {
      if (!slot.begin(request.handle)) {
        return va::ActionFailed{"another file operation is still running", ""};
      }
      return va::ActionPending{};
    }
    if (request.action_id.starts_with("files.")) return va::ActionCompleted{};
    return va::ActionNotHandled{};
  }

  std::optional<va::Completion> take_action_completion(va::RequestHandle handle) override {
    return slot.take(handle);
  }

 private:
  static va::Resource entry() {
    return va::Resource("files.entry:2", "files.entry", "a.txt")
        .with_action(va::ActionSpec("rename", "Rename", va::OperationKind::Effect, "files.rename",
                                    va::Payload::strings({"files.entry:2"}))
                         .with_input({"New name", "a.txt"}));
  }
};

class FakeHost final : public Host {
 public:
  FakeRoot root;
  int settles = 0;
  Widget& settled_root() override {
    ++settles;
    return root;
  }
  EventResult deliver_input(const Event& event) override { return root.handle_event(event); }
};

class ProtocolTest : public ::testing::Test {
 protected:
  json ask(std::string_view line) { return json::parse(protocol.handle(line, host)); }
  json ask(const char* line) { return ask(std::string_view(line)); }
  json ask(const std::string& line) { return ask(std::string_view(line)); }
  json ask(const json& request) { return ask(request.dump()); }
  static std::string error_code(const json& reply) {
    EXPECT_EQ(reply["ok"], false) << reply.dump();
    return reply.value("/error/code"_json_pointer, std::string());
  }

  FakeHost host;
  Protocol protocol;
};

TEST_F(ProtocolTest, PingAndEchoedId) {
  json reply = ask(R"({"request":"ping","id":"r-1"})");
  EXPECT_EQ(reply, json({{"ok", true}, {"protocol", kProtocolVersion}, {"id", "r-1"}}));
}

TEST_F(ProtocolTest, SnapshotIsTheRootsObservationObject) {
  json reply = ask(R"({"request":"snapshot","id":7})");
  EXPECT_EQ(reply["ok"], true);
  EXPECT_EQ(reply["id"], 7);
  EXPECT_EQ(reply["snapshot"], json({{"app", "test"}, {"entry_count", 2}}));
  EXPECT_GE(host.settles, 1);  // read after the window caught up

  for (const char* bad : {"[1,2]", "{\"a\":", ""}) {
    host.root.observation = bad;
    json reply = ask(R"({"request":"snapshot"})");
    EXPECT_EQ(error_code(reply), "observation_failed") << bad << " " << reply.dump();
  }
}

TEST_F(ProtocolTest, WidgetWithoutHooksGivesEmptyAnswers) {
  class Bare final : public Widget {
   public:
    LayoutNode build_layout(Size) override { return {}; }
    void apply_layout(const LayoutResult&) override {}
    void draw(Canvas&) override {}
  };
  class BareHost final : public Host {
   public:
    Bare bare;
    Widget& settled_root() override { return bare; }
    EventResult deliver_input(const Event& e) override { return bare.handle_event(e); }
  } bare_host;
  auto reply = [&](const char* line) { return json::parse(protocol.handle(line, bare_host)); };
  EXPECT_EQ(reply(R"({"request":"snapshot"})")["snapshot"], json::object());
  EXPECT_EQ(reply(R"({"request":"resources"})")["resource"], nullptr);
  EXPECT_EQ(reply(R"({"request":"resources"})")["controls"], json::array());
  EXPECT_EQ(reply(R"({"request":"lookup","resource":"x"})")["resource"], nullptr);
  EXPECT_EQ(reply(R"({"request":"action","action":"files.paste","kind":"effect"})")["outcome"],
            "not_handled");
  EXPECT_EQ(reply(R"({"request":"complete","handle":1})")["completion"], nullptr);
}

TEST_F(ProtocolTest, AccessibilityTreeAsJson) {
  json tree = ask(R"({"request":"accessibility"})")["tree"];
  EXPECT_EQ(tree["role"], "window");
  EXPECT_EQ(tree["name"], "Files");
  EXPECT_EQ(tree["bounds"], json({0, 0, 800, 600}));
  EXPECT_EQ(tree["states"], json::array());
  ASSERT_EQ(tree["children"].size(), 1u);
  const json& item = tree["children"][0];
  EXPECT_EQ(item["role"], "list_item");
  EXPECT_EQ(item["states"], json({"focused", "selected"}));
  EXPECT_EQ(item["position_in_set"], 1);
  EXPECT_EQ(item["set_size"], 2);
  EXPECT_EQ(item["default_action"], "open");
  EXPECT_FALSE(item.contains("context_menu_action"));
}

TEST_F(ProtocolTest, ResourcesListTheRootAndTheControls) {
  json reply = ask(R"({"request":"resources"})");
  ASSERT_EQ(reply["ok"], true);
  EXPECT_EQ(reply["resource"]["id"], "files.folder:1");
  EXPECT_EQ(reply["resource"]["actions"][0]["input"]["default"], "New Folder");
  EXPECT_EQ(reply["resource"]["children"][0]["id"], "files.entry:2");
  ASSERT_EQ(reply["controls"].size(), 1u);
  const json& retry = reply["controls"][0];
  EXPECT_EQ(retry["id"], "vask.control:files.retry");
  EXPECT_EQ(retry["kind"], "vask.control");
  EXPECT_EQ(retry["label"], "Try Again");
  EXPECT_EQ(retry["actions"][0]["name"], "invoke");
  EXPECT_EQ(retry["actions"][0]["target"], "vask.ui.control.invoke");
  EXPECT_EQ(retry["actions"][0]["payload"], "files.retry");
  EXPECT_EQ(retry["actions"][0]["available"], true);

  host.root.retry_enabled = false;
  json disabled = ask(R"({"request":"resources"})")["controls"][0]["actions"][0];
  EXPECT_EQ(disabled["available"], false);
  EXPECT_EQ(disabled["unavailable"]["code"], "control_disabled");
}

TEST_F(ProtocolTest, LookupBuildsOneResource) {
  EXPECT_EQ(ask(R"({"request":"lookup","resource":"files.entry:2"})")["resource"]["label"],
            "a.txt");
  EXPECT_EQ(ask(R"({"request":"lookup","resource":"files.entry:404"})")["resource"], nullptr);
  EXPECT_EQ(error_code(ask(R"({"request":"lookup"})")), "invalid_argument");
  EXPECT_EQ(error_code(ask(R"({"request":"lookup","resource":5})")), "invalid_argument");
}

TEST_F(ProtocolTest, ActionOutcomesCarryTheirHandle) {
  struct Case {
    const char* action;
    json expected;
  };
  const std::vector<Case> cases = {
      {"test.done", {{"outcome", "completed"}, {"output", {{"n", 1}}}}},
      {"test.fail", {{"outcome", "failed"}, {"text", "The clipboard is empty"}}},
      {"test.unknown", {{"outcome", "not_handled"}}},
  };
  std::uint64_t previous = 0;
  for (const auto& c : cases) {
    json reply = ask({{"request", "action"}, {"action", c.action}, {"kind", "effect"}});
    ASSERT_EQ(reply["ok"], true) << reply.dump();
    std::uint64_t handle = reply["handle"].get<std::uint64_t>();
    EXPECT_GT(handle, previous);
    previous = handle;
    reply.erase("ok");
    reply.erase("handle");
    EXPECT_EQ(reply, c.expected) << c.action;
  }
}

TEST_F(ProtocolTest, ActionPassesKindPayloadAndArguments) {
  ask(R"({"request":"action","action":"files.rename","kind":1,"payload":["files.entry:2","b"],)"
      R"("args":{"value":"b","index":2}})");
  ask(R"({"request":"action","action":"files.open","kind":"navigate"})");
  ask(R"({"request":"action","action":"files.paste","kind":"0","payload_text":"[not json"})");
  ASSERT_EQ(host.root.requests.size(), 3u);
  const va::ActionRequest& rename = host.root.requests[0];
  EXPECT_EQ(rename.kind, va::OperationKind::Effect);
  EXPECT_EQ(rename.payload, R"(["files.entry:2","b"])");
  EXPECT_EQ(rename.args.text("value"), "b");
  EXPECT_EQ(rename.args.integer("index"), 2);
  EXPECT_EQ(host.root.requests[1].kind, va::OperationKind::Navigate);
  EXPECT_EQ(host.root.requests[1].payload, "null");
  EXPECT_EQ(host.root.requests[2].kind, va::OperationKind::Inspect);
  EXPECT_EQ(host.root.requests[2].payload, "[not json");
}

TEST_F(ProtocolTest, MalformedActionsNeverReachTheWindow) {
  for (
      const char* line : {
          R"({"request":"action","kind":"effect"})",
          R"({"request":"action","action":"","kind":"effect"})",
          R"({"request":"action","action":"files.paste"})",
          R"({"request":"action","action":"files.paste","kind":"Effect"})",
          R"({"request":"action","action":"files.paste","kind":3})",
          R"({"request":"action","action":"files.paste","kind":"effect","args":[1]})",
          R"({"request":"action","action":"files.paste","kind":"effect","args":{"a":1.5}})",
          R"({"request":"action","action":"files.paste","kind":"effect","payload":1,"payload_text":"1"})",
          R"({"request":"action","action":"files.paste","kind":"effect","payload_text":1})",
      }) {
    EXPECT_EQ(error_code(ask(line)), "invalid_argument") << line;
  }
  EXPECT_TRUE(host.root.requests.empty());
}

TEST_F(ProtocolTest, PendingActionCompletesOnceThroughItsHandle) {
  json pending = ask(R"({"request":"action","action":"test.pending","kind":"effect"})");
  ASSERT_EQ(pending["outcome"], "pending");
  auto handle = pending["handle"].get<std::uint64_t>();
  json busy = ask(R"({"request":"action","action":"test.pending","kind":"effect"})");
  EXPECT_EQ(busy["text"], "another file operation is still running");

  json complete = {{"request", "complete"}, {"handle", handle}};
  EXPECT_EQ(ask(complete)["completion"], nullptr);  // the worker has not finished
  host.root.slot.finish(va::ActionFailed{"link service unreachable", "files.share_failed"});
  EXPECT_EQ(ask(complete)["completion"], json({{"outcome", "failed"},
                                               {"text", "link service unreachable"},
                                               {"code", "files.share_failed"}}));
  EXPECT_EQ(ask(complete)["completion"], nullptr);  // handed out once

  for (const char* bad :
       {R"({"request":"complete"})", R"({"request":"complete","handle":0})",
        R"({"request":"complete","handle":-1})", R"({"request":"complete","handle":"1"})"}) {
    EXPECT_EQ(error_code(ask(bad)), "invalid_argument") << bad;
  }
}

TEST_F(ProtocolTest, InvokeDerivesThePayloadFromTheAnswer) {
  json reply = ask(
      R"({"request":"invoke","address":"files.entry:2#rename","kind":"effect","args":{"value":"b.txt"}})");
  ASSERT_EQ(reply["outcome"], "completed") << reply.dump();
  ASSERT_EQ(host.root.requests.size(), 1u);
  EXPECT_EQ(host.root.requests[0].action_id, "files.rename");
  EXPECT_EQ(host.root.requests[0].payload, R"(["files.entry:2","b.txt"])");

  // The folder is not found by lookup in this fake, only in the listing.
  reply = ask(R"({"request":"invoke","address":"files.folder:1#new-folder","kind":"effect"})");
  ASSERT_EQ(reply["outcome"], "completed") << reply.dump();
  EXPECT_EQ(host.root.requests[1].payload, "\"\"");
  reply = ask(R"({"request":"invoke","address":"files.template:9#create","kind":1})");
  EXPECT_EQ(host.root.requests[2].payload, "\"files.template:9\"");
}

TEST_F(ProtocolTest, InvokeRefusesAnotherKindBeforeTheWindowSeesIt) {
  json reply = ask(R"({"request":"invoke","address":"files.entry:2#rename","kind":"navigate"})");
  EXPECT_EQ(reply["outcome"], "failed");
  EXPECT_EQ(reply["text"], "action \"rename\" runs as effect, not as navigate");
  reply = ask(
      R"({"request":"invoke","address":"files.entry:2#rename","kind":"effect","args":{"value":3}})");
  EXPECT_EQ(reply["outcome"], "failed");
  EXPECT_TRUE(host.root.requests.empty());

  EXPECT_EQ(error_code(ask(R"({"request":"invoke","address":"nope#x","kind":"effect"})")),
            "no_such_resource");
  EXPECT_EQ(error_code(ask(R"({"request":"invoke","address":"files.entry:2#x","kind":"effect"})")),
            "no_such_action");
  EXPECT_EQ(error_code(ask(R"({"request":"invoke","address":"no-hash","kind":"effect"})")),
            "invalid_argument");
}

TEST_F(ProtocolTest, InputBecomesToolkitEvents) {
  json reply = ask(R"({"request":"input","events":[
      {"type":"click","x":10.5,"y":20,"count":2},
      {"type":"key","key":"a","modifiers":["shift"]},
      {"type":"key_press","key":"enter","repeat":true},
      {"type":"wheel","x":1,"y":2,"dy":-3,"unit":"pixels","modifiers":["primary"]},
      {"type":"text","text":"é"},
      {"type":"preedit","text":"ka","cursor":1},
      {"type":"pointer_leave"},
      {"type":"pointer_press","x":0,"y":0,"button":"secondary"}]})");
  ASSERT_EQ(reply["ok"], true) << reply.dump();
  EXPECT_EQ(reply["handled"], json({false, false, true, false, false, false, false, false}));

  const auto& e = host.root.events;
  ASSERT_EQ(e.size(), 13u);
  EXPECT_EQ(std::get<PointerMove>(e[0]).position, (Point{10.5f, 20}));
  EXPECT_TRUE(std::holds_alternative<PointerPress>(e[1]));
  EXPECT_TRUE(std::holds_alternative<PointerRelease>(e[2]));
  EXPECT_TRUE(std::holds_alternative<PointerPress>(e[3]));
  EXPECT_TRUE(std::holds_alternative<PointerRelease>(e[4]));
  const auto& letter = std::get<KeyPress>(e[5]);
  EXPECT_EQ(letter.key, Key::Character);
  EXPECT_EQ(letter.text, "A");  // as the window reports Shift+A
  EXPECT_TRUE(letter.modifiers.shift);
  EXPECT_EQ(std::get<KeyRelease>(e[6]).text, "A");
  EXPECT_EQ(std::get<KeyPress>(e[7]).key, Key::Enter);
  EXPECT_TRUE(std::get<KeyPress>(e[7]).repeat);
  const auto& wheel = std::get<Wheel>(e[8]);
  EXPECT_EQ(wheel.unit, WheelUnit::Pixels);
  EXPECT_EQ(wheel.dy, -3);
  EXPECT_TRUE(wheel.modifiers.primary);
  EXPECT_EQ(std::get<TextCommit>(e[9]).text, "é");
  EXPECT_EQ(std::get<Preedit>(e[10]).cursor, 1);
  EXPECT_TRUE(std::holds_alternative<PointerLeave>(e[11]));
  EXPECT_EQ(std::get<PointerPress>(e[12]).button, PointerButton::Secondary);
  EXPECT_EQ(std::get<PointerPress>(e[12]).position, (Point{0, 0}));
}

TEST_F(ProtocolTest, ABadEventRefusesTheWholeList) {
  for (const char* events : {
           R"({"type":"click","x":1})",
           R"({"type":"click","x":"1","y":2})",
           R"({"type":"click","x":1e300,"y":2})",
           R"({"type":"click","x":1,"y":2,"count":4})",
           R"({"type":"click","x":1,"y":2,"button":"left"})",
           R"({"type":"key","key":"ab"})",
           R"({"type":"key","key":""})",
           R"({"type":"key","key":"a","modifiers":["hyper"]})",
           R"({"type":"key","key":"a","modifiers":"shift"})",
           R"({"type":"wheel","x":1,"y":2,"unit":"pages"})",
           R"({"type":"preedit","text":"ab","cursor":3})",
           R"({"type":"text"})",
           R"({"type":"teleport"})",
           R"({"x":1})",
           R"(7)",
       }) {
    std::string line =
        std::string(R"({"request":"input","events":[{"type":"key","key":"b"},)") + events + "]}";
    EXPECT_EQ(error_code(ask(line)), "invalid_argument") << events;
  }
  EXPECT_EQ(error_code(ask(R"({"request":"input"})")), "invalid_argument");
  EXPECT_EQ(error_code(ask(R"({"request":"input","events":{}})")), "invalid_argument");
  EXPECT_TRUE(host.root.events.empty());
  EXPECT_EQ(ask(R"({"request":"input","events":[]})")["handled"], json::array());
}

TEST_F(ProtocolTest, MalformedRequestsGetErrorReplies) {
  struct Case {
    std::string line;
    const char* code;
  };
  const std::vector<Case> cases = {
      {"", "malformed_json"},
      {"{\"request\":", "malformed_json"},
      {"{\"request\":\"snapshot\"} trailing", "malformed_json"},
      {"\xff\xfe", "malformed_json"},
      {"[\"snapshot\"]", "invalid_request"},
      {"{}", "invalid_request"},
      {"{\"request\":5}", "invalid_request"},
      {"{\"request\":\"dance\"}", "unknown_request"},
      {std::string(100000, '[') + std::string(100000, ']'), "invalid_request"},
      {"{\"request\":\"action\",\"action\":\"x\",\"kind\":1,\"payload\":" + std::string(65, '[') +
           std::string(65, ']') + "}",
       "invalid_request"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(error_code(ask(c.line)), c.code) << c.line.substr(0, 60);
  // Brackets inside strings are text, not nesting.
  json deep_text = {{"request", "lookup"}, {"resource", std::string(200, '[')}};
  EXPECT_EQ(ask(deep_text)["ok"], true);
  EXPECT_TRUE(host.root.requests.empty());
  EXPECT_TRUE(host.root.events.empty());
}

TEST(ControlResourceTest, SegmentedGroupTakesAnIndex) {
  ControlResource group{"vask.control.segmented",
                        "files.view_mode",
                        "View",
                        true,
                        {{"select", "vask.ui.segmented.select", "Select", "index"}}};
  va::Resource resource = to_action_resource(group);
  EXPECT_EQ(resource.id, "vask.control:files.view_mode");
  EXPECT_EQ(resource.kind, "vask.control.segmented");
  ASSERT_EQ(resource.actions.size(), 1u);
  EXPECT_EQ(resource.actions[0].title(), "Select");
  EXPECT_EQ(resource.actions[0].target(), "vask.ui.segmented.select");
  EXPECT_EQ(resource.actions[0].integer_argument(), "index");
  EXPECT_EQ(resource.actions[0].payload(), va::Payload::string("files.view_mode"));
}

TEST(ControlResourceTest, ListedControlsCanBeInvokedThroughTheDefaultActionEntry) {
  // A root that knows nothing of the catalog but hosts controls.
  class Controls final : public Widget {
   public:
    std::vector<ControlInvocation> taken;
    LayoutNode build_layout(Size) override { return {}; }
    void apply_layout(const LayoutResult&) override {}
    void draw(Canvas&) override {}
    bool take_control_invocation(const ControlInvocation& invocation) override {
      if (invocation.control_id != "files.retry" && invocation.control_id != "files.view_mode") {
        return false;
      }
      taken.push_back(invocation);
      return true;
    }
  } root;
  auto send = [&root](const char* action, const char* payload, va::ActionArgs args = {}) {
    return root.perform_action({action, va::OperationKind::Effect, payload, std::move(args), {}});
  };
  EXPECT_EQ(send("vask.ui.control.invoke", R"("files.retry")"),
            va::ActionOutcome(va::ActionCompleted{}));
  va::ActionArgs index;
  index.set_integer("index", 1);
  EXPECT_EQ(send("vask.ui.segmented.select", R"("files.view_mode")", index),
            va::ActionOutcome(va::ActionCompleted{}));
  ASSERT_EQ(root.taken.size(), 2u);
  EXPECT_EQ(root.taken[0].action, "invoke");
  EXPECT_EQ(root.taken[0].integer_argument, std::nullopt);
  EXPECT_EQ(root.taken[1].action, "select");
  EXPECT_EQ(root.taken[1].integer_argument, 1);

  for (auto [action, payload] :
       {std::pair{"vask.ui.control.invoke", R"("files.unknown")"},
        std::pair{"vask.ui.control.invoke", R"(["files.retry"])"},
        std::pair{"vask.ui.control.invoke", R"("")"}, std::pair{"vask.ui.control.invoke", "{bad"},
        std::pair{"files.paste", R"("files.retry")"}}) {
    EXPECT_EQ(send(action, payload), va::ActionOutcome(va::ActionNotHandled{})) << payload;
  }
  EXPECT_EQ(root.taken.size(), 2u);
}

TEST(SocketPathTest, ArgumentWinsOverEnvironment) {
  using files::testing::ScopedEnv;
  {
    ScopedEnv env("VASK_AUTOMATION_SOCKET", "/run/env.sock");
    EXPECT_EQ(socket_path(std::filesystem::path("/run/arg.sock")), "/run/arg.sock");
    EXPECT_EQ(socket_path(std::nullopt), "/run/env.sock");
  }
  {
    ScopedEnv env("VASK_AUTOMATION_SOCKET", "");
    EXPECT_EQ(socket_path(std::nullopt), std::nullopt);
  }
  ScopedEnv env("VASK_AUTOMATION_SOCKET", nullptr);
  EXPECT_EQ(socket_path(std::nullopt), std::nullopt);
}

}  // namespace
}  // namespace vask_ui::automation
