#include <gtest/gtest.h>

#include "vask_ui/clipboard.h"
#include "vask_ui/clock.h"
#include "vask_ui/gesture.h"
#include "vask_ui/widgets/text_input.h"
#include "widget_test_support.h"

namespace vask_ui {
namespace {

using namespace vask_ui::testing;

class TextInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    field.focus_changed(true);
    lay_out(field, {320, 32});
  }
  EventResult send(const Event& e) { return field.handle_event(e); }
  void set(std::string text, std::size_t caret) {
    field.set_text(std::move(text));
    field.set_selection(caret, caret);
  }

  TextInput field;
};

TEST_F(TextInputTest, TypingInsertsAtTheCaretAndReportsTheEdit) {
  type(field, "hello");
  type(field, " world");
  EXPECT_EQ(field.text(), "hello world");
  EXPECT_EQ(field.caret(), 11u);
  EXPECT_TRUE(field.take_edited());
  EXPECT_FALSE(field.take_edited());
  send(key(Key::Home));
  type(field, ">");
  EXPECT_EQ(field.text(), ">hello world");
  EXPECT_EQ(field.caret(), 1u);
}

TEST_F(TextInputTest, ProgrammaticTextIsNotAnEditAndCannotBeUndone) {
  field.set_text("report.pdf");
  EXPECT_FALSE(field.take_edited());
  EXPECT_EQ(field.caret(), field.text().size());
  send(chord("z", kPrimary));
  EXPECT_EQ(field.text(), "report.pdf");
}

TEST_F(TextInputTest, TypingReplacesTheSelection) {
  field.set_text("report.pdf");
  field.set_selection(0, 6);  // the stem, as a rename starts
  type(field, "summary");
  EXPECT_EQ(field.text(), "summary.pdf");
  EXPECT_FALSE(field.has_selection());
}

TEST_F(TextInputTest, CaretMovesBySelectionWordAndLine) {
  struct Case {
    const char* name;
    Event event;
    std::size_t start_caret;
    std::size_t caret;
    std::size_t anchor;
  };
  // "alpha beta-gamma": word ends at 5, 10, 16; starts at 0, 6, 11.
  const Case cases[] = {
      {"left", key(Key::Left), 8, 7, 7},
      {"right", key(Key::Right), 8, 9, 9},
      {"word right from inside a word", key(Key::Right, kPrimary), 7, 10, 10},
      {"word right skips the dash", key(Key::Right, kPrimary), 10, 16, 16},
      {"word left to the word start", key(Key::Left, kPrimary), 16, 11, 11},
      {"word left over the space", key(Key::Left, kPrimary), 6, 0, 0},
      {"shift extends", key(Key::Left, kShift), 8, 7, 8},
      {"home", key(Key::Home), 8, 0, 0},
      {"shift end selects to the end", key(Key::End, kShift), 8, 16, 8},
      {"left at the start stays", key(Key::Left), 0, 0, 0},
  };
  for (const Case& c : cases) {
    set("alpha beta-gamma", c.start_caret);
    EXPECT_EQ(send(c.event), EventResult::Handled) << c.name;
    EXPECT_EQ(field.caret(), c.caret) << c.name;
    EXPECT_EQ(field.anchor(), c.anchor) << c.name;
  }
}

TEST_F(TextInputTest, ArrowsCollapseASelectionToItsEdge) {
  field.set_text("one two three");
  field.set_selection(4, 7);
  send(key(Key::Left));
  EXPECT_EQ(field.caret(), 4u);
  EXPECT_FALSE(field.has_selection());
  field.set_selection(7, 4);
  send(key(Key::Right));
  EXPECT_EQ(field.caret(), 7u);
}

TEST_F(TextInputTest, DeletingByCharacterWordAndSelection) {
  set("alpha beta", 10);
  send(key(Key::Backspace));
  EXPECT_EQ(field.text(), "alpha bet");
  send(key(Key::Backspace, kPrimary));
  EXPECT_EQ(field.text(), "alpha ");
  set("alpha beta", 0);
  send(key(Key::Delete, kPrimary));
  EXPECT_EQ(field.text(), " beta");
  send(key(Key::Delete));
  EXPECT_EQ(field.text(), "beta");
  field.set_selection(1, 3);
  send(key(Key::Backspace));
  EXPECT_EQ(field.text(), "ba");
}

TEST_F(TextInputTest, BackspaceAtTheStartIsStillConsumed) {
  // Otherwise the window would take it as "go up a folder" while someone edits a name.
  set("name", 0);
  EXPECT_EQ(send(key(Key::Backspace)), EventResult::Handled);
  EXPECT_EQ(field.text(), "name");
  EXPECT_FALSE(field.take_edited());
}

TEST_F(TextInputTest, KeysForTheOwnerPassThrough) {
  for (Key k : {Key::Enter, Key::Escape, Key::Up, Key::Down, Key::Tab, Key::F2}) {
    EXPECT_EQ(send(key(k)), EventResult::Ignored) << static_cast<int>(k);
  }
  EXPECT_EQ(send(chord("l", kPrimary)), EventResult::Ignored);
}

TEST_F(TextInputTest, MultiByteCharactersMoveAndDeleteWhole) {
  // é as e + combining acute, an emoji, and a family joined with zero-width joiners.
  const std::string family = "\U0001F468\u200D\U0001F469\u200D\U0001F467";
  set("ne\u0301" + family + "x", 0);
  send(key(Key::Right));
  send(key(Key::Right));
  EXPECT_EQ(field.caret(), 4u);  // past "e" and its accent together
  send(key(Key::Right));
  EXPECT_EQ(field.caret(), 4u + family.size());
  send(key(Key::Backspace));
  EXPECT_EQ(field.text(), "ne\u0301x");
  send(key(Key::Backspace));
  EXPECT_EQ(field.text(), "nx");
}

TEST_F(TextInputTest, UndoTakesBackTheLastEditAndRedoReappliesIt) {
  type(field, "a");
  type(field, "b");
  type(field, "c");
  send(chord("z", kPrimary));
  // A run of typing is one edit.
  EXPECT_EQ(field.text(), "");
  send(chord("z", kPrimaryShift));
  EXPECT_EQ(field.text(), "abc");
  EXPECT_EQ(field.caret(), 3u);

  send(key(Key::Left));
  type(field, "X");
  EXPECT_EQ(field.text(), "abXc");
  send(chord("z", kPrimary));
  EXPECT_EQ(field.text(), "abc");
  EXPECT_EQ(field.caret(), 2u);
  EXPECT_TRUE(field.take_edited());
  send(chord("y", kPrimary));
  EXPECT_EQ(field.text(), "abXc");
}

TEST_F(TextInputTest, ClipboardCutCopyPaste) {
  set("hello world", 11);
  send(key(Key::Left, kPrimaryShift));
  EXPECT_EQ(field.selected_text(), "world");
  send(chord("c", kPrimary));
  EXPECT_EQ(text_selection::clipboard_text(), "world");
  send(key(Key::End));
  send(chord("v", kPrimary));
  EXPECT_EQ(field.text(), "hello worldworld");

  field.set_selection(0, 6);
  send(chord("x", kPrimary));
  EXPECT_EQ(field.text(), "worldworld");
  EXPECT_EQ(text_selection::clipboard_text(), "hello ");
  send(key(Key::Insert, kShift));
  EXPECT_EQ(field.text(), "hello worldworld");
  send(chord("z", kPrimary));
  EXPECT_EQ(field.text(), "worldworld");
}

TEST_F(TextInputTest, PastedLineBreaksBecomeSpaces) {
  ASSERT_TRUE(text_selection::clipboard_copy("a\nb\tc\x01"
                                             "d\r\ne")
                  .has_value());
  send(chord("v", kPrimary));
  EXPECT_EQ(field.text(), "a b cd e");
}

TEST_F(TextInputTest, SelectAllAndSpace) {
  type(field, "ab");
  send(key(Key::Space));
  EXPECT_EQ(field.text(), "ab ");
  send(chord("a", kPrimary));
  EXPECT_EQ(field.selected_text(), "ab ");
}

TEST_F(TextInputTest, PreeditShowsWithoutChangingTheText) {
  type(field, "x");
  EXPECT_EQ(send(Preedit{"ka", 2}), EventResult::Handled);
  EXPECT_EQ(field.preedit(), "ka");
  EXPECT_EQ(field.text(), "x");
  RecordingCanvas canvas;
  field.draw(canvas);
  EXPECT_TRUE(canvas.drew("ka"));
  send(TextCommit{"\u304B"});
  EXPECT_EQ(field.text(), "x\u304B");
  EXPECT_TRUE(field.preedit().empty());
}

TEST_F(TextInputTest, PlaceholderShowsOnlyWhileEmpty) {
  field.set_placeholder("Type a path");
  RecordingCanvas empty;
  field.draw(empty);
  EXPECT_TRUE(empty.drew("Type a path"));
  type(field, "/");
  RecordingCanvas typed;
  field.draw(typed);
  EXPECT_FALSE(typed.drew("Type a path"));
  EXPECT_TRUE(typed.drew("/"));
}

TEST_F(TextInputTest, PointerPlacesExtendsAndDragsTheSelection) {
  ui_clock::ManualClock clock;
  field.set_text("alpha beta gamma");
  float after_beta = field.x_of(10);
  send(press(after_beta + 1, 16));
  send(release(after_beta + 1, 16));
  EXPECT_EQ(field.caret(), 10u);
  EXPECT_FALSE(field.has_selection());

  clock.advance(std::chrono::seconds(2));
  send(press(field.x_of(16) + 20, 16, PointerButton::Primary, kShift));
  EXPECT_EQ(field.anchor(), 10u);
  EXPECT_EQ(field.caret(), 16u);
  send(release(field.x_of(16), 16));

  clock.advance(std::chrono::seconds(2));
  send(press(field.x_of(0), 16));
  send(move(field.x_of(5), 16));
  send(release(field.x_of(5), 16));
  EXPECT_EQ(field.selected_text(), "alpha");
}

TEST_F(TextInputTest, DoubleClickSelectsAWordAndTripleClickEverything) {
  ui_clock::ManualClock clock;
  field.set_text("alpha beta gamma");
  float inside_beta = field.x_of(8);
  auto click = [&] {
    send(press(inside_beta, 16));
    send(release(inside_beta, 16));
    clock.advance(std::chrono::milliseconds(50));
  };
  click();
  click();
  EXPECT_EQ(field.selected_text(), "beta");
  click();
  EXPECT_EQ(field.selected_text(), "alpha beta gamma");

  // Clicks further apart than the double-click interval start over.
  clock.advance(gesture::multi_click_interval() + std::chrono::milliseconds(1));
  click();
  clock.advance(gesture::multi_click_interval() + std::chrono::milliseconds(1));
  click();
  EXPECT_FALSE(field.has_selection());
}

TEST_F(TextInputTest, HitTestingFindsTheNearestCharacterBoundary) {
  field.set_text("WWWW");
  float first = field.x_of(1);
  EXPECT_EQ(field.offset_at(first - 1), 1u);
  EXPECT_EQ(field.offset_at(-100), 0u);
  EXPECT_EQ(field.offset_at(10000), 4u);
}

TEST_F(TextInputTest, TheCaretStaysInViewInALongText) {
  std::string long_text(200, 'm');
  field.set_text(long_text);
  Rect box = field.rect();
  EXPECT_LE(field.x_of(field.caret()), box.x1);
  EXPECT_GE(field.x_of(field.caret()), box.x0);
  send(key(Key::Home));
  EXPECT_GE(field.x_of(0), box.x0);
  EXPECT_LE(field.x_of(0), box.x0 + 12);
}

TEST_F(TextInputTest, AccessibilityCarriesNameValueAndFocus) {
  field.set_placeholder("New name");
  field.set_text("draft.txt");
  AccessNode node = field.accessibility();
  EXPECT_EQ(node.role, AccessRole::TextInput);
  EXPECT_EQ(node.name, "New name");
  EXPECT_EQ(node.value, "draft.txt");
  EXPECT_TRUE(node.states.focused);
  ASSERT_TRUE(field.input_caret_rect().has_value());
  field.focus_changed(false);
  EXPECT_FALSE(field.accessibility().states.focused);
  EXPECT_FALSE(field.input_caret_rect().has_value());
}

}  // namespace
}  // namespace vask_ui
