#include "uitest.h"

#include "ui/frmleafwright.h"
#include "ui/windows.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace {

// The next answer of a script, or fallback once it has none left.
template<typename T>
T next(std::deque<T> &script, T fallback)
{
    if (!script.empty()) {
        fallback = std::move(script.front());
        script.pop_front();
    }
    return fallback;
}

} // namespace

void ScriptedPrompts::record(const Asked &prompt)
{
    asked.append(prompt);
    if (whileAsking)
        whileAsking();
}

bool ScriptedPrompts::askYesNo(const QString &title, const QString &text)
{
    record({Asked::Question, title, text, MessageIcon::None, {}});
    if (answers.empty())
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
    return next(answers, false);
}

SaveChoice ScriptedPrompts::askSaveChanges(const QString &title, const QString &text)
{
    record({Asked::Question, title, text, MessageIcon::None, {}});
    return next(saveChoices, SaveChoice::Discard);
}

RestoreChoice ScriptedPrompts::askRestore(const QString &title, const QString &text)
{
    asked.append({Asked::Question, title, text, MessageIcon::None, {}});
    return next(restoreChoices, RestoreChoice::Later);
}

void ScriptedPrompts::showMessage(const QString &title, const QString &text, MessageIcon icon)
{
    record({Asked::Message, title, text, icon, {}});
}

std::optional<QString> ScriptedPrompts::chooseFile(const FileDialogRequest &request)
{
    const auto kind = request.kind == FileDialogKind::Open ? Asked::OpenDialog : Asked::SaveDialog;
    asked.append({kind, request.title, request.filter, MessageIcon::None, request.fileName,
                  request.filterIndex});
    if (files.empty())
        ADD_FAILURE() << "unexpected file dialog: " << request.title.toStdString();
    return next(files, std::optional<QString>());
}

QStringList ScriptedPrompts::chooseFiles(const FileDialogRequest &request)
{
    const auto kind =
        request.kind == FileDialogKind::Folder ? Asked::FolderDialog : Asked::OpenDialog;
    asked.append({kind, request.title, request.filter, MessageIcon::None, request.fileName,
                  request.filterIndex});
    if (files.empty())
        ADD_FAILURE() << "unexpected file dialog: " << request.title.toStdString();
    const std::optional<QString> chosen = next(files, std::optional<QString>());
    return chosen ? chosen->split(u'\n') : QStringList();
}

QList<ScriptedPrompts::Asked> ScriptedPrompts::messages() const
{
    QList<Asked> result = asked;
    result.removeIf([](const Asked &prompt) { return prompt.kind != Asked::Message; });
    return result;
}

void processEvents()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

void UiTest::SetUp()
{
    QSettings(QStringLiteral("Leafwright"), QStringLiteral("Leafwright")).clear();
    installPrompts(&m_prompts);
}

void UiTest::TearDown()
{
    exitProgram();
    installPrompts(nullptr);
    EXPECT_TRUE(m_prompts.answers.empty()) << "questions the test expected were never asked";
    EXPECT_TRUE(m_prompts.saveChoices.empty()) << "a save question the test expected never came";
    EXPECT_TRUE(m_prompts.restoreChoices.empty()) << "a restore question never came";
    EXPECT_TRUE(m_prompts.files.empty()) << "file dialogs the test expected were never shown";
}

void UiTest::exitProgram()
{
    frmLeafwright()->mnuExit->trigger();
    processEvents();
}

// Window tests need one QApplication; the offscreen platform needs no display.
int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings and recovery copies go to a test folder, never the user's, and one of this
    // process's own: ctest runs several window tests at once, and one's settings must not be
    // cleared or written under another.
    QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
