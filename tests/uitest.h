#pragma once

#include "testfiles.h"
#include "ui/prompts.h"

#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>

// Answers the program's prompts from a script and keeps a record of what was asked.
class ScriptedPrompts final : public Prompts
{
public:
    struct Asked
    {
        enum Kind { Question, Message, OpenDialog, SaveDialog, FolderDialog } kind;
        QString title;
        QString text; // the question or message; for a dialog, its filter
        MessageIcon icon = MessageIcon::None;
        QString startName;   // for a dialog, the name it started with
        int filterIndex = 0; // for a dialog, the filter it started on
    };

    std::deque<bool> answers; // to questions, Yes as true
    // To "Save changes to the book?"; Discard when none is left, so that a test ends as Exit
    // after Discard does.
    std::deque<SaveChoice> saveChoices;
    // To the question about a book left unsaved; Later when none is left.
    std::deque<RestoreChoice> restoreChoices;
    // Chosen in dialogs, nothing for Cancel; where several files are chosen, their names
    // separated by line breaks.
    std::deque<std::optional<QString>> files;
    QList<Asked> asked;
    std::function<void()> whileAsking; // runs while each prompt is open, to look at the windows

    bool askYesNo(const QString &title, const QString &text) override;
    SaveChoice askSaveChanges(const QString &title, const QString &text) override;
    RestoreChoice askRestore(const QString &title, const QString &text) override;
    void showMessage(const QString &title, const QString &text, MessageIcon icon) override;
    std::optional<QString> chooseFile(const FileDialogRequest &request) override;
    QStringList chooseFiles(const FileDialogRequest &request) override;

    QList<Asked> messages() const;

private:
    // Keeps a question or message, and lets the test look at the windows while it is up.
    void record(const Asked &prompt);
};

// Window tests: real widgets on the offscreen platform, prompts answered by a script. Every test
// ends the program's windows the way Exit does, so the next one starts as the program starts.
class UiTest : public ::testing::Test
{
protected:
    // Each test starts as a first run: nothing remembered.
    void SetUp() override;
    void TearDown() override;

    // Runs Exit and lets Qt destroy what it scheduled.
    static void exitProgram();

    ScriptedPrompts m_prompts;
};

// Lets Qt deliver posted events, deferred deletions included.
void processEvents();
