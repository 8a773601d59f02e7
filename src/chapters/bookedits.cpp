#include "bookedits.h"

#include "cleaner/storablecharacters.h"

CleanedBook CleanBook(const Book &book, const CleanerBoxes &boxes)
{
    CleanedBook cleaned{book, Clean(book.text, boxes, book.codePage), {}};
    cleaned.moved =
        moveChapterRows(book.chapters, book.text, cleaned.outcome.text, cleaned.outcome.moves);
    Book &result = cleaned.book;
    result.text = cleaned.outcome.text;
    result.chapters = cleaned.moved.rows;
    // The header's title and author fill the fields that are still empty (or hold only the
    // fill spaces of a loaded book); what a user typed stays.
    if (boxes[GutenbergFrameBox]) {
        result.title = fieldFromHeader(result.title, cleaned.outcome.frame.title);
        result.author = fieldFromHeader(result.author, cleaned.outcome.frame.author);
    }
    if (boxes[StorableCharactersBox]) {
        result.title = MakeStorable(book.codePage, result.title).text;
        result.author = MakeStorable(book.codePage, result.author).text;
        result.synopsis = MakeStorable(book.codePage, result.synopsis).text;
        result.chapters = storableRows(result.chapters, book.codePage);
    }
    return cleaned;
}

ReplacedBook ReplaceInWholeBook(const Book &book, const QString &what, const QString &replacement)
{
    Replacement replaced = ReplaceInBook(book.text, what, replacement);
    ReplacedBook result{book, replaced.count, std::move(replaced.moves), {}};
    result.moved = moveChapterRows(book.chapters, book.text, replaced.text, result.moves);
    result.book.text = std::move(replaced.text);
    result.book.chapters = result.moved.rows;
    return result;
}

RecodedBook BookInCodePage(const Book &book, CodePage::Id codePage)
{
    RecodedBook result{book, {}, {}};
    Book &recoded = result.book;
    recoded.codePage = codePage;
    recoded.text = CodePage::heldForm(codePage, book.text, &result.moves);
    result.moved = moveChapterRows(book.chapters, book.text, recoded.text, result.moves);
    recoded.chapters = result.moved.rows;
    recoded.title = CodePage::heldForm(codePage, recoded.title);
    recoded.author = CodePage::heldForm(codePage, recoded.author);
    recoded.synopsis = CodePage::heldForm(codePage, recoded.synopsis);
    for (ChapterEntry &row : recoded.chapters)
        row.title = CodePage::heldForm(codePage, row.title);
    return result;
}
