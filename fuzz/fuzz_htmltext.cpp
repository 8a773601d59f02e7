// Markup of any bytes, read as two documents one after the other (split at the first 0xFF byte)
// and as a web page: the text has CR LF line breaks only and no white space at its end, and
// every mark (document starts, ids, headings) lies inside it.

#include "fuzzcheck.h"

#include "import/epubimport.h"
#include "import/htmltext.h"

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    const qsizetype split = bytes.indexOf('\xFF');
    const QByteArrayView parts[] = {split < 0 ? bytes : bytes.first(split),
                                    split < 0 ? QByteArrayView() : bytes.sliced(split + 1)};

    HtmlToText writer;
    QList<HtmlToText::Mark> marks;
    for (const QByteArrayView part : parts) {
        const std::optional<HtmlToText::Document> document = writer.addDocument(part);
        if (!document)
            continue;
        marks.append(document->start);
        marks.append(document->ids.values());
        for (const HtmlToText::Heading &heading : document->headings) {
            marks.append(heading.mark);
            FUZZ_CHECK(!hasLoneLineBreak(heading.title));
        }
    }
    const QString text = writer.finish();
    FUZZ_CHECK(!hasLoneLineBreak(text));
    // White space at the end is only what preformatted text wrote.
    if (!bytes.toByteArray().toLower().contains("<pre"))
        FUZZ_CHECK(!text.endsWith(u' ') && !text.endsWith(u'\n'));
    for (const HtmlToText::Mark mark : marks)
        FUZZ_CHECK(writer.offset(mark) >= 0 && writer.offset(mark) <= text.size());

    const Result<ImportedBook> page = readHtmlBook(bytes, u"fuzz.html"_s);
    if (page) {
        FUZZ_CHECK(!hasLoneLineBreak(page.value().book.text));
        for (const ChapterEntry &row : page.value().book.chapters)
            FUZZ_CHECK(row.offset.trimmed().toLongLong() <= page.value().book.text.size());
    }
    return 0;
}
