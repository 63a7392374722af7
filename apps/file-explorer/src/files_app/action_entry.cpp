#include "favorites/favorites.h"
#include "fileops/names.h"
#include "fileops/templates.h"
#include "files_app/file_explorer_widget.h"
#include "i18n/i18n.h"
#include "support/overloaded.h"

// The window's side of the semantic actions: what it publishes to automation and assistive
// clients, and what it does with the actions they send back. Every accepted action runs
// through the same command implementations as a click or a key.

namespace files::app {

namespace va = vask_actions;

namespace {

std::unexpected<std::string> fail(std::string_view text) {
  return std::unexpected(std::string(text));
}

}  // namespace

CatalogFacts FileExplorerWidget::catalog_facts() const {
  CatalogFacts facts;
  facts.folder = state_.current_folder();
  facts.entries = state_.entries();
  facts.in_trash = state_.in_trash();
  read_folder_metadata(facts);
  facts.folder_is_favourite = favorites::is_favourite(favourites(), facts.folder);
  facts.clipboard_empty = clipboard_.empty();
  facts.trash_undo_available = trash_undo_.has_value();
  read_templates(facts);
  for (std::size_t row = 0; row < sidebar_.row_count(); ++row) {
    if (auto place = sidebar_.place_at_row(row)) facts.places.push_back(std::move(*place));
  }
  if (panel() == Panel::Error) facts.retry_controls = retry_button_.resources();
  return facts;
}

std::optional<va::Resource> FileExplorerWidget::action_resources() const {
  return build_listing(catalog_facts());
}

std::optional<va::Resource> FileExplorerWidget::lookup_action_resource(std::string_view id) const {
  return lookup_resource(catalog_facts(), id);
}

std::optional<va::Completion> FileExplorerWidget::take_action_completion(va::RequestHandle handle) {
  return background_actions_.take(handle);
}

std::vector<vask_ui::ControlResource> FileExplorerWidget::resources() const {
  std::vector<vask_ui::ControlResource> out;
  if (panel() == Panel::Error) out = retry_button_.resources();
  for (vask_ui::ControlResource& control : nav_shell_.resources())
    out.push_back(std::move(control));
  return out;
}

bool FileExplorerWidget::take_control_invocation(const vask_ui::ControlInvocation& invocation) {
  if (retry_button_.take_control_invocation(invocation)) {
    retry_button_.take_activated();
    execute(command::Refresh{});
    return true;
  }
  // A sheet is modal: nothing behind it can be pressed.
  if (sheet_) return false;
  if (!nav_shell_.take_control_invocation(invocation)) return false;
  drain_commands();
  return true;
}

va::ActionOutcome FileExplorerWidget::perform_action(const va::ActionRequest& request) {
  if (background_actions_.pending())
    return va::ActionFailed{std::string(dispatch::kStillRunning), ""};
  // The one-time share link and the nearby send are the actions whose work finishes on a worker
  // (background_actions_.begin with the request's handle, outcome pending); the dispatcher
  // refuses both until those services exist.
  va::ActionOutcome outcome = run_accepted(dispatch::accept(request, catalog_facts()));
  // A command may have replaced the entries the file view points into.
  rebuild_view();
  state_.request_redraw();
  return outcome;
}

va::ActionOutcome FileExplorerWidget::run_accepted(const dispatch::Decision& decision) {
  auto done = [](std::expected<void, std::string> result) -> va::ActionOutcome {
    if (!result) return va::ActionFailed{std::move(result.error()), ""};
    return va::ActionCompleted{};
  };
  return std::visit(
      Overloaded{
          [](const dispatch::NotHandled&) -> va::ActionOutcome { return va::ActionNotHandled{}; },
          [](const dispatch::Refused& r) -> va::ActionOutcome {
            return va::ActionFailed{r.text, ""};
          },
          [&](const dispatch::RefreshFolder&) -> va::ActionOutcome {
            execute(command::Refresh{});
            return va::ActionCompleted{};
          },
          [&](const dispatch::InvokeControl& c) -> va::ActionOutcome {
            if (!take_control_invocation(c.invocation)) return va::ActionNotHandled{};
            return va::ActionCompleted{};
          },
          [&](const dispatch::FolderCommand& c) { return done(run_folder_command(c.word)); },
          [&](const dispatch::EntryCommand& c) { return done(run_entry_command(c)); },
          [&](const dispatch::OpenLocation& c) { return done(open_item(c.path)); },
          [&](const dispatch::CreateFolder& c) { return done(run_create_folder(c.name)); },
          [&](const dispatch::CreateFromTemplate& c) {
            return done(run_create_from_template(c.template_path));
          },
          [&](const dispatch::PasteClipboard&) { return done(run_paste()); },
          [&](const dispatch::RenameEntry& c) { return done(run_rename(c)); },
      },
      decision);
}

std::expected<void, std::string> FileExplorerWidget::run_folder_command(const std::string& word) {
  using namespace command;
  auto run = [&](const ExplorerCommand& c) -> std::expected<void, std::string> {
    if (!execute(c)) return fail(dispatch::kNotApplied);
    return {};
  };
  const std::filesystem::path folder = state_.current_folder();
  if (word == "up") return run(GoUp{});
  if (word == "back") return run(GoBack{});
  if (word == "forward") return run(GoForward{});
  if (word == "hidden") return run(ToggleHidden{});
  if (word == "list") return run(SetViewMode{model::ViewMode::List});
  if (word == "grid") return run(SetViewMode{model::ViewMode::Grid});
  if (word == "sort-name") return run(SetSortKey{model::SortKey::Name});
  if (word == "sort-size") return run(SetSortKey{model::SortKey::Size});
  if (word == "sort-type") return run(SetSortKey{model::SortKey::Type});
  if (word == "sort-modified") return run(SetSortKey{model::SortKey::Modified});
  if (word == "sort-ascending") return run(SetSortDirection{model::SortOrder::Ascending});
  if (word == "sort-descending") return run(SetSortDirection{model::SortOrder::Descending});
  if (word == "shortcuts") return run(ShowShortcuts{});
  if (word == "add-favorite") return run(AddFavourite{folder});
  if (word == "remove-favorite") return run(RemoveFavourite{folder});
  if (word == "undo-trash") return run(UndoTrash{});
  if (word == "empty-trash") {
    if (!state_.in_trash()) return fail(dispatch::kNotApplied);
    return run(EmptyTrash{});
  }
  if (word == "zoom-in" || word == "zoom-out") {
    state_.zoom_by(word == "zoom-in" ? 1 : -1);
    return {};
  }
  if (word == "terminal") {
    return open_terminal();
  }
  // The dispatcher lets through only the words above.
  return fail(dispatch::kNotApplied);
}

std::expected<void, std::string> FileExplorerWidget::run_entry_command(
    const dispatch::EntryCommand& c) {
  using namespace command;
  const std::filesystem::path path = state_.entries().at(c.entry).path;
  std::optional<ExplorerCommand> command;
  const std::string& w = c.word;
  if (w == "copy") command = CopySelection{};
  if (w == "cut") command = CutSelection{};
  if (w == "trash") command = DeleteSelection{};
  if (w == "restore") command = RestoreSelection{};
  if (w == "purge") command = PurgePaths{{path}};
  if (w == "extract") command = ExtractSelectedArchive{};
  if (w == "compress") command = CompressSelection{};
  if (w == "properties") command = ShowProperties{};
  if (w == "availability") command = ShowAvailability{};
  if (w == "sharing") command = ShowSharing{};
  if (w == "history") command = ShowVersionHistory{};
  if (w == "send-nearby") command = SendNearby{};
  if (w == "keep-offline") command = KeepOffline{};
  if (w == "automatic-storage") command = UseAutomaticStorage{};
  if (w == "free-local-space") command = FreeLocalSpace{};
  if (w == "retry-transfer") command = RetryDownload{};
  if (!command) return fail(dispatch::kNotApplied);
  // The command acts on the selection: the named entry alone.
  last_click_.reset();
  state_.selection().select_only(c.entry);
  if (!execute(*command)) return fail(dispatch::kNotApplied);
  return {};
}

void FileExplorerWidget::select_path(const std::filesystem::path& path) {
  const auto& entries = state_.entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].path == path) state_.selection().select_only(i);
  }
}

std::expected<void, std::string> FileExplorerWidget::run_create_folder(const std::string& name) {
  if (guard_read_only()) return fail(*state_.notice());
  auto created = fileops::create_folder(state_.current_folder(), name);
  if (!created) return std::unexpected(std::move(created.error()));
  state_.refresh();
  select_path(*created);
  state_.set_notice(i18n::t("files-created-folder"));
  return {};
}

std::expected<void, std::string> FileExplorerWidget::run_create_from_template(
    const std::filesystem::path& path) {
  if (guard_read_only()) return fail(*state_.notice());
  auto created = fileops::new_from_template_action(path, state_.current_folder());
  if (!created) return std::unexpected(std::move(created.error()));
  state_.refresh();
  select_path(*created);
  state_.set_notice(i18n::t("files-created-file"));
  return {};
}

std::expected<void, std::string> FileExplorerWidget::run_rename(const dispatch::RenameEntry& r) {
  if (guard_read_only()) return fail(*state_.notice());
  const std::filesystem::path path = state_.entries().at(r.entry).path;
  auto renamed = fileops::rename_action(path, r.new_name);
  if (!renamed) return std::unexpected(std::move(renamed.error()));
  state_.refresh();
  select_path(*renamed);
  state_.set_notice(i18n::t("files-renamed"));
  return {};
}

std::expected<void, std::string> FileExplorerWidget::run_paste() {
  if (guard_read_only()) return fail(*state_.notice());
  auto report = fileops::paste(clipboard_, state_.current_folder());
  if (report) {
    state_.refresh();
    state_.set_notice(fileops::paste_status(*report));
  }
  return fileops::paste_action_result(report);
}

}  // namespace files::app
