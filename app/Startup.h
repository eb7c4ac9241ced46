#pragma once

#include <QString>

// Has buffers of a megabyte or more (a file's bytes, the RTF of a whole document, the whole text
// encoded) mapped on their own, so their memory goes back to the system once they are freed
// rather than staying with the program after the first large page; runs once at start.
void KeepLargeBuffersApart();

// Gives the highlighter the font metrics of this platform; runs once at start.
void StartHighlighter();

// Creates the five windows in their order and ties them together; the main block and the
// tests build the program the same way.
void CreateForms();
// Opens a page named on the command line as File > Open opens the file chosen in its dialog: a
// relative path is taken from the current folder, and a failure shows in the error box with the
// new-document template left in place.
void OpenGivenFile(const QString& path);
void DestroyForms();
