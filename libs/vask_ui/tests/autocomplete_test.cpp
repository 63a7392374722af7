#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "vask_ui/widgets/autocomplete.h"
#include "widget_test_support.h"

namespace vask_ui {
namespace {

using namespace vask_ui::testing;
using Kind = AutocompleteOutcome::Kind;

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

class AutocompleteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    field.set_source([this](std::string_view text) {
      ++queries;
      std::vector<Suggestion> out;
      for (const char* name : {"Desktop/", "Documents/", "Downloads/", "dev.txt"}) {
        if (lower(name).starts_with(lower(text))) {
          out.push_back({name, name,
                         std::string_view(name).ends_with("/") ? icons::Icon::Folder
                                                               : icons::Icon::FileText});
        }
      }
      return out;
    });
    lay_out_in(field, {400, 400}, Rect{0, 0, 400, 32});
    field.open("");
  }
  EventResult send(const Event& e) { return field.handle_event(e); }

  Autocomplete field;
  int queries = 0;
};

TEST_F(AutocompleteTest, OpeningShowsSuggestionsForTheText) {
  EXPECT_TRUE(field.is_popup_open());
  EXPECT_EQ(field.suggestions().size(), 4u);
  EXPECT_FALSE(field.highlighted().has_value());
  EXPECT_TRUE(field.input().is_focused());
}

TEST_F(AutocompleteTest, TypingNarrowsTheSuggestions) {
  type(field, "Do");
  ASSERT_EQ(field.suggestions().size(), 2u);
  EXPECT_EQ(field.suggestions()[0].value, "Documents/");
  type(field, "x");
  EXPECT_TRUE(field.suggestions().empty());
  EXPECT_FALSE(field.is_popup_open());
  send(key(Key::Backspace));
  EXPECT_EQ(field.suggestions().size(), 2u);
  EXPECT_TRUE(field.is_popup_open());
}

TEST_F(AutocompleteTest, ArrowsMoveTheHighlightAndEnterSubmitsIt) {
  type(field, "do");
  send(key(Key::Down));
  EXPECT_EQ(field.highlighted(), 0u);
  send(key(Key::Down));
  send(key(Key::Down));
  EXPECT_EQ(field.highlighted(), 1u);  // stays on the last row
  send(key(Key::Up));
  EXPECT_EQ(field.highlighted(), 0u);
  send(key(Key::Up));
  EXPECT_FALSE(field.highlighted().has_value());  // back to the typed text
  send(key(Key::Up));
  EXPECT_EQ(field.highlighted(), 1u);  // and round to the last row
  EXPECT_EQ(send(key(Key::Enter)), EventResult::Handled);
  EXPECT_EQ(field.take_outcome(), (AutocompleteOutcome{Kind::Submitted, "Downloads/"}));
  EXPECT_EQ(field.input().text(), "Downloads/");
  EXPECT_FALSE(field.is_popup_open());
  EXPECT_FALSE(field.take_outcome().has_value());
}

TEST_F(AutocompleteTest, EnterWithoutHighlightSubmitsTheTypedText) {
  type(field, "/etc");
  send(key(Key::Enter));
  EXPECT_EQ(field.take_outcome(), (AutocompleteOutcome{Kind::Submitted, "/etc"}));
}

TEST_F(AutocompleteTest, EscapeClosesThePopupThenCancels) {
  type(field, "d");
  send(key(Key::Escape));
  EXPECT_FALSE(field.is_popup_open());
  EXPECT_FALSE(field.take_outcome().has_value());
  // Down brings the list back without typing.
  send(key(Key::Down));
  EXPECT_TRUE(field.is_popup_open());
  send(key(Key::Escape));
  send(key(Key::Escape));
  EXPECT_EQ(field.take_outcome(), (AutocompleteOutcome{Kind::Cancelled, "d"}));
}

TEST_F(AutocompleteTest, TabCompletesWithoutSubmitting) {
  type(field, "doc");
  EXPECT_EQ(send(key(Key::Tab)), EventResult::Handled);
  EXPECT_EQ(field.input().text(), "Documents/");
  EXPECT_FALSE(field.take_outcome().has_value());

  field.input().set_text("");
  type(field, "Do");
  // Two folders share only what is typed: nothing to add, but Tab stays in the field.
  EXPECT_EQ(send(key(Key::Tab)), EventResult::Handled);
  EXPECT_EQ(field.input().text(), "Do");
  send(key(Key::Down));
  send(key(Key::Down));
  send(key(Key::Tab));
  EXPECT_EQ(field.input().text(), "Downloads/");

  field.input().set_text("");
  type(field, "zzz");
  EXPECT_EQ(send(key(Key::Tab)), EventResult::Ignored);
}

TEST_F(AutocompleteTest, TabExtendsToTheCommonPrefix) {
  field.set_source([](std::string_view) {
    return std::vector<Suggestion>{{"report-2024.pdf", "report-2024.pdf", {}},
                                   {"report-2025.pdf", "report-2025.pdf", {}}};
  });
  type(field, "rep");
  send(key(Key::Tab));
  EXPECT_EQ(field.input().text(), "report-202");
}

TEST_F(AutocompleteTest, PointerHighlightsAndChoosesARow) {
  type(field, "d");
  Rect popup = field.popup_rect();
  ASSERT_FALSE(popup.is_empty());
  EXPECT_GE(popup.y0, field.input().rect().y1);
  Point second{popup.x0 + 40, popup.y0 + 4 + 28 + 14};
  send(move(second.x, second.y));
  EXPECT_EQ(field.highlighted(), 1u);
  send(press(second.x, second.y));
  EXPECT_FALSE(field.take_outcome().has_value());
  send(release(second.x, second.y));
  EXPECT_EQ(field.take_outcome(), (AutocompleteOutcome{Kind::Submitted, "Documents/"}));
}

TEST_F(AutocompleteTest, APressOutsideOrLosingFocusCloses) {
  type(field, "De");
  EXPECT_EQ(send(press(200, 390)), EventResult::Ignored);
  EXPECT_EQ(field.take_outcome(), (AutocompleteOutcome{Kind::Closed, "De"}));

  field.open("x");
  field.focus_changed(false);
  EXPECT_EQ(field.take_outcome(), (AutocompleteOutcome{Kind::Closed, "x"}));
}

TEST_F(AutocompleteTest, CloseForgetsEverythingTransient) {
  type(field, "d");
  send(key(Key::Down));
  send(key(Key::Escape));
  send(key(Key::Escape));
  field.close();
  EXPECT_FALSE(field.is_popup_open());
  EXPECT_TRUE(field.suggestions().empty());
  EXPECT_FALSE(field.highlighted().has_value());
  EXPECT_FALSE(field.take_outcome().has_value());
}

TEST_F(AutocompleteTest, ThePopupOpensAboveWhenThereIsNoRoomBelow) {
  // A field at the bottom of a short window.
  Autocomplete low;
  low.set_source([](std::string_view) {
    return std::vector<Suggestion>(10, Suggestion{"row", "row", {}});
  });
  lay_out_in(low, {400, 300}, Rect{0, 260, 400, 292});
  low.open("");
  Rect popup = low.popup_rect();
  EXPECT_LE(popup.y1, 260);
  EXPECT_GE(popup.y0, 0);
}

TEST_F(AutocompleteTest, AccessibilityListsTheSuggestions) {
  type(field, "do");
  send(key(Key::Down));
  AccessNode node = field.accessibility();
  EXPECT_EQ(node.role, AccessRole::ComboBox);
  EXPECT_EQ(node.value, "do");
  EXPECT_TRUE(node.states.expanded);
  ASSERT_EQ(node.children.size(), 1u);
  ASSERT_EQ(node.children[0].children.size(), 2u);
  EXPECT_TRUE(node.children[0].children[0].states.selected);
  EXPECT_EQ(node.children[0].children[1].position_in_set, 2);
  EXPECT_EQ(node.children[0].children[1].set_size, 2);
}

}  // namespace
}  // namespace vask_ui
