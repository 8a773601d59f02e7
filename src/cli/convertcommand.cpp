// convert: makes a book file of every book in files and folders, several at a time.

#include "commandline.h"
#include "console.h"

#include "convert/conversionreport.h"
#include "convert/libraryconversion.h"

#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include <atomic>
#include <csignal>
#include <mutex>

using namespace Qt::StringLiterals;

namespace {

constexpr OptionSpec ConvertOptions[] = {
    {"-o"_L1, 1},       RecipeOptions[0],          RecipeOptions[1],  RecipeOptions[2],
    RecipeOptions[3],   RecipeOptions[4],          RecipeOptions[5],  {"--jobs"_L1, 1},
    {"--report"_L1, 1}, {"--skip-existing"_L1, 0}, {"--quiet"_L1, 0},
};

// The conversion Ctrl+C stops: no book starts after it, those in flight are finished and saved.
std::atomic<LibraryConversion *> interrupted = nullptr;

extern "C" void stopConverting(int)
{
    if (LibraryConversion *conversion = interrupted.load())
        conversion->cancel();
}

QString chapterCount(qsizetype count)
{
    return count == 1 ? u"1 chapter"_s : u"%1 chapters"_s.arg(count);
}

QString duration(qint64 milliseconds)
{
    const qint64 seconds = (milliseconds + 999) / 1000;
    return u"%1:%2"_s.arg(seconds / 60).arg(seconds % 60, 2, 10, QChar(u'0'));
}

// What the user sees while books are converted: a line drawn over on a terminal, a line per
// book elsewhere; failures and warnings on the error stream. Called from the converting
// threads, so it takes its lock.
class Progress
{
public:
    Progress(Console &console, const ConversionPlan &plan, bool quiet)
        : m_console(console)
        , m_plan(plan)
        , m_quiet(quiet)
        , m_terminal(console.outputIsTerminal() && !quiet)
    {
        m_timer.start();
    }

    void started(qsizetype index)
    {
        const std::lock_guard lock(m_mutex);
        m_current = QDir::toNativeSeparators(m_plan.jobs[index].input);
        draw();
    }

    void finished(qsizetype index, const ConversionResult &result)
    {
        const std::lock_guard lock(m_mutex);
        ++m_done;
        const ConversionJob &job = m_plan.jobs[index];
        clear();
        if (result.status == ConversionStatus::Failed) {
            ++m_failed;
            m_console.error(result.message);
        } else if (!m_quiet) {
            if (!result.message.isEmpty() && result.status == ConversionStatus::Converted) {
                for (const QString &warning : result.message.split(u"; "_s))
                    m_console.warning(warning);
            }
            if (!m_terminal) {
                const QString line = result.status == ConversionStatus::Skipped
                                         ? u"skipped "_s + result.message
                                         : u"converted %1 -> %2 (%3)"_s.arg(
                                             job.input, job.output, chapterCount(result.chapters));
                (void)m_console.print(line + u'\n');
            }
        }
        draw();
    }

    // Takes the drawn line away before the summary.
    void end()
    {
        const std::lock_guard lock(m_mutex);
        clear();
    }

private:
    void clear()
    {
        if (m_terminal)
            (void)m_console.print(u"\r\x1b[K"_s);
    }

    void draw()
    {
        if (!m_terminal)
            return;
        const qsizetype total = m_plan.jobs.size();
        const double seconds = std::max<qint64>(m_timer.elapsed(), 1) / 1000.0;
        const double rate = m_done / seconds;
        QString line =
            u"%1 of %2 books, %3 failed, %4 books/s"_s.arg(m_done).arg(total).arg(m_failed).arg(
                rate, 0, 'f', 1);
        if (m_done > 0)
            line += u", %1 left"_s.arg(duration(qint64((total - m_done) / rate * 1000)));
        line += u", "_s + m_current;
        const int width = std::max(20, m_console.outputWidth() - 1);
        if (line.size() > width)
            line = line.left(width - 1) + u'\u2026';
        (void)m_console.print(u"\r\x1b[K"_s + line);
    }

    Console &m_console;
    const ConversionPlan &m_plan;
    const bool m_quiet;
    const bool m_terminal;
    std::mutex m_mutex;
    QElapsedTimer m_timer;
    qsizetype m_done = 0;
    qsizetype m_failed = 0;
    QString m_current;
};

int runConvert(const CommandLine &line, Console &console)
{
    if (!line.has("-o"_L1))
        return usageProblem(console, u"convert: give the folder the books go to with -o OUTDIR"_s);
    auto recipe = recipeOf(line, u"convert"_s);
    if (const auto *usage = std::get_if<UsageError>(&recipe))
        return usageProblem(console, usage->problem);
    int jobs = QThread::idealThreadCount();
    if (line.has("--jobs"_L1)) {
        bool isNumber = false;
        jobs = line.value("--jobs"_L1).toInt(&isNumber);
        if (!isNumber || jobs < 1)
            return usageProblem(console, u"convert: --jobs takes a number of 1 or more"_s);
    }

    const QString outputFolder = line.value("-o"_L1);
    if (!QDir().mkpath(outputFolder))
        return fileProblem(console, {outputFolder, u"the folder cannot be made"_s});
    LibraryConversion conversion(planConversion(line.operands, outputFolder),
                                 std::move(std::get<BookRecipe>(recipe)),
                                 line.has("--skip-existing"_L1));
    for (const QString &missing : conversion.plan().missing)
        console.error(u"%1: no such file or folder"_s.arg(missing));

    QElapsedTimer timer;
    timer.start();
    Progress progress(console, conversion.plan(), line.has("--quiet"_L1));
    conversion.started = [&](qsizetype index) { progress.started(index); };
    conversion.finished = [&](qsizetype index, const ConversionResult &result) {
        progress.finished(index, result);
    };
    interrupted.store(&conversion);
    struct sigaction stop
    {
    }, before{};
    stop.sa_handler = stopConverting;
    sigemptyset(&stop.sa_mask);
    sigaction(SIGINT, &stop, &before);
    conversion.run(jobs);
    sigaction(SIGINT, &before, nullptr);
    interrupted.store(nullptr);
    progress.end();

    const QString summary =
        conversionSummary(conversion) + u"; %1 s"_s.arg(timer.elapsed() / 1000.0, 0, 'f', 2);
    const bool summaryPrinted = console.print(summary + u'\n');

    if (line.has("--report"_L1)) {
        if (const std::optional<FileError> error =
                writeConversionReport(conversion, line.value("--report"_L1)))
            return fileProblem(console, *error);
    }
    if (!summaryPrinted)
        return printed(console, false);
    return convertedWhole(conversion) ? ExitSuccess : ExitFileProblem;
}

} // namespace

const Command ConvertCommand = {"convert"_L1, ConvertOptions, OneOrMoreOperands, runConvert};
