#pragma once

// Converting a whole library at once: the books found in files and folders, each made by the
// recipe exactly as make would make it alone, on several threads, into one output folder that
// mirrors the folders they came from.

#include "bookrecipe.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <vector>

// One book to make.
struct ConversionJob
{
    QString input;     // the file as found: a folder given, joined with the path inside it
    QString output;    // the book file it becomes
    bool open = false; // an earlier book file, opened rather than imported
    // When another input would give the same book file: its name; both are then numbered.
    QString sharesNameWith;
    // Found in a folder under a name a project's own Markdown files take (README.md,
    // LICENSE.md): passed over unless it reads as a book.
    bool projectFileName = false;
};

struct ConversionPlan
{
    QList<ConversionJob> jobs;
    qsizetype passedOver = 0; // files in the folders of no kind a book is made from
    QStringList missing;      // inputs that name no file or folder
};

// The books in inputs (files, and folders searched through), in the order given and, within
// a folder, by path. Each goes into outputFolder under its path inside the folder given (a
// file given alone, under its name), with ".vlm" for its extension. Names compare without
// case, as on the FAT memory card the books are copied to. An output folder below a folder
// given is not searched. A folder's project files (README.md and the like) are among the
// books, marked, to be skipped unless they prove to be books.
ConversionPlan planConversion(const QStringList &inputs, const QString &outputFolder);

enum class ConversionStatus { Converted, Failed, Skipped, NotStarted };

QString statusName(ConversionStatus status);

struct ConversionResult
{
    ConversionStatus status = ConversionStatus::NotStarted;
    QString message;   // why it failed or was skipped, or the warnings of a book made
    QStringList notes; // what the recipe's steps did, as make tells it
    QString title, author;
    qsizetype chapters = 0;
    qsizetype characters = 0;
    qsizetype unstorable = 0; // characters stored as "?"
    qsizetype findings = 0;   // what check finds in the book made
    qint64 milliseconds = 0;
};

// One book made and saved: what make OUTPUT --import INPUT (or --open) with the recipe writes,
// and a book left without a title takes its file name. An output newer than its input is left
// as it is when skipExisting is set; nothing is written over an input. A project file is
// skipped unless it is large (over 100 KB) or the heading detector finds three chapters in it.
ConversionResult convertBook(const ConversionJob &job, const BookRecipe &recipe, bool skipExisting,
                             const QStringList &inputs = {});

// The plan's books made on several threads. What is written does not depend on how many, nor
// on the order in which books finish; only the books in flight are held in memory.
class LibraryConversion
{
public:
    LibraryConversion(ConversionPlan plan, BookRecipe recipe, bool skipExisting);

    const ConversionPlan &plan() const { return m_plan; }

    // Called on the converting threads, so the caller guards what it shares: a book begun, a
    // book done (its index in the plan and its result).
    std::function<void(qsizetype)> started;
    std::function<void(qsizetype, const ConversionResult &)> finished;

    // Converts every book on threads threads, returning when all are done or, once cancelled,
    // when the books in flight are.
    void run(int threads);

    // No book starts after this; safe from any thread, and from a signal handler.
    void cancel() { m_cancelled.store(true); }
    bool cancelled() const { return m_cancelled.load(); }

    // In the plan's order; a book that never started stays NotStarted.
    const std::vector<ConversionResult> &results() const { return m_results; }

private:
    ConversionPlan m_plan;
    BookRecipe m_recipe;
    bool m_skipExisting;
    QStringList m_inputs; // every input's absolute path, never written over
    std::vector<ConversionResult> m_results;
    std::atomic<bool> m_cancelled = false;
    std::atomic<qsizetype> m_next = 0;
};

// How the conversion went, in one line: "26 books: 25 converted, 1 failed, 0 skipped", with
// the books a stop left and the files of other kinds passed over.
QString conversionSummary(const LibraryConversion &conversion);

// Whether every book was converted or left as it was, and every input found.
bool convertedWhole(const LibraryConversion &conversion);
