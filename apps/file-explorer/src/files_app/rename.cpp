#include "fileops/names.h"
#include "files_app/file_explorer_widget.h"
#include "i18n/i18n.h"
#include "vask_ui/widgets/container.h"

// The inline rename: a text field laid over the label of the entry being renamed. While it is
// open the folder is not re-checked (the entry must keep its index), the keyboard table is off,
// Enter commits, Escape cancels and a press anywhere else commits.

namespace files::app {

namespace {

// The part of a file name a user usually means to change: everything before the last
// extension. Folders and names whose only dot leads them ("".bashrc") are edited whole.
std::size_t stem_length(const model::FileEntry& entry) {
  if (entry.is_dir) return entry.name.size();
  std::size_t dot = entry.name.rfind('.');
  if (dot == std::string::npos || dot == 0) return entry.name.size();
  return dot;
}

bool is_primary_press(const vask_ui::Event& event) {
  const auto* press = std::get_if<vask_ui::PointerPress>(&event);
  return press != nullptr && press->button == vask_ui::PointerButton::Primary;
}

}  // namespace

bool FileExplorerWidget::begin_rename() {
  if (guard_read_only()) return true;
  const auto& selection = state_.selection();
  if (selection.count() != 1) return false;
  std::size_t index = selection.selected().front();
  if (index >= state_.entries().size()) return false;
  const model::FileEntry& entry = state_.entries()[index];
  rename_ = InlineRename{index, entry.name};
  rename_generation_ = state_.load_generation();
  rename_input_.set_text(entry.name);
  rename_input_.set_selection(0, stem_length(entry));
  rename_input_.focus_changed(true);
  state_.clear_notice();
  last_click_.reset();
  armed_.reset();
  return true;
}

bool FileExplorerWidget::cancel_rename() {
  if (!rename_) return false;
  rename_.reset();
  rename_input_.focus_changed(false);
  return true;
}

bool FileExplorerWidget::commit_rename() {
  if (!rename_) return false;
  if (rename_->index >= state_.entries().size()) return cancel_rename();
  const model::FileEntry& entry = state_.entries()[rename_->index];
  fileops::RenameCommit result = fileops::commit_rename(entry.path, entry.name, rename_->text);
  switch (result.kind) {
    case fileops::RenameCommit::Kind::Cancelled:
      return cancel_rename();
    case fileops::RenameCommit::Kind::Failed:
      // The field stays open with the text, so the name can be corrected.
      state_.set_notice(result.status);
      return true;
    case fileops::RenameCommit::Kind::Renamed:
      cancel_rename();
      state_.refresh();
      state_.set_notice(result.status);
      // The renamed item stays selected under its new name.
      if (auto index = state_.index_of(result.new_path)) state_.selection().select_only(*index);
      return true;
  }
  return false;
}

void FileExplorerWidget::select_and_rename(const std::filesystem::path& path) {
  auto index = state_.index_of(path);
  if (!index) return;
  state_.selection().select_only(*index);
  rebuild_view();
  move_focus(*index, /*extend=*/false);
  begin_rename();
}

std::optional<vask_ui::EventResult> FileExplorerWidget::route_rename(const vask_ui::Event& event) {
  if (!rename_) return std::nullopt;
  if (const auto* key = std::get_if<vask_ui::KeyPress>(&event)) {
    if (key->key == vask_ui::Key::Escape) {
      execute(command::CancelRename{});
      return vask_ui::EventResult::Handled;
    }
    if (key->key == vask_ui::Key::Enter) {
      rename_->text = rename_input_.text();
      execute(command::CommitRename{});
      return vask_ui::EventResult::Handled;
    }
  }
  if (is_primary_press(event)) {
    const auto& press = std::get<vask_ui::PointerPress>(event);
    auto field = view_.rename_rect();
    if (field && field->contains(press.position) && scroll_.viewport().contains(press.position)) {
      return rename_input_.handle_event(event);
    }
    rename_->text = rename_input_.text();
    execute(command::CommitRename{});
    return vask_ui::EventResult::Handled;
  }
  // Wheel events scroll the content under the field; everything else is the field's.
  if (std::holds_alternative<vask_ui::Wheel>(event)) return std::nullopt;
  rename_input_.handle_event(event);
  return vask_ui::EventResult::Handled;
}

void FileExplorerWidget::sync_rename(const vask_ui::FrameContext& frame) {
  if (!rename_) return;
  // Another folder (or a reload) gives the entries new indices: the rename cannot follow.
  if (state_.load_generation() != rename_generation_ || rename_->index >= state_.entries().size()) {
    cancel_rename();
    return;
  }
  rename_input_.sync(frame);
  if (rename_input_.take_edited()) rename_->text = rename_input_.text();
}

void FileExplorerWidget::draw_rename_field(vask_ui::Canvas& canvas) {
  if (!rename_ || shown_panel_ != Panel::None) return;
  auto rect = view_.rename_rect();
  if (!rect) return;  // the entry is scrolled out of sight
  if (rename_input_.rect() != *rect) vask_ui::layout_child(rename_input_, *rect);
  vask_ui::ClipScope clip(canvas, scroll_.viewport());
  rename_input_.draw(canvas);
}

}  // namespace files::app
