// make: builds one book file as a user would in the windows, step by step.

#include "commandline.h"
#include "console.h"

#include "book/bookfile.h"
#include "convert/bookrecipe.h"

using namespace Qt::StringLiterals;

namespace {

constexpr OptionSpec MakeOptions[] = {
    {"--import"_L1, 1},   {"--open"_L1, 1}, {"--title"_L1, 1}, {"--author"_L1, 1},
    {"--synopsis"_L1, 1}, RecipeOptions[0], RecipeOptions[1],  RecipeOptions[2],
    RecipeOptions[3],     RecipeOptions[4], RecipeOptions[5],  {"--replace"_L1, 2, true},
};

int runMake(const CommandLine &line, Console &console)
{
    if (line.has("--import"_L1) == line.has("--open"_L1))
        return usageProblem(console, u"make: give either --import TEXT or --open BOOK"_s);
    auto recipe = recipeOf(line, u"make"_s);
    if (const auto *usage = std::get_if<UsageError>(&recipe))
        return usageProblem(console, usage->problem);

    const bool open = line.has("--open"_L1);
    const QString input = line.value(open ? "--open"_L1 : "--import"_L1);
    const BookRecipe &steps = std::get<BookRecipe>(recipe);
    const Result<ImportedBook> source = readBookSource(input, open, steps.codePage);
    if (!source)
        return fileProblem(console, source.error());

    for (const QString &note : sourceNotes(source.value(), input, steps))
        console.note(note);
    const QString out = withBookExtension(line.operands.at(0));
    const MadeBook made = applyRecipe(source.value().book, steps, out);
    for (const QString &note : made.notes)
        console.note(note);
    const Result<CodePage::Unstorable> saved = SaveBook(made.book, out);
    if (!saved)
        return fileProblem(console, saved.error());
    for (const QString &warning :
         savedBookWarnings(made.book, saved.value(), source.value(), made.foundLeftOut, out))
        console.warning(warning);
    return ExitSuccess;
}

} // namespace

const Command MakeCommand = {"make"_L1, MakeOptions, 1, runMake};
