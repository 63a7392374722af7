#pragma once

#include <chrono>
#include <expected>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace files_ctl {

/// One run of the client: where to connect and the single request line to send.
struct Invocation {
  std::filesystem::path socket;
  /// The request as one line of JSON, without the newline.
  std::string request;
  /// The request runs an action, so a failed or unhandled outcome is the command's failure.
  bool judges_outcome = false;
  bool pretty = false;
  /// How long to wait for the socket to appear and accept, for a program still starting.
  std::chrono::milliseconds wait{0};
  std::chrono::milliseconds timeout{30000};
};

/// Reads the arguments after the program name. `environment_socket` is the value of
/// VASK_AUTOMATION_SOCKET, used when "--socket" is not given; `standard_input` is read for
/// "raw -". Help is an error whose text is the usage.
std::expected<Invocation, std::string> parse_command_line(
    const std::vector<std::string>& args, const char* environment_socket,
    const std::function<std::string()>& standard_input = {});

/// What the client prints for "--help" and for a usage error.
std::string usage();

/// The exit status for a reply line: 0 success, 1 an error reply (or a reply that is not
/// JSON), 3 an action that failed or was not handled (when the invocation judges outcomes).
int exit_status_for(const Invocation& invocation, const std::string& reply);

}  // namespace files_ctl
