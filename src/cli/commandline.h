#pragma once

// The batch tool's commands share how their arguments are read and how their problems are told.

#include "batchtool.h"

#include "book/bookfile.h"
#include "book/result.h"
#include "convert/bookrecipe.h"

#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>
#include <variant>

class Console;

struct OptionSpec
{
    QLatin1StringView name;
    int valueCount;
    bool repeatable = false;
};

struct Option
{
    QString name;
    QStringList values;
};

// A command's arguments sorted into operands and options, in the order given.
struct CommandLine
{
    QStringList operands;
    QList<Option> options;

    bool has(QLatin1StringView name) const { return find(name) != nullptr; }
    // The values of every use of a repeatable option, in the order given.
    QList<QStringList> uses(QLatin1StringView name) const
    {
        QList<QStringList> found;
        for (const Option &option : options) {
            if (option.name == name)
                found.append(option.values);
        }
        return found;
    }
    QString value(QLatin1StringView name) const
    {
        const Option *option = find(name);
        return option ? option->values.value(0) : QString();
    }

private:
    const Option *find(QLatin1StringView name) const
    {
        for (const Option &option : options) {
            if (option.name == name)
                return &option;
        }
        return nullptr;
    }
};

struct UsageError
{
    QString problem;
};

std::variant<CommandLine, UsageError> parseCommandLine(const QString &command,
                                                       QStringList arguments,
                                                       std::span<const OptionSpec> known,
                                                       qsizetype operandCount);

// The code page a book file is read or written in: 874, 1250 to 1258, windows-NNNN, or auto.
inline constexpr OptionSpec CodePageOption = {QLatin1StringView("--codepage"), 1};

// The options that say what is done to a book, which make and convert share: --clean LIST,
// --scan STYLE, --whole-line, --find-chapters, --sort, --codepage CP.
inline constexpr OptionSpec RecipeOptions[] = {
    {QLatin1StringView("--clean"), 1},      {QLatin1StringView("--scan"), 1},
    {QLatin1StringView("--whole-line"), 0}, {QLatin1StringView("--find-chapters"), 0},
    {QLatin1StringView("--sort"), 0},       CodePageOption,
};

// The code page --codepage names; nothing for auto or when it is not given, which leaves each
// book its guess.
std::variant<std::optional<CodePage::Id>, UsageError> codePageOf(const CommandLine &line,
                                                                 const QString &command);

// The recipe the options of line give (those of make's that are given: Book Info and
// replacements too), or what is wrong with them.
std::variant<BookRecipe, UsageError> recipeOf(const CommandLine &line, const QString &command);

// The book named by the command's first operand, read in the code page --codepage names or else
// in its guess: a book file opened, and with ImportOthers anything else imported, as the windows
// would. On a problem it is told and nothing is returned, with the exit status in status.
enum class OtherFormats { Refused, ImportOthers };
std::optional<Book> readBookOperand(const CommandLine &line, const QString &command,
                                    Console &console, int &status,
                                    TextLineBreaks lineBreaks = TextLineBreaks::MadeCrLf,
                                    OtherFormats others = OtherFormats::Refused);

// Print the problem on the error stream and return the exit status it calls for.
int usageProblem(Console &console, const QString &problem);
int fileProblem(Console &console, const FileError &error);

// What a command printed on standard output counts only if all of it arrived.
int printed(Console &console, bool complete);

// A command that takes any number of file names, at least one.
constexpr qsizetype OneOrMoreOperands = -1;

// One command: its name, its options, how many file names it takes, and what runs it.
struct Command
{
    QLatin1StringView name;
    std::span<const OptionSpec> options;
    qsizetype operandCount;
    int (*run)(const CommandLine &, Console &);
};

extern const Command MakeCommand;
extern const Command ShowCommand;
extern const Command TextCommand;
extern const Command CheckCommand;
extern const Command ChaptersCommand;
extern const Command ConvertCommand;
extern const Command ExportCommand;
