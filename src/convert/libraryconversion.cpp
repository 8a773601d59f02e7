#include "libraryconversion.h"

#include "book/bookfile.h"
#include "chapters/bookcheck.h"
#include "chapters/headingdetector.h"
#include "import/bookimport.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

bool isBookFileName(const QString &path)
{
    return path.endsWith(u".vlm"_s, Qt::CaseInsensitive);
}

// A file under one of these names is larger than this, or has this many chapter headings, only
// when it is a book.
constexpr qint64 LargestProjectFile = 100 * 1024;
constexpr qsizetype FewestChaptersOfABook = 3;

// The Markdown files a software project keeps beside its code, which a folder of books cloned
// from a repository holds too.
bool isProjectFileName(const QString &path)
{
    static const QStringList Names = {u"readme"_s,       u"sources"_s,   u"license"_s, u"licence"_s,
                                      u"copying"_s,      u"changelog"_s, u"changes"_s, u"authors"_s,
                                      u"contributing"_s, u"notice"_s,    u"install"_s, u"todo"_s};
    const QFileInfo file(path);
    const QString extension = file.suffix().toLower();
    return (extension == u"md"_s || extension == u"markdown"_s)
           && Names.contains(file.completeBaseName().toLower());
}

bool readsAsBook(const QString &path, const Book &book)
{
    if (QFileInfo(path).size() > LargestProjectFile)
        return true;
    const QList<FoundHeading> headings = FindHeadings(book.text);
    return std::count_if(
               headings.begin(), headings.end(),
               [](const FoundHeading &heading) { return heading.level == HeadingLevel::Chapter; })
           >= FewestChaptersOfABook;
}

// The files of a folder a book is made from, by path, and how many others it holds. An output
// folder below it is passed over: what an earlier run made there is no input.
QStringList booksIn(const QString &folder, const QString &outputFolder, qsizetype &passedOver)
{
    QStringList found;
    const QString inside = QFileInfo(folder).absoluteFilePath() + u'/';
    const QString output = QFileInfo(outputFolder).absoluteFilePath() + u'/';
    const bool outputBelow = output != inside && output.startsWith(inside);
    QDirIterator files(folder, QDir::Files | QDir::Hidden | QDir::NoSymLinks,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        if (outputBelow && QFileInfo(path).absoluteFilePath().startsWith(output))
            continue;
        if (isBookFileName(path) || isImportedByName(path)) {
            found.append(path);
        } else {
            ++passedOver;
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

// "a/b.epub" becomes "a/b.vlm".
QString bookFilePath(const QString &relative)
{
    const qsizetype slash = relative.lastIndexOf(u'/');
    const qsizetype dot = relative.lastIndexOf(u'.');
    return (dot > slash + 1 ? relative.left(dot) : relative) + u".vlm"_s;
}

// "a/b.vlm" numbered 2: "a/b (2).vlm".
QString numbered(const QString &output, qsizetype number)
{
    return output.chopped(4) + u" (%1).vlm"_s.arg(number);
}

QString absolute(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

} // namespace

ConversionPlan planConversion(const QStringList &inputs, const QString &outputFolder)
{
    ConversionPlan plan;
    const QDir out(outputFolder);
    for (const QString &input : inputs) {
        const QFileInfo info(input);
        if (info.isDir()) {
            const QDir folder(info.absoluteFilePath());
            for (const QString &path : booksIn(input, outputFolder, plan.passedOver)) {
                const QString inside = folder.relativeFilePath(absolute(path));
                plan.jobs.append({path,
                                  out.filePath(bookFilePath(inside)),
                                  isBookFileName(path),
                                  {},
                                  isProjectFileName(path)});
            }
        } else if (info.exists()) {
            plan.jobs.append(
                {input, out.filePath(bookFilePath(info.fileName())), isBookFileName(input), {}});
        } else {
            plan.missing.append(input);
        }
    }

    // Books that would share a name are numbered in the plan's order, each told of the other.
    QHash<QString, QList<qsizetype>> byName;
    for (qsizetype i = 0; i < plan.jobs.size(); ++i)
        byName[plan.jobs[i].output.toCaseFolded()].append(i);
    for (qsizetype i = 0; i < plan.jobs.size(); ++i) {
        const QList<qsizetype> &sharing = byName.value(plan.jobs[i].output.toCaseFolded());
        if (sharing.size() < 2)
            continue;
        const qsizetype place = sharing.indexOf(i);
        plan.jobs[i].sharesNameWith = plan.jobs[sharing[place == 0 ? 1 : 0]].input;
        plan.jobs[i].output = numbered(plan.jobs[i].output, place + 1);
    }
    return plan;
}

QString statusName(ConversionStatus status)
{
    switch (status) {
    case ConversionStatus::Converted:
        return u"converted"_s;
    case ConversionStatus::Failed:
        return u"failed"_s;
    case ConversionStatus::Skipped:
        return u"skipped"_s;
    case ConversionStatus::NotStarted:
        break;
    }
    return u"not started"_s;
}

ConversionResult convertBook(const ConversionJob &job, const BookRecipe &recipe, bool skipExisting,
                             const QStringList &inputs)
{
    QElapsedTimer timer;
    timer.start();
    ConversionResult result;
    auto endAs = [&](ConversionStatus status, const QString &message) {
        result.status = status;
        result.message = message;
        result.milliseconds = timer.elapsed();
        return result;
    };
    auto fail = [&](const QString &message) { return endAs(ConversionStatus::Failed, message); };

    const QFileInfo output(job.output);
    if (inputs.contains(output.absoluteFilePath()))
        return fail(u"%1: is an input; a book is never written over one"_s.arg(job.output));
    if (skipExisting && output.exists()
        && output.lastModified() > QFileInfo(job.input).lastModified()) {
        return endAs(ConversionStatus::Skipped, u"%1: is newer than its input"_s.arg(job.output));
    }

    const Result<ImportedBook> source = readBookSource(job.input, job.open, recipe.codePage);
    if (!source)
        return fail(source.error().message());
    if (job.projectFileName && !readsAsBook(job.input, source.value().book))
        return endAs(ConversionStatus::Skipped, u"%1: a project file, not a book"_s.arg(job.input));
    MadeBook made = applyRecipe(source.value().book, recipe, job.output);
    if (!recipe.title && isMissingTitle(made.book.title))
        giveTitle(made.book, QFileInfo(job.input).completeBaseName(), recipe.boxes);

    if (!QDir().mkpath(output.absolutePath()))
        return fail(u"%1: the folder cannot be made"_s.arg(output.absolutePath()));
    const Result<CodePage::Unstorable> saved = SaveBook(made.book, job.output);
    if (!saved)
        return fail(saved.error().message());

    result.status = ConversionStatus::Converted;
    QStringList warnings =
        savedBookWarnings(made.book, saved.value(), source.value(), made.foundLeftOut, job.output);
    if (!job.sharesNameWith.isEmpty()) {
        warnings.prepend(u"%1: numbered, since %2 gives a book of the same name"_s.arg(
            job.output, job.sharesNameWith));
    }
    result.message = warnings.join(u"; "_s);
    result.notes = std::move(made.notes);
    result.notes = sourceNotes(source.value(), job.input, recipe) + result.notes;
    result.title = made.book.title.trimmed();
    result.author = made.book.author.trimmed();
    result.chapters = made.book.chapters.size();
    result.characters = made.book.text.size();
    result.unstorable = saved.value().count;
    // What check says of the file as the phone will read it.
    const Result<Book> stored = LoadBook(job.output, TextLineBreaks::AsStored, made.book.codePage);
    result.findings = stored ? checkBook(stored.value()).size() : 0;
    result.milliseconds = timer.elapsed();
    return result;
}

LibraryConversion::LibraryConversion(ConversionPlan plan, BookRecipe recipe, bool skipExisting)
    : m_plan(std::move(plan))
    , m_recipe(std::move(recipe))
    , m_skipExisting(skipExisting)
    , m_results(m_plan.jobs.size())
{
    for (const ConversionJob &job : m_plan.jobs)
        m_inputs.append(absolute(job.input));
}

void LibraryConversion::run(int threads)
{
    prepareImport();
    auto work = [this] {
        for (;;) {
            if (m_cancelled.load())
                return;
            const qsizetype index = m_next.fetch_add(1);
            if (index >= m_plan.jobs.size())
                return;
            if (started)
                started(index);
            m_results[std::size_t(index)] =
                convertBook(m_plan.jobs[index], m_recipe, m_skipExisting, m_inputs);
            if (finished)
                finished(index, m_results[std::size_t(index)]);
        }
    };
    const int count = std::clamp<qsizetype>(threads, 1, std::max<qsizetype>(1, m_plan.jobs.size()));
    std::vector<std::thread> workers;
    for (int i = 1; i < count; ++i)
        workers.emplace_back(work);
    work();
    for (std::thread &worker : workers)
        worker.join();
}

namespace {

qsizetype countOf(const LibraryConversion &conversion, ConversionStatus status)
{
    return std::count_if(conversion.results().begin(), conversion.results().end(),
                         [&](const ConversionResult &result) { return result.status == status; });
}

} // namespace

QString conversionSummary(const LibraryConversion &conversion)
{
    QString summary =
        u"%1 books: %2 converted, %3 failed, %4 skipped"_s.arg(conversion.plan().jobs.size())
            .arg(countOf(conversion, ConversionStatus::Converted))
            .arg(countOf(conversion, ConversionStatus::Failed))
            .arg(countOf(conversion, ConversionStatus::Skipped));
    if (const qsizetype left = countOf(conversion, ConversionStatus::NotStarted); left > 0)
        summary += u", %1 not started (stopped)"_s.arg(left);
    if (conversion.plan().passedOver > 0)
        summary += u"; %1 files of other kinds passed over"_s.arg(conversion.plan().passedOver);
    return summary;
}

bool convertedWhole(const LibraryConversion &conversion)
{
    return countOf(conversion, ConversionStatus::Failed) == 0
           && countOf(conversion, ConversionStatus::NotStarted) == 0
           && conversion.plan().missing.isEmpty();
}
