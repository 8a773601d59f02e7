#include "commandline.h"

#include "console.h"

#include <algorithm>

using namespace Qt::StringLiterals;

std::variant<CommandLine, UsageError> parseCommandLine(const QString &command,
                                                       QStringList arguments,
                                                       std::span<const OptionSpec> known,
                                                       qsizetype operandCount)
{
    CommandLine line;
    bool optionsEnded = false;
    while (!arguments.isEmpty()) {
        QString word = arguments.takeFirst();
        if (optionsEnded || !word.startsWith(u'-') || word == u"-"_s) {
            line.operands.append(word);
            continue;
        }
        if (word == u"--"_s) {
            optionsEnded = true;
            continue;
        }

        QStringList values;
        if (const qsizetype equals = word.indexOf(u'='); word.startsWith(u"--"_s) && equals > 0) {
            values.append(word.mid(equals + 1));
            word.truncate(equals);
        }
        const auto option = std::find_if(known.begin(), known.end(),
                                         [&](const OptionSpec &s) { return s.name == word; });
        if (option == known.end())
            return UsageError{u"%1: unknown option \"%2\""_s.arg(command, word)};
        if (values.size() > option->valueCount)
            return UsageError{u"%1: option %2 takes no value"_s.arg(command, word)};
        while (values.size() < option->valueCount && !arguments.isEmpty())
            values.append(arguments.takeFirst());
        if (values.size() < option->valueCount) {
            return UsageError{u"%1: option %2 needs %3"_s.arg(
                command, word,
                option->valueCount == 1 ? u"a value"_s : u"%1 values"_s.arg(option->valueCount))};
        }
        if (!option->repeatable && line.has(option->name))
            return UsageError{u"%1: option %2 is given more than once"_s.arg(command, word)};
        line.options.append({word, values});
    }

    if (line.operands.size() < operandCount)
        return UsageError{u"%1: missing file name"_s.arg(command)};
    if (line.operands.size() > operandCount)
        return UsageError{
            u"%1: unexpected argument \"%2\""_s.arg(command, line.operands.at(operandCount))};
    if (line.operands.contains(QString()))
        return UsageError{u"%1: a file name is empty"_s.arg(command)};
    return line;
}

int usageProblem(Console &console, const QString &problem)
{
    console.error(problem + u" (see leafwright-cli --help)"_s);
    return ExitUsage;
}

int fileProblem(Console &console, const FileError &error)
{
    console.error(error.message());
    return ExitFileProblem;
}

int printed(Console &console, bool complete)
{
    if (complete)
        return ExitSuccess;
    return fileProblem(console, {u"standard output"_s, u"cannot be written"_s});
}
