#include "command_line.h"

#include <charconv>
#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>

namespace files_ctl {
namespace {

using nlohmann::json;
using Args = std::vector<std::string>;

std::unexpected<std::string> fail(std::string message) {
  return std::unexpected(std::move(message));
}

std::optional<long long> parse_integer(std::string_view text) {
  long long value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<double> parse_number(const std::string& text) {
  // JSON's number grammar, so "1e3" works and "0x10" or "nan" does not.
  json value = json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (!value.is_number()) return std::nullopt;
  return value.get<double>();
}

/// "--arg NAME=TEXT" and "--int NAME=N" after the positional words of action and invoke.
std::expected<json, std::string> read_arguments(const Args& words, std::size_t from) {
  json args = json::object();
  for (std::size_t i = from; i < words.size(); i += 2) {
    if ((words[i] != "--arg" && words[i] != "--int") || i + 1 >= words.size()) {
      return fail("expected --arg NAME=TEXT or --int NAME=N, got \"" + words[i] + "\"");
    }
    const std::string& pair = words[i + 1];
    auto eq = pair.find('=');
    if (eq == std::string::npos || eq == 0) return fail("\"" + pair + "\" is not NAME=VALUE");
    std::string name = pair.substr(0, eq);
    std::string value = pair.substr(eq + 1);
    if (words[i] == "--arg") {
      args[name] = value;
    } else if (auto number = parse_integer(value)) {
      args[name] = *number;
    } else {
      return fail("\"" + value + "\" is not an integer");
    }
  }
  return args;
}

std::expected<json, std::string> read_kind(const std::string& word) {
  if (word == "inspect" || word == "effect" || word == "navigate") return word;
  if (auto number = parse_integer(word); number && *number >= 0 && *number <= 2) return *number;
  return fail("\"" + word + "\" is not an operation kind (inspect, effect, navigate or 0-2)");
}

/// The request for the command words (the first word names the command).
std::string dump(const json& value) {
  return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::expected<json, std::string> build_request(const Args& words, bool& judges_outcome) {
  const std::string& command = words[0];
  auto need = [&](std::size_t at_least, std::size_t at_most) -> std::expected<void, std::string> {
    if (words.size() - 1 < at_least || words.size() - 1 > at_most) {
      return fail("wrong number of arguments for \"" + command + "\"");
    }
    return {};
  };
  json request = {{"request", command}};
  if (command == "ping" || command == "snapshot" || command == "accessibility" ||
      command == "resources") {
    if (auto ok = need(0, 0); !ok) return std::unexpected(ok.error());
    return request;
  }
  if (command == "lookup") {
    if (auto ok = need(1, 1); !ok) return std::unexpected(ok.error());
    request["resource"] = words[1];
    return request;
  }
  if (command == "complete") {
    if (auto ok = need(1, 1); !ok) return std::unexpected(ok.error());
    auto handle = parse_integer(words[1]);
    if (!handle || *handle <= 0) return fail("\"" + words[1] + "\" is not a request handle");
    request["handle"] = *handle;
    judges_outcome = true;
    return request;
  }
  if (command == "action" || command == "invoke") {
    if (words.size() < 3) return fail("\"" + command + "\" needs a target and an operation kind");
    auto kind = read_kind(words[2]);
    if (!kind) return std::unexpected(kind.error());
    request[command == "action" ? "action" : "address"] = words[1];
    request["kind"] = *kind;
    std::size_t next = 3;
    if (command == "action" && next < words.size() && !words[next].starts_with("--")) {
      json payload = json::parse(words[next], nullptr, /*allow_exceptions=*/false);
      if (payload.is_discarded()) {
        return fail("the payload \"" + words[next] + "\" is not JSON (use --payload-text)");
      }
      request["payload"] = std::move(payload);
      ++next;
    } else if (command == "action" && next + 1 < words.size() && words[next] == "--payload-text") {
      request["payload_text"] = words[next + 1];
      next += 2;
    }
    auto args = read_arguments(words, next);
    if (!args) return std::unexpected(args.error());
    if (!args->empty()) request["args"] = std::move(*args);
    judges_outcome = true;
    return request;
  }
  if (command == "input") {
    if (auto ok = need(1, 1000); !ok) return std::unexpected(ok.error());
    json events = json::array();
    for (std::size_t i = 1; i < words.size(); ++i) {
      json event = json::parse(words[i], nullptr, /*allow_exceptions=*/false);
      if (event.is_discarded()) return fail("the event \"" + words[i] + "\" is not JSON");
      if (event.is_array()) {
        for (auto& one : event)
          events.push_back(std::move(one));
      } else {
        events.push_back(std::move(event));
      }
    }
    request["events"] = std::move(events);
    return request;
  }
  if (command == "click") {
    if (words.size() < 3) return fail("\"click\" needs X and Y");
    auto x = parse_number(words[1]);
    auto y = parse_number(words[2]);
    if (!x || !y) return fail("\"click\" needs numbers for X and Y");
    json event = {{"type", "click"}, {"x", *x}, {"y", *y}};
    for (std::size_t i = 3; i < words.size(); i += 2) {
      if (i + 1 >= words.size()) return fail("\"" + words[i] + "\" needs a value");
      if (words[i] == "--button") {
        event["button"] = words[i + 1];
      } else if (words[i] == "--count") {
        auto count = parse_integer(words[i + 1]);
        if (!count) return fail("\"" + words[i + 1] + "\" is not a count");
        event["count"] = *count;
      } else {
        return fail("unknown click option \"" + words[i] + "\"");
      }
    }
    return json{{"request", "input"}, {"events", json::array({event})}};
  }
  if (command == "key") {
    if (words.size() < 2) return fail("\"key\" needs a key name");
    json event = {{"type", "key"}, {"key", words[1]}, {"modifiers", json::array()}};
    for (std::size_t i = 2; i < words.size(); ++i)
      event["modifiers"].push_back(words[i]);
    return json{{"request", "input"}, {"events", json::array({event})}};
  }
  if (command == "type") {
    if (auto ok = need(1, 1); !ok) return std::unexpected(ok.error());
    json event = {{"type", "text"}, {"text", words[1]}};
    return json{{"request", "input"}, {"events", json::array({event})}};
  }
  return fail("unknown command \"" + command + "\"");
}

std::optional<std::chrono::milliseconds> parse_seconds(const std::string& text) {
  auto seconds = parse_number(text);
  if (!seconds || *seconds < 0 || *seconds > 86400) return std::nullopt;
  return std::chrono::milliseconds(static_cast<long long>(*seconds * 1000));
}

}  // namespace

std::string usage() {
  return R"(usage: files-ctl [--socket PATH] [--wait SECONDS] [--timeout SECONDS] [--pretty] COMMAND
Talks to a running Files window through its automation socket (--socket, else the
environment variable VASK_AUTOMATION_SOCKET) and prints the reply.

Commands:
  ping | snapshot | accessibility | resources
  lookup RESOURCE-ID
  action ACTION-ID KIND [PAYLOAD-JSON | --payload-text TEXT] [--arg NAME=TEXT] [--int NAME=N]
  invoke ADDRESS KIND [--arg NAME=TEXT] [--int NAME=N]      (ADDRESS as "resources" lists it)
  complete HANDLE
  input EVENT-JSON...                   (objects, or one array of them)
  click X Y [--button primary|secondary|middle] [--count N]
  key KEY [MODIFIER...]                 (for example: key c primary)
  type TEXT
  raw REQUEST-LINE | raw -             (sent as given; - reads it from standard input)
KIND is inspect, effect or navigate (or 0, 1, 2).

Exit status: 0 success; 1 the window refused the request; 2 usage or connection error;
3 the action failed or was not handled.
)";
}

std::expected<Invocation, std::string> parse_command_line(
    const std::vector<std::string>& args, const char* environment_socket,
    const std::function<std::string()>& standard_input) {
  Invocation out;
  std::size_t i = 0;
  for (; i < args.size() && args[i].starts_with("--"); ++i) {
    const std::string& option = args[i];
    if (option == "--help") return fail(usage());
    if (option == "--pretty") {
      out.pretty = true;
      continue;
    }
    if (i + 1 >= args.size()) return fail("option " + option + " needs a value");
    const std::string& value = args[++i];
    if (option == "--socket") {
      out.socket = value;
    } else if (option == "--wait" || option == "--timeout") {
      auto duration = parse_seconds(value);
      if (!duration) return fail("\"" + value + "\" is not a number of seconds");
      (option == "--wait" ? out.wait : out.timeout) = *duration;
    } else {
      return fail("unknown option " + option);
    }
  }
  if (out.socket.empty() && environment_socket != nullptr) out.socket = environment_socket;
  if (out.socket.empty())
    return fail("no socket: give --socket PATH or set VASK_AUTOMATION_SOCKET");
  if (i >= args.size()) return fail("no command given");
  Args words(args.begin() + static_cast<long>(i), args.end());
  if (words[0] == "raw") {
    // Sent as given, malformed or not: the window's own answer is what the caller wants.
    if (words.size() != 2) return fail("wrong number of arguments for \"raw\"");
    out.request = words[1];
    if (out.request == "-") out.request = standard_input ? standard_input() : "";
    while (!out.request.empty() && out.request.back() == '\n')
      out.request.pop_back();
    if (out.request.find('\n') != std::string::npos) return fail("a raw request is one line");
    json raw = json::parse(out.request, nullptr, /*allow_exceptions=*/false);
    out.judges_outcome = raw.is_object() && (raw.value("request", "") == "action" ||
                                             raw.value("request", "") == "invoke");
    return out;
  }
  auto request = build_request(words, out.judges_outcome);
  if (!request) return std::unexpected(request.error());
  out.request = dump(*request);
  return out;
}

int exit_status_for(const Invocation& invocation, const std::string& reply) {
  json value = json::parse(reply, nullptr, /*allow_exceptions=*/false);
  if (!value.is_object() || value.value("ok", false) != true) return 1;
  if (!invocation.judges_outcome) return 0;
  const json* outcome = &value;
  if (auto completion = value.find("completion"); completion != value.end()) {
    if (completion->is_null()) return 0;
    outcome = &*completion;
  }
  std::string word = outcome->value("outcome", "");
  return word == "failed" || word == "not_handled" ? 3 : 0;
}

}  // namespace files_ctl
