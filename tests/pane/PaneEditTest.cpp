#include <gtest/gtest.h>

#include <random>
#include <string>

#include "pane/PaneEdit.h"

// Whatever edits come, in whatever order, the text before the span and after it is the text that
// stood before them: a reader of the span misses no change. Edits before, inside, across and
// beyond the span, removals of its ends, and an edit that undoes the span's growth.
TEST(EditSpanTest, EverythingOutsideTheSpanStoodBeforeTheEdits) {
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    std::string before;  // each character once, so a change shows wherever it lies
    for (std::size_t i = random() % 40; i > 0; --i) before += char('!' + before.size());
    std::string text = before;
    TEditSpan span;
    const int edits = 1 + int(random() % 4);
    for (int e = 0; e < edits; ++e) {
      const int position = int(random() % (text.size() + 1));
      const int removed = int(random() % (text.size() - std::size_t(position) + 1));
      const int added = int(random() % 6);
      text.replace(std::size_t(position), std::size_t(removed), std::string(std::size_t(added), ' '));
      span.Add({position, removed, added});
    }
    ASSERT_FALSE(span.Empty());
    ASSERT_LE(0, span.From());
    ASSERT_LE(span.From(), span.To());
    ASSERT_LE(span.To(), int(text.size()));
    const std::size_t head = std::size_t(span.From());
    const std::size_t tail = text.size() - std::size_t(span.To());
    ASSERT_LE(head + tail, before.size()) << "round " << round;
    EXPECT_EQ(text.substr(0, head), before.substr(0, head)) << "round " << round;
    EXPECT_EQ(text.substr(text.size() - tail), before.substr(before.size() - tail)) << "round " << round;
  }
  TEditSpan span;
  span.Add({10, 0, 5});
  span.Clear();
  EXPECT_TRUE(span.Empty());
}
