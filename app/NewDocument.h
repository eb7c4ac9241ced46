#pragma once

// The six lines a new document starts with; the pane ends each with a line break.
inline constexpr const char* NewDocumentTemplate[] = {
    "<html>",
    "",
    "<head>",
    "<title>New Page</title>",
    "<meta name=\"GENERATOR\" content=\"Vorn Web Editor 3.0 Basic\">",
    "</head>",
};

// The current file name of a document that has no file yet, compared exactly.
inline constexpr char UntitledFileName[] = "new.htm";
