#pragma once

#include "book/book.h"

// The book lives in the windows' controls: the text in the main editor, the information in Book
// Info's boxes, the chapter table in the Chapters window's lists. These move it between the
// controls and a Book value, creating the windows, hidden, where they do not exist yet.

// Everything Save As writes.
Book documentBook();

// What Open does with a loaded book: the information, then the chapter table (fields and titles
// without their fill spaces), then the text, and the code page it is read in.
void showBook(const Book &book);
