#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Every file dialog and message box of the program goes through one Prompts object, so that the
// tests can answer them from a script and check what was asked.

enum class MessageIcon { None, Exclamation, Critical };

// Open chooses one file, OpenSeveral any number, Folder one folder.
enum class FileDialogKind { Open, Save, OpenSeveral, Folder };

enum class SaveChoice { Save, Discard, Cancel };

enum class RestoreChoice { Restore, Discard, Later };

struct FileDialogRequest
{
    FileDialogKind kind;
    QString title;
    QString filter;      // "Description|*.ext", or several: "Text|*.txt|Pages|*.html;*.htm"
    QString fileName;    // the name the dialog starts with
    int filterIndex = 1; // the filter it starts on, from 1
};

class Prompts
{
public:
    virtual ~Prompts() = default;

    // A modal question with the buttons Yes and No, Yes the default, no icon. True for Yes.
    virtual bool askYesNo(const QString &title, const QString &text) = 0;

    // A modal question with the buttons Save, Discard and Cancel, Save the default, asked
    // before work on the book would be lost.
    virtual SaveChoice askSaveChanges(const QString &title, const QString &text) = 0;

    // A modal question with the buttons Restore, Discard and Later, Restore the default, asked
    // at start about a book whose changes were never saved.
    virtual RestoreChoice askRestore(const QString &title, const QString &text) = 0;

    // A modal message with a single OK button.
    virtual void showMessage(const QString &title, const QString &text, MessageIcon icon) = 0;

    // The file chosen in the dialog, or nothing when it was cancelled.
    virtual std::optional<QString> chooseFile(const FileDialogRequest &request) = 0;

    // The files (OpenSeveral) or the folder (Folder) chosen; empty when it was cancelled.
    virtual QStringList chooseFiles(const FileDialogRequest &request) = 0;
};

// The prompts in use: the Qt dialogs unless a test installed others.
Prompts &prompts();

// Makes prompts() answer through the given object; nullptr returns to the Qt dialogs. The caller
// keeps ownership.
void installPrompts(Prompts *replacement);

// "Description|*.ext" as Qt writes a name filter: "Description (*.ext)"; several pairs become
// Qt's filters separated by ";;", the first one chosen at the start.
QString qtNameFilter(const QString &filter);
