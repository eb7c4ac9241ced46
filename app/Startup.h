#pragma once

// Gives the highlighter the font metrics of this platform; runs once at start.
void StartHighlighter();

// Creates the five windows in their order and ties them together; the main block and the
// tests build the program the same way.
void CreateForms();
void DestroyForms();
