// Opening a 10 MB book into the main window, reading the caret's offset at its end, Clean and
// Undo of it as one step of the editor's history, typing with a full chapter table, and the
// recovery copy of a changed book, which the window writes itself between keystrokes, so it must
// stay well under the 50 ms a user would notice.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_editor

#include "book/bookfile.h"
#include "book/textimport.h"
#include "chapters/chaptertable.h"
#include "ui/bookeditor.h"
#include "ui/bookrecovery.h"
#include "ui/document.h"
#include "ui/frmchapters.h"
#include "ui/frmcleaner.h"
#include "ui/frmleafwright.h"
#include "ui/windows.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTest>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype TenMegabytes = 10 * 1024 * 1024;

// The corpus books one after another, up to 10 MB of text.
QString tenMegabytesOfBooks()
{
    const QDir dir(QString::fromUtf8(LEAFWRIGHT_CORPUS_DIR));
    QString books;
    for (const QString &name : dir.entryList({QStringLiteral("*.txt")}, QDir::Files)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            books += decodeTextFile(file.readAll());
    }
    if (books.isEmpty())
        return {};
    QString text;
    while (text.size() < TenMegabytes)
        text += books;
    text.truncate(TenMegabytes);
    return text;
}

struct Fixture
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("ten.vlm"));
    bool ready = false;

    Fixture()
    {
        Book book;
        book.title = QStringLiteral("Ten megabytes");
        book.text = tenMegabytesOfBooks();
        ready = !book.text.isEmpty() && SaveBook(book, path).ok();
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

// What Open does after the dialog: read the file, fill the windows, and paint the editor.
void OpenTenMegabyteBook(benchmark::State &state)
{
    if (!fixture().ready) {
        state.SkipWithError("no books in the corpus folder");
        return;
    }
    frmLeafwright()->show();
    for (auto _ : state) {
        showBook(LoadBook(fixture().path).value());
        QApplication::processEvents();
        frmLeafwright()->objBook->Refresh();
    }
}
BENCHMARK(OpenTenMegabyteBook)->Unit(benchmark::kMillisecond)->Iterations(5);

// The caret tracking reads the offset on every keystroke.
void CaretOffsetAtTheEnd(benchmark::State &state)
{
    if (!fixture().ready) {
        state.SkipWithError("no books in the corpus folder");
        return;
    }
    BookEditor *editor = frmLeafwright()->objBook;
    showBook(LoadBook(fixture().path).value());
    editor->moveCursor(QTextCursor::End);
    for (auto _ : state)
        benchmark::DoNotOptimize(editor->SelStart());
    state.SetLabel(std::to_string(editor->SelStart()) + " characters");
}
BENCHMARK(CaretOffsetAtTheEnd)->Unit(benchmark::kMicrosecond);

// Jumping to a chapter near the end.
void PlaceCaretNearTheEnd(benchmark::State &state)
{
    if (!fixture().ready) {
        state.SkipWithError("no books in the corpus folder");
        return;
    }
    BookEditor *editor = frmLeafwright()->objBook;
    showBook(LoadBook(fixture().path).value());
    for (auto _ : state)
        editor->setSelStart(TenMegabytes - 1000);
}
BENCHMARK(PlaceCaretNearTheEnd)->Unit(benchmark::kMicrosecond);

// The book with a row at the start of every sixth line, up to the table's limit.
Book bookWithRows(qsizetype rowLimit)
{
    Book book = LoadBook(fixture().path).value();
    qsizetype line = 0;
    for (qsizetype at = 0; at >= 0 && book.chapters.size() < rowLimit;
         at = book.text.indexOf(u'\n', at + 1)) {
        if (line++ % 6 == 0)
            book.chapters.append(foundChapterRow(QStringLiteral("Row"), at + (at > 0)));
    }
    return book;
}

// Clean with every box as one step that Undo takes back, the rows following the text, then
// that Undo.
void CleanAndUndoTenMegabytes(benchmark::State &state)
{
    if (!fixture().ready) {
        state.SkipWithError("no books in the corpus folder");
        return;
    }
    showBook(bookWithRows(MaxChapterRows));
    for (auto _ : state) {
        for (QCheckBox *box : frmCleaner()->objClean)
            box->setChecked(true);
        frmCleaner()->butClean->click();
        frmLeafwright()->objBook->undo();
    }
    state.SetLabel(std::to_string(frmChapters()->chapterRows().size()) + " rows");
}
BENCHMARK(CleanAndUndoTenMegabytes)->Unit(benchmark::kMillisecond)->Iterations(3);

// One character typed at the start of the book: every row behind it moves.
void TypeBeforeAFullTable(benchmark::State &state)
{
    if (!fixture().ready) {
        state.SkipWithError("no books in the corpus folder");
        return;
    }
    showBook(bookWithRows(MaxChapterRows));
    BookEditor *editor = frmLeafwright()->objBook;
    editor->setSelStart(0);
    for (auto _ : state)
        QTest::keyClick(editor, Qt::Key_X);
    state.SetLabel(std::to_string(frmChapters()->chapterRows().size()) + " rows");
}
BENCHMARK(TypeBeforeAFullTable)->Unit(benchmark::kMillisecond)->Iterations(20);

// The copy of a changed 10 MB book the window keeps against a crash: read from the windows,
// made a book file and written whole.
void WriteRecoveryCopy(benchmark::State &state)
{
    if (!fixture().ready) {
        state.SkipWithError("no books in the corpus folder");
        return;
    }
    showBook(bookWithRows(1000));
    frmLeafwright()->objBook->document()->setModified(true);
    for (auto _ : state)
        frmLeafwright()->recovery().copyNow();
    frmLeafwright()->recovery().remove();
}
BENCHMARK(WriteRecoveryCopy)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
