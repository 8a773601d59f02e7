#include "bookedits.h"

#include "cleaner/storablecharacters.h"

CleanedBook CleanBook(const Book &book, const CleanerBoxes &boxes)
{
    CleanedBook cleaned{book, Clean(book.text, boxes), {}};
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
        result.title = MakeStorable(result.title).text;
        result.author = MakeStorable(result.author).text;
        result.synopsis = MakeStorable(result.synopsis).text;
        result.chapters = storableRows(result.chapters);
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
