#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "tests/highlight/HighlightedRtf.h"

// Checks the document body of each HTML text of a table of cases; a failure
// names the text.
inline void ExpectBodies(std::initializer_list<std::pair<std::string, std::string>> cases) {
  for (const auto& [html, body] : cases) EXPECT_EQ(Body(html), body) << "for the text \"" << html << "\"";
}
