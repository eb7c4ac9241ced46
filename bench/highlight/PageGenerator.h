#pragma once

#include <cstddef>
#include <string>

// A made-up but realistic HTML page of at least minSize bytes, with CR LF
// line ends: headings, paragraphs with entities and links, tables, code with
// braces and backslashes, inline script and style, comments, server blocks.
// The same size always gives the same page.
std::string GeneratePage(std::size_t minSize);

// The same text with every CR LF replaced by two blanks: one long line.
std::string JoinLines(std::string page);
