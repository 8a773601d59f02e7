#pragma once

#include "book/codepage.h"

#include <QString>

// Whether the book changed since it was opened, imported or saved (its text, Book Info or the
// chapter table), and the main window's caption that names it and marks unsaved changes.

// Where the book in the windows came from: a book file opened or saved, or a file imported.
enum class BookOrigin { BookFile, Imported };

// The book as the windows hold it now is the one the file holds, or the one just imported.
// path names it in the caption; empty for no book at all.
void startBookState(const QString &path, BookOrigin origin);

// The book file the book was opened from or saved to, or the file it was imported from; empty
// when it came otherwise.
QString bookFilePath();
QString importedPath();

// The code page the book is written in (File > Code Page); a change of it is a change of the
// book. The main window's menu shows it.
CodePage::Id bookCodePage();
void setBookCodePage(CodePage::Id codePage);

bool bookChanged();

// Something of the book may have changed: the caption is brought up to date once the program is
// idle again, however many changes come before.
void bookMayHaveChanged();

// "pg1342.vlm* - Symbian Leafwright", or "Symbian Leafwright" when nothing is open.
QString bookCaption();
