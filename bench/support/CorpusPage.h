#pragma once

#include <cstddef>
#include <string>

// A page of about size bytes made of the real pages end to end, with CR LF line breaks as the
// pane gives its text; corpusDir is the folder of the real pages.
std::string CorpusPage(const char* corpusDir, std::size_t size);

// A page of at most size bytes of the real pages written in UTF-8 with text beyond ASCII, every
// character whole.
std::string Utf8CorpusPage(const char* corpusDir, std::size_t size);
