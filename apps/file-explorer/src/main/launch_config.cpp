#include "main/launch_config.h"

#include <cstdlib>

#include "files_app/file_explorer_widget.h"
#include "main/screenshots.h"
#include "main/workspace.h"
#include "vask_ui/diag.h"
#include "vask_ui/persist.h"
#include "xdg_paths/xdg_paths.h"

namespace files {
namespace {

bool is_valid_utf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    auto c = static_cast<unsigned char>(text[i]);
    std::size_t len = c < 0x80           ? 1
                      : (c >> 5) == 0x6  ? 2
                      : (c >> 4) == 0xE  ? 3
                      : (c >> 3) == 0x1E ? 4
                                         : 0;
    if (len == 0 || i + len > text.size()) return false;
    for (std::size_t k = 1; k < len; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    // Overlong forms and surrogates are not valid text.
    if (len == 2 && c < 0xC2) return false;
    if (len == 3) {
      auto c1 = static_cast<unsigned char>(text[i + 1]);
      if ((c == 0xE0 && c1 < 0xA0) || (c == 0xED && c1 >= 0xA0)) return false;
    }
    if (len == 4) {
      auto c1 = static_cast<unsigned char>(text[i + 1]);
      if ((c == 0xF0 && c1 < 0x90) || c > 0xF4 || (c == 0xF4 && c1 >= 0x90)) return false;
    }
    i += len;
  }
  return true;
}

bool usable(const char* value) {
  return value != nullptr && value[0] != '\0' && is_valid_utf8(value);
}

std::expected<std::unique_ptr<vask_ui::Widget>, vask_ui::LaunchError> build_root(
    const vask_ui::LaunchArgs& args) {
  // The received-share admission ("--open-share-stdin") runs here before the window is built
  // once the received-share service client exists; until then the switch only suppresses the
  // positional folder, as it will then.
  bool received_share_mode = false;
  for (const std::string& arg : args.raw()) {
    if (arg == "--open-share-stdin") received_share_mode = true;
  }
  std::filesystem::path folder = start_folder();
  if (!received_share_mode) {
    auto positional = positional_folder(args);
    if (!positional) return std::unexpected(vask_ui::LaunchError{positional.error()});
    if (*positional) folder = **positional;
  }
  return std::make_unique<app::FileExplorerWidget>(window_config(folder));
}

std::expected<vask_ui::StateDocument, std::string> open_state_document() {
  auto doc = vask_ui::persist::open(kApplicationId);
  if (!doc) return doc;
  std::string actor =
      choose_actor(std::getenv("DRELL_APP_ID"), std::getenv("VASK_USER_ID"), doc->actor_hex());
  vask_ui::diag::write_line("state document actor: " + actor);
  doc->set_actor(std::vector<std::uint8_t>(actor.begin(), actor.end()));
  return doc;
}

}  // namespace

app::WindowConfig window_config(std::filesystem::path folder) {
  app::WindowConfig config;
  auto dirs = xdg_paths::AppDirs::for_app(kConfigFolderName);
  config.config_dir = dirs ? dirs->config() : std::filesystem::path(".") / kConfigFolderName;
  config.user_home = user_home();
  config.user_dirs = vask_ui::sysdirs::UserDirs::from_system();
  config.start_folder = std::move(folder);
  config.in_workspace = [](const std::filesystem::path& path) { return is_in_workspace(path); };
  config.workspace_roots = workspace_roots();
  return config;
}

std::expected<std::optional<std::filesystem::path>, std::string> positional_folder(
    const vask_ui::LaunchArgs& args) {
  if (args.positionals().empty()) return std::optional<std::filesystem::path>{};
  const std::string& first = args.positionals().front();
  if (first.empty()) return std::unexpected(std::string("cannot make an empty path absolute"));
  std::error_code ec;
  auto absolute = std::filesystem::absolute(first, ec);
  if (ec) return std::unexpected(first + ": " + ec.message());
  return std::optional<std::filesystem::path>(absolute);
}

std::string choose_actor(const char* drell_app_id, const char* vask_user_id,
                         std::string_view existing_actor_hex) {
  if (usable(drell_app_id)) return drell_app_id;
  if (usable(vask_user_id)) return std::string("files-") + vask_user_id;
  return "files-" + std::string(existing_actor_hex.substr(0, 12));
}

const vask_ui::LaunchConfig& launch_config() {
  static const vask_ui::LaunchConfig config = [] {
    vask_ui::LaunchConfig c;
    c.application_id = std::string(kApplicationId);
    c.title = "Files";
    c.value_options = {"--size", "--path"};
    c.switches = {"--open-share-stdin"};
    c.scenarios = {"archive", "archive-menu",   "context-menu", "dropmove",      "error",
                   "grid",    "history",        "loading",      "menu",          "pindrag",
                   "places",  "remote-account", "rename",       "reorder",       "select",
                   "status",  "sync",           "thumbnails",   "thumbnails-fs", "undo-trash"};
    c.history_mode = {std::string(kApplicationId), {{"selected-file", "Selected file"}}};
    c.build = build_root;
    c.screenshot = render_screenshot;
    c.default_size = [] { return vask_ui::Size{1280, 800}; };
    c.predicate = [] { return true; };
    c.state_document = open_state_document;
    return c;
  }();
  return config;
}

}  // namespace files
