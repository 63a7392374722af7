#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "command_line.h"

namespace files_ctl {
namespace {

using nlohmann::json;

json request_of(std::vector<std::string> args) {
  args.insert(args.begin(), {"--socket", "/run/files.sock"});
  auto invocation = parse_command_line(args, nullptr);
  EXPECT_TRUE(invocation.has_value()) << (invocation ? "" : invocation.error());
  return invocation ? json::parse(invocation->request) : json();
}

TEST(CommandLineTest, BuildsEveryRequestKind) {
  struct Case {
    std::vector<std::string> args;
    json request;
  };
  const std::vector<Case> cases = {
      {{"snapshot"}, {{"request", "snapshot"}}},
      {{"accessibility"}, {{"request", "accessibility"}}},
      {{"resources"}, {{"request", "resources"}}},
      {{"lookup", "files.entry:ab"}, {{"request", "lookup"}, {"resource", "files.entry:ab"}}},
      {{"action", "files.paste", "effect"},
       {{"request", "action"}, {"action", "files.paste"}, {"kind", "effect"}}},
      {{"action", "files.folder-command", "2", "\"up\""},
       {{"request", "action"}, {"action", "files.folder-command"}, {"kind", 2}, {"payload", "up"}}},
      {{"action", "files.rename", "effect", "[\"files.entry:ab\",\"b\"]", "--int", "index=-2"},
       {{"request", "action"},
        {"action", "files.rename"},
        {"kind", "effect"},
        {"payload", {"files.entry:ab", "b"}},
        {"args", {{"index", -2}}}}},
      {{"action", "files.open", "navigate", "--payload-text", "[oops"},
       {{"request", "action"},
        {"action", "files.open"},
        {"kind", "navigate"},
        {"payload_text", "[oops"}}},
      {{"invoke", "files.entry:ab#rename", "effect", "--arg", "value=new name.txt"},
       {{"request", "invoke"},
        {"address", "files.entry:ab#rename"},
        {"kind", "effect"},
        {"args", {{"value", "new name.txt"}}}}},
      {{"complete", "12"}, {{"request", "complete"}, {"handle", 12}}},
      {{"input", R"({"type":"pointer_leave"})", R"([{"type":"text","text":"a"}])"},
       {{"request", "input"},
        {"events", {{{"type", "pointer_leave"}}, {{"type", "text"}, {"text", "a"}}}}}},
      {{"click", "10", "20.5", "--count", "2", "--button", "secondary"},
       {{"request", "input"},
        {"events",
         {{{"type", "click"}, {"x", 10.0}, {"y", 20.5}, {"count", 2}, {"button", "secondary"}}}}}},
      {{"key", "c", "primary"},
       {{"request", "input"},
        {"events", {{{"type", "key"}, {"key", "c"}, {"modifiers", {"primary"}}}}}}},
      {{"type", "héllo"},
       {{"request", "input"}, {"events", {{{"type", "text"}, {"text", "héllo"}}}}}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(request_of(c.args), c.request) << c.args[0];
}

TEST(CommandLineTest, RawRequestsGoAsGiven) {
  auto from_argument = parse_command_line({"--socket", "/s", "raw", R"({"request": )"}, nullptr);
  ASSERT_TRUE(from_argument.has_value());
  EXPECT_EQ(from_argument->request, R"({"request": )");
  EXPECT_FALSE(from_argument->judges_outcome);
  auto from_input = parse_command_line({"--socket", "/s", "raw", "-"}, nullptr, [] {
    return std::string(R"({"request":"action","action":"files.paste","kind":1})") + "\n";
  });
  ASSERT_TRUE(from_input.has_value());
  EXPECT_EQ(from_input->request, R"({"request":"action","action":"files.paste","kind":1})");
  EXPECT_TRUE(from_input->judges_outcome);
  EXPECT_FALSE(parse_command_line({"--socket", "/s", "raw", "-"}, nullptr, [] {
                 return std::string("a\nb");
               }).has_value());
}

TEST(CommandLineTest, OptionsAndTheEnvironmentSocket) {
  auto invocation = parse_command_line({"--wait", "2.5", "--timeout", "1", "--pretty", "snapshot"},
                                       "/run/env.sock");
  ASSERT_TRUE(invocation.has_value()) << invocation.error();
  EXPECT_EQ(invocation->socket, "/run/env.sock");
  EXPECT_EQ(invocation->wait, std::chrono::milliseconds(2500));
  EXPECT_EQ(invocation->timeout, std::chrono::milliseconds(1000));
  EXPECT_TRUE(invocation->pretty);
  EXPECT_FALSE(invocation->judges_outcome);
  auto explicit_socket = parse_command_line({"--socket", "/a.sock", "ping"}, "/run/env.sock");
  EXPECT_EQ(explicit_socket->socket, "/a.sock");
}

TEST(CommandLineTest, RefusesBadUsage) {
  const std::vector<std::vector<std::string>> cases = {
      {"snapshot"},  // no socket anywhere
      {"--socket", "/s"},
      {"--socket", "/s", "dance"},
      {"--socket", "/s", "snapshot", "extra"},
      {"--socket", "/s", "lookup"},
      {"--socket", "/s", "action", "files.paste"},
      {"--socket", "/s", "action", "files.paste", "sideways"},
      {"--socket", "/s", "action", "files.paste", "3"},
      {"--socket", "/s", "action", "files.paste", "effect", "{oops"},
      {"--socket", "/s", "action", "files.paste", "effect", "--int", "index=two"},
      {"--socket", "/s", "action", "files.paste", "effect", "--arg", "=x"},
      {"--socket", "/s", "action", "files.paste", "effect", "--arg"},
      {"--socket", "/s", "complete", "0"},
      {"--socket", "/s", "complete", "x"},
      {"--socket", "/s", "click", "1"},
      {"--socket", "/s", "click", "1", "nan"},
      {"--socket", "/s", "click", "1", "2", "--count"},
      {"--socket", "/s", "input", "{"},
      {"--socket", "/s", "--wait", "-1", "ping"},
      {"--socket", "/s", "--frobnicate", "1", "ping"},
  };
  for (const auto& args : cases) {
    EXPECT_FALSE(parse_command_line(args, nullptr).has_value()) << ::testing::PrintToString(args);
  }
}

TEST(CommandLineTest, ExitStatusFollowsTheReply) {
  Invocation reading;
  Invocation acting;
  acting.judges_outcome = true;
  struct Case {
    const Invocation& invocation;
    const char* reply;
    int status;
  };
  const std::vector<Case> cases = {
      {reading, R"({"ok":true,"snapshot":{}})", 0},
      {reading, R"({"ok":false,"error":{"code":"malformed_json"}})", 1},
      {reading, "not json", 1},
      {reading, R"({"ok":true,"outcome":"failed"})", 0},
      {acting, R"({"ok":true,"outcome":"completed","handle":1})", 0},
      {acting, R"({"ok":true,"outcome":"pending","handle":1})", 0},
      {acting, R"({"ok":true,"outcome":"failed","text":"x","handle":1})", 3},
      {acting, R"({"ok":true,"outcome":"not_handled","handle":1})", 3},
      {acting, R"({"ok":false,"error":{"code":"no_such_action"}})", 1},
      {acting, R"({"ok":true,"completion":null})", 0},
      {acting, R"({"ok":true,"completion":{"outcome":"completed"}})", 0},
      {acting, R"({"ok":true,"completion":{"outcome":"failed","code":"files.share_failed"}})", 3},
  };
  for (const auto& c : cases)
    EXPECT_EQ(exit_status_for(c.invocation, c.reply), c.status) << c.reply;
}

}  // namespace
}  // namespace files_ctl
