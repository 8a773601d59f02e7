#include "uitest.h"

#include "app/frmleafwright.h"
#include "app/windows.h"

#include <QAction>
#include <QApplication>

bool ScriptedPrompts::askYesNo(const QString &title, const QString &text)
{
    asked.append({Asked::Question, title, text, MessageIcon::None, {}});
    if (whileAsking)
        whileAsking();
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedPrompts::showMessage(const QString &title, const QString &text, MessageIcon icon)
{
    asked.append({Asked::Message, title, text, icon, {}});
    if (whileAsking)
        whileAsking();
}

std::optional<QString> ScriptedPrompts::chooseFile(const FileDialogRequest &request)
{
    const auto kind = request.kind == FileDialogKind::Open ? Asked::OpenDialog : Asked::SaveDialog;
    asked.append({kind, request.title, request.filter, MessageIcon::None, request.fileName});
    if (files.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << request.title.toStdString();
        return std::nullopt;
    }
    const QString file = files.front().value_or(QString());
    const bool chosen = files.front().has_value();
    files.pop_front();
    return chosen ? std::optional(file) : std::nullopt;
}

QList<ScriptedPrompts::Asked> ScriptedPrompts::messages() const
{
    QList<Asked> result;
    for (const Asked &prompt : asked) {
        if (prompt.kind == Asked::Message)
            result.append(prompt);
    }
    return result;
}

void processEvents()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

void UiTest::SetUp()
{
    installPrompts(&m_prompts);
}

void UiTest::TearDown()
{
    exitProgram();
    installPrompts(nullptr);
    EXPECT_TRUE(m_prompts.answers.empty()) << "questions the test expected were never asked";
    EXPECT_TRUE(m_prompts.files.empty()) << "file dialogs the test expected were never shown";
}

void UiTest::exitProgram()
{
    frmLeafwright()->mnuExit->trigger();
    processEvents();
}
