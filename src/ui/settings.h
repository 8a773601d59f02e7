#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// What the program remembers between runs, in the platform's usual place (QSettings): where each
// window stood and how large it was, the name the file dialogs last chose, and the last books
// opened or saved. A settings file that cannot be read or holds nonsense gives the defaults.

// Puts a window where it stood when it was last closed, kept on a screen; nothing when no place
// was remembered.
void restoreWindowPlace(QWidget *window);
void rememberWindowPlace(const QWidget *window);

// Restores a tool window's place once, and remembers it whenever the window is hidden.
void keepWindowPlace(QWidget *window);

QString lastChosenFile();
void rememberChosenFile(const QString &path);

// The last books opened or saved, the latest first, at most MostRecentBooks.
constexpr qsizetype MostRecentBooks = 8;
QStringList recentBooks();
void rememberRecentBook(const QString &path);
void forgetRecentBook(const QString &path);
void clearRecentBooks();
