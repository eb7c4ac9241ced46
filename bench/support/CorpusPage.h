#pragma once

#include <cstddef>
#include <string>

// A page of about size bytes made of the real pages end to end, with CR LF line breaks as the
// pane gives its text; corpusDir is the folder of the real pages.
std::string CorpusPage(const char* corpusDir, std::size_t size);
