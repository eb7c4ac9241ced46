#pragma once

#include "HighlightedRtf.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

// Checks the document body of each HTML text of a table of cases; a failure
// names the text.
inline void ExpectBodies(std::initializer_list<std::pair<std::string, std::string>> cases)
{
    for (const auto& [html, body] : cases)
        EXPECT_EQ(Body(html), body) << "for the text \"" << html << "\"";
}
