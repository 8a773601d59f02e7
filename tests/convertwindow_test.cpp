#include "uitest.h"

#include "ui/bookstate.h"
#include "ui/document.h"
#include "ui/frmabout.h"
#include "ui/frmconvert.h"
#include "ui/frmleafwright.h"
#include "ui/windows.h"

#include "book/bookfile.h"
#include "book/codepage.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

using ConvertWindow = UiTest;

const QByteArray Prose =
    QByteArray("The road ran on past the river and the mill, and the sea lay beyond.\n")
        .repeated(6);

// Lets the converting threads report until they are done.
void waitForConversion(const FrmConvert *window)
{
    QElapsedTimer waited;
    waited.start();
    while (window->isConverting() && waited.elapsed() < 60000) {
        processEvents();
        QThread::msleep(5);
    }
    processEvents();
    ASSERT_FALSE(window->isConverting());
}

QStringList column(const QTableWidget *table, int column)
{
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row) {
        const QTableWidgetItem *item = table->item(row, column);
        texts.append(item ? item->text() : QString());
    }
    return texts;
}

// A folder chosen through the dialogs, a box and Find Chapters ticked: a row per book with how
// it went (its README skipped, with the reason), the summary, and a double-click opens a book
// made in the main window.
TEST_F(ConvertWindow, ConvertsAFolderAndOpensABookMade)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(u"lib/more"_s);
    writeBytes(dir.filePath(u"lib/sea.txt"_s),
               "CHAPTER I\n\n" + Prose + "\n\nCHAPTER II\n\n" + Prose);
    writeBytes(dir.filePath(u"lib/more/land.txt"_s), "Plain words.\n");
    writeBytes(dir.filePath(u"lib/more/broken.epub"_s), "not an archive");
    writeBytes(dir.filePath(u"lib/README.md"_s), "# Books\n\nThe books of the sea.\n");

    frmLeafwright()->mnuConvert->trigger();
    FrmConvert *window = frmConvert();
    ASSERT_TRUE(window->isVisible());
    m_prompts.files = {dir.filePath(u"lib"_s), dir.filePath(u"out"_s)};
    window->butAddFolder->click();
    window->butBrowse->click();
    EXPECT_EQ(window->txtOutput->text(), QDir::toNativeSeparators(dir.filePath(u"out"_s)));
    window->objClean[5]->setChecked(true);
    window->chkFindChapters->setChecked(true);
    window->butStart->click();
    EXPECT_FALSE(window->butStart->isEnabled());
    waitForConversion(window);

    EXPECT_EQ(column(window->grdResults, 1),
              (QStringList{u"skipped"_s, u"failed"_s, u"converted"_s, u"converted"_s}));
    EXPECT_EQ(column(window->grdResults, 2), (QStringList{u""_s, u""_s, u"0"_s, u"2"_s}));
    EXPECT_TRUE(
        column(window->grdResults, 3)[0].endsWith(u"README.md: a project file, not a book"_s));
    EXPECT_TRUE(column(window->grdResults, 3)[1].contains(u"broken.epub: "_s));
    EXPECT_EQ(window->lblCurrent->text(), u"4 books: 2 converted, 1 failed, 1 skipped"_s);
    EXPECT_EQ(window->prgConvert->value(), 4);
    EXPECT_TRUE(window->butStart->isEnabled());

    const QString made = dir.filePath(u"out/sea.vlm"_s);
    const Book book = LoadBook(made).value();
    EXPECT_EQ(book.title.trimmed(), u"sea"_s);
    EXPECT_EQ(book.chapters.size(), 2);
    emit window->grdResults->cellDoubleClicked(3, 0);
    EXPECT_EQ(bookFilePath(), made);
    EXPECT_EQ(documentBook().text, book.text);
}

// Each book is made in its own code page unless the window's list chooses one for all.
TEST_F(ConvertWindow, MakesEachBookInItsCodePageOrTheOneChosen)
{
    QTemporaryDir dir;
    const QString russian =
        u"\u0412 \u043D\u0430\u0447\u0430\u043B\u0435 \u0438\u044E\u043B\u044F, "
        "\u0432 \u0447\u0440\u0435\u0437\u0432\u044B\u0447\u0430\u0439\u043D\u043E "
        "\u0436\u0430\u0440\u043A\u043E\u0435 \u0432\u0440\u0435\u043C\u044F."_s;
    writeBytes(dir.filePath(u"ru.txt"_s), russian.toUtf8());

    frmLeafwright()->mnuConvert->trigger();
    FrmConvert *window = frmConvert();
    window->addBooks({dir.filePath(u"ru.txt"_s)});
    EXPECT_EQ(window->cboCodePage->count(), 11);
    for (const auto &[choice, folder, codePage] :
         {std::tuple{u"Each book's own (guessed)"_s, u"own"_s, CodePage::Id::Windows1251},
          std::tuple{u"Western (Windows-1252)"_s, u"western"_s, CodePage::Western}}) {
        window->cboCodePage->setCurrentText(choice);
        window->txtOutput->setText(dir.filePath(folder));
        window->butStart->click();
        waitForConversion(window);
        EXPECT_EQ(readBytes(dir.filePath(folder + u"/ru.vlm"_s)).mid(2323),
                  CodePage::encode(codePage, russian))
            << choice.toStdString();
    }
}

// Cancel stops after the books in flight: at most one per thread is made, the rest are left
// unstarted and nothing is written for them.
TEST_F(ConvertWindow, CancelStopsAfterTheBooksInFlight)
{
    QTemporaryDir dir;
    QStringList books;
    for (int i = 0; i < 12; ++i) {
        books.append(dir.filePath(u"book%1.txt"_s.arg(i, 2, 10, QChar(u'0'))));
        writeBytes(books.back(), Prose);
    }
    FrmConvert *window = frmConvert();
    window->addBooks(books);
    window->addBooks({books[0]});
    ASSERT_EQ(window->lstBooks->count(), 12) << "each book is listed once";
    window->txtOutput->setText(dir.filePath(u"out"_s));
    window->butStart->click();
    window->butCancel->click();
    waitForConversion(window);

    const QStringList statuses = column(window->grdResults, 1);
    const qsizetype made = statuses.count(u"converted"_s);
    EXPECT_LE(made, QThread::idealThreadCount());
    EXPECT_EQ(statuses.count(u"not started"_s), 12 - made);
    EXPECT_EQ(QDir(dir.filePath(u"out"_s)).entryList(QDir::Files).size(), made);
    EXPECT_TRUE(window->lblCurrent->text().contains(u"not started (stopped)"_s));
}

// Start without books or without an output folder says what is missing and converts nothing.
TEST_F(ConvertWindow, StartSaysWhatIsMissing)
{
    FrmConvert *window = frmConvert();
    window->butStart->click();
    window->addBooks({u"/nowhere/a.txt"_s});
    window->butStart->click();
    const QList<ScriptedPrompts::Asked> messages = m_prompts.messages();
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[0].text, u"Add the books or folders to convert first."_s);
    EXPECT_EQ(messages[1].text, u"Choose the folder the book files go to first."_s);
    EXPECT_EQ(window->grdResults->rowCount(), 0);
}

// Help > About shows the version the build was given, below the Close button it kept in place,
// and Escape or Return closes it wherever the focus is.
TEST_F(ConvertWindow, AboutShowsTheVersionAndClosesOnEscapeOrReturn)
{
    for (const Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
        frmLeafwright()->mnuAbout->trigger();
        FrmAbout *about = loadedWindows().about;
        ASSERT_TRUE(about && about->isVisible());
        EXPECT_TRUE(QRegularExpression(u"^Version [0-9]+\\.[0-9]+\\.[0-9]+$"_s)
                        .match(about->lblVersion->text())
                        .hasMatch())
            << about->lblVersion->text().toStdString();
        EXPECT_GE(about->lblVersion->y(), about->butClose->geometry().bottom());
        EXPECT_LE(about->lblVersion->geometry().bottom(), about->height());
        QTest::keyClick(key == Qt::Key_Escape ? static_cast<QWidget *>(about) : about->butClose,
                        key);
        processEvents();
        EXPECT_EQ(loadedWindows().about, nullptr) << key;
    }
}

} // namespace
