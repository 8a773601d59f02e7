#include "commandline.h"

#include "console.h"

#include "import/bookimport.h"

#include <algorithm>
#include <optional>

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

    if (line.operands.size() < std::max<qsizetype>(operandCount, 1))
        return UsageError{u"%1: missing file name"_s.arg(command)};
    if (operandCount != OneOrMoreOperands && line.operands.size() > operandCount)
        return UsageError{
            u"%1: unexpected argument \"%2\""_s.arg(command, line.operands.at(operandCount))};
    if (line.operands.contains(QString()))
        return UsageError{u"%1: a file name is empty"_s.arg(command)};
    return line;
}

namespace {

// The scan style of --scan, or nothing when the option holds no style.
std::optional<HeadingStyle> scanStyle(const QString &value)
{
    bool isNumber = false;
    const int style = value.toInt(&isNumber);
    if (!isNumber || style < 0 || style >= HeadingStyleCount)
        return std::nullopt;
    return HeadingStyle(style);
}

// The boxes of --clean: "all" (every box of the Text Cleaner), or box numbers separated by commas.
std::optional<CleanerBoxes> cleanerBoxes(const QString &list)
{
    CleanerBoxes boxes{};
    if (list == u"all"_s) {
        boxes.fill(true);
        return boxes;
    }
    for (const QString &item : list.split(u',')) {
        bool isNumber = false;
        const int box = item.trimmed().toInt(&isNumber);
        if (!isNumber || box < 0 || box >= CleanerBoxCount)
            return std::nullopt;
        boxes[box] = true;
    }
    return boxes;
}

} // namespace

std::variant<std::optional<CodePage::Id>, UsageError> codePageOf(const CommandLine &line,
                                                                 const QString &command)
{
    const QString value = line.value(CodePageOption.name);
    if (!line.has(CodePageOption.name) || value.compare(u"auto"_s, Qt::CaseInsensitive) == 0)
        return std::optional<CodePage::Id>();
    if (const std::optional<CodePage::Id> codePage = CodePage::parse(value))
        return codePage;
    return UsageError{
        u"%1: --codepage takes 874, 1250 to 1258, windows-NNNN or auto"_s.arg(command)};
}

std::variant<BookRecipe, UsageError> recipeOf(const CommandLine &line, const QString &command)
{
    const auto codePage = codePageOf(line, command);
    if (const auto *usage = std::get_if<UsageError>(&codePage))
        return *usage;
    const std::optional<HeadingStyle> style =
        line.has("--scan"_L1) ? scanStyle(line.value("--scan"_L1)) : HeadingStyle::Digits;
    if (!style)
        return UsageError{u"%1: --scan takes a style from 0 to 6"_s.arg(command)};
    const std::optional<CleanerBoxes> boxes =
        line.has("--clean"_L1) ? cleanerBoxes(line.value("--clean"_L1)) : CleanerBoxes{};
    if (!boxes) {
        return UsageError{
            u"%1: --clean takes box numbers 0 to 7 separated by commas, or all"_s.arg(command)};
    }
    BookRecipe recipe;
    recipe.boxes = *boxes;
    if (line.has("--title"_L1))
        recipe.title = line.value("--title"_L1);
    if (line.has("--author"_L1))
        recipe.author = line.value("--author"_L1);
    if (line.has("--synopsis"_L1))
        recipe.synopsis = line.value("--synopsis"_L1);
    for (const QStringList &replacement : line.uses("--replace"_L1))
        recipe.replacements.append({replacement[0], replacement[1]});
    if (line.has("--scan"_L1))
        recipe.scan = ScanOptions{*style, line.has("--whole-line"_L1)};
    recipe.findChapters = line.has("--find-chapters"_L1);
    recipe.sort = line.has("--sort"_L1);
    recipe.codePage = std::get<std::optional<CodePage::Id>>(codePage);
    return recipe;
}

namespace {

Result<Book> importedBook(const QString &path, std::optional<CodePage::Id> codePage)
{
    Result<ImportedBook> imported = importBook(path, codePage);
    if (!imported)
        return imported.error();
    return std::move(imported).value().book;
}

} // namespace

std::optional<Book> readBookOperand(const CommandLine &line, const QString &command,
                                    Console &console, int &status, TextLineBreaks lineBreaks,
                                    OtherFormats others)
{
    const auto codePage = codePageOf(line, command);
    if (const auto *usage = std::get_if<UsageError>(&codePage)) {
        status = usageProblem(console, usage->problem);
        return std::nullopt;
    }
    const QString path = line.operands.at(0);
    const std::optional<CodePage::Id> chosen = std::get<std::optional<CodePage::Id>>(codePage);
    const bool open =
        others == OtherFormats::Refused || path.endsWith(u".vlm"_s, Qt::CaseInsensitive);
    Result<Book> book = open ? LoadBook(path, lineBreaks, chosen) : importedBook(path, chosen);
    if (!book) {
        status = fileProblem(console, book.error());
        return std::nullopt;
    }
    return std::move(book).value();
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
