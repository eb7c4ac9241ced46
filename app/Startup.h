#pragma once

// Creates the five windows in their order and ties them together; the main block and the
// tests build the program the same way.
void CreateForms();
void DestroyForms();
