#include "pdflayout.h"

#include "htmltext.h"
#include "pdffurniture.h"
#include "pdflinejoiner.h"
#include "pdfspreads.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

// Type this much larger than the body's is a heading's.
constexpr double HeadingScale = 1.2;
// The first pages, where a title page is looked for.
constexpr int TitlePages = 8;

// A paragraph or a heading, as lines of the pages.
struct Block
{
    bool heading = false;
    QList<const PdfLine *> lines;
    QString id;        // when a chapter starts here
    QStringList notes; // footnotes it calls, written after it
    int page() const { return lines.first()->page; }
};

// Where the text of one column of a page stands: its left edge, the right edge of its full
// lines, and whether most of its lines reach that edge (justified type, where a short line
// ends a paragraph).
struct Frame
{
    double left = 0, right = 0;
    bool justified = false;
    bool widened = false; // its lines are short, its right edge is the pages' around it
};

class Layout
{
public:
    Layout(const QList<QList<PdfLine>> &pages, const QList<PdfOutlineEntry> &outline)
        : m_pages(pages)
        , m_measures(measuresOf(pages))
        , m_roles(rolesOfLines(pages, m_measures))
    {
        m_textLines.resize(pages.size());
        for (int page = 0; page < pages.size(); ++page) {
            for (qsizetype i = 0; i < pages[page].size(); ++i) {
                if (m_roles[page][i] == LineRole::Text)
                    m_textLines[page].append(i);
            }
        }
        // The first pages with few lines of body type are title pages.
        for (int page = 0; page < std::min<int>(TitlePages, pages.size()); ++page) {
            const auto body =
                std::count_if(m_textLines[page].begin(), m_textLines[page].end(), [&](qsizetype i) {
                    return pages[page][i].size < HeadingScale * m_measures.bodySize;
                });
            m_titlePages.append(body < 8);
        }
        m_frames.resize(pages.size());
        m_justifiedBook = measureJustification();
        measureTextBlock();
        for (int page = 0; page < pages.size(); ++page) {
            for (qsizetype i = 0; i < pages[page].size(); ++i) {
                if (m_roles[page][i] != LineRole::Furniture)
                    m_joiner.countWords(pages[page][i].text);
            }
        }
        placeOutline(outline);
        buildBlocks();
        gatherNotes();
    }

    PageBook book()
    {
        PageBook book;
        if (m_outlineIds.isEmpty())
            headingEntries(book);
        else
            book.entries = m_outlineIds;
        titleFromFirstPages(book);
        book.html = "<html><head><meta charset=\"utf-8\"></head><body>\n";
        for (const Block &block : std::as_const(m_blocks)) {
            book.html += block.id.isEmpty() ? "<p>" : "<p id=\"" + block.id.toUtf8() + "\">";
            book.html += escapedForHtml(textOf(block)) + "</p>\n";
            for (const QString &note : block.notes)
                book.html += "<p>" + escapedForHtml(note) + "</p>\n";
        }
        book.html += "</body></html>\n";
        return book;
    }

private:
    const PdfLine &textLine(int page, qsizetype n) const
    {
        return m_pages[page][m_textLines[page][n]];
    }

    // Where the text of most pages begins and ends: a page whose text begins lower starts a
    // chapter or a section, one whose text ends higher ends one.
    void measureTextBlock()
    {
        QHash<int, int> tops, bottoms;
        for (int page = 0; page < m_pages.size(); ++page) {
            if (m_textLines[page].isEmpty())
                continue;
            ++tops[int(std::lround(textLine(page, 0).box.top()))];
            ++bottoms[int(std::lround(textLine(page, m_textLines[page].size() - 1).box.bottom()))];
            if (m_roles[page].contains(LineRole::Note))
                m_hasNotes.insert(page);
        }
        m_textTop = mostFrequent(tops);
        m_textBottom = mostFrequent(bottoms);
    }

    // Each outline entry starts its chapter at the first line of text at or below the place it
    // leads to (a bookmark often leads to a little above its heading), or on a later page when
    // nothing of its own page's text lies below that place.
    void placeOutline(const QList<PdfOutlineEntry> &outline)
    {
        // For each page, the lowest bottom of its lines so far in reading order, which the first
        // line below a place is found in by halving; and the next page with text on it.
        QList<QList<double>> lowest(m_pages.size());
        QList<int> nextWithText(m_pages.size() + 1, -1);
        for (int page = int(m_pages.size()) - 1; page >= 0; --page) {
            for (qsizetype n = 0; n < m_textLines[page].size(); ++n) {
                const double bottom = textLine(page, n).box.bottom();
                lowest[page].append(n == 0 ? bottom : std::max(lowest[page].last(), bottom));
            }
            nextWithText[page] = lowest[page].isEmpty() ? nextWithText[page + 1] : page;
        }
        for (const PdfOutlineEntry &entry : outline) {
            if (entry.page < 0 || entry.page >= m_pages.size())
                continue;
            int page = entry.page;
            qsizetype n = 0;
            if (entry.top >= 0) {
                const QList<double> &bottoms = lowest[page];
                n = std::upper_bound(bottoms.begin(), bottoms.end(), entry.top) - bottoms.begin();
            }
            if (n == m_textLines[page].size()) {
                page = nextWithText[page + 1];
                n = 0;
            }
            if (page >= 0)
                m_targets[&textLine(page, n)].append(entry.label);
        }
    }

    void buildBlocks()
    {
        m_blocksOfPage.resize(m_pages.size());
        const PdfLine *previous = nullptr;
        for (int page = 0; page < m_pages.size(); ++page) {
            for (qsizetype n = 0; n < m_textLines[page].size(); ++n) {
                const PdfLine &line = textLine(page, n);
                const PdfLine *next =
                    n + 1 < m_textLines[page].size() ? &textLine(page, n + 1) : nullptr;
                const bool heading = line.size >= HeadingScale * m_measures.bodySize;
                const auto target = m_targets.constFind(&line);
                bool fresh =
                    !previous || target != m_targets.cend() || heading != m_blocks.last().heading;
                if (!fresh)
                    fresh = heading ? !continuesHeading(*previous, line)
                                    : startsParagraph(*previous, line, next);
                if (fresh)
                    m_blocks.append({heading, {}, {}, {}});
                Block &block = m_blocks.last();
                block.lines.append(&line);
                if (target != m_targets.cend()) {
                    block.id = u"c%1"_s.arg(m_blocks.size());
                    for (const QString &label : *target)
                        m_outlineIds.append({label, block.id});
                }
                if (m_blocksOfPage[page].isEmpty()
                    || m_blocksOfPage[page].last() != m_blocks.size() - 1) {
                    m_blocksOfPage[page].append(m_blocks.size() - 1);
                }
                previous = &line;
            }
        }
    }

    // A heading set on two lines or more: lines of like size close under one another.
    static bool continuesHeading(const PdfLine &previous, const PdfLine &line)
    {
        const double ratio = line.size / previous.size;
        return previous.page == line.page && ratio > 0.7 && ratio < 1.43
               && line.box.top() - previous.box.bottom() < 1.5 * line.size;
    }

    // A paragraph starts after a wider space than between lines, with a first line indented
    // further than the next, after a short line in justified type, or where the type changes.
    bool startsParagraph(const PdfLine &previous, const PdfLine &line, const PdfLine *next)
    {
        const double body = m_measures.bodySize;
        if (std::abs(line.size - previous.size) > 0.15 * std::max(line.size, previous.size))
            return true;
        const bool samePlace = previous.page == line.page && previous.column == line.column;
        if (samePlace
            && line.box.top() - previous.box.top()
                   > 1.5 * m_measures.leading * std::max(1.0, line.size / body)) {
            return true;
        }
        if (!samePlace && line.page != previous.page) {
            const bool startsLow = line.box.top() > m_textTop + m_measures.leading;
            const bool endedHigh =
                !m_hasNotes.contains(previous.page)
                && previous.box.bottom() < m_textBottom - 1.5 * m_measures.leading;
            if (startsLow || endedHigh)
                return true;
        }
        const Frame here = frame(line.page, line.column);
        const double indent = 0.6 * body;
        if (line.box.left() > here.left + indent) {
            const bool nextAlike =
                next && next->column == line.column && next->box.left() > here.left + indent;
            if (!nextAlike)
                return true;
        }
        const Frame before = frame(previous.page, previous.column);
        const bool shortLine = before.justified && previous.box.right() < before.right - 2 * body;
        // On a page of short lines, a line that goes on in lower case goes on the sentence of a
        // passage set centred or ragged; verse starts its lines with capitals.
        return shortLine
               && !(before.widened && !line.text.isEmpty() && line.text.front().isLower());
    }

    // The frame of a page's column as its lines of body type show it, when it has as many.
    std::optional<Frame> measuredFrame(int page, PdfColumn column, qsizetype fewest) const
    {
        QList<double> rights;
        Frame frame;
        for (const qsizetype i : m_textLines[page]) {
            const PdfLine &line = m_pages[page][i];
            if (line.column != column
                || std::abs(line.size - m_measures.bodySize) > 0.15 * m_measures.bodySize) {
                continue;
            }
            frame.left = rights.isEmpty() ? line.box.left() : std::min(frame.left, line.box.left());
            frame.right = std::max(frame.right, line.box.right());
            rights.append(line.box.right());
        }
        if (rights.isEmpty() || rights.size() < fewest)
            return std::nullopt;
        const auto full = std::count_if(rights.begin(), rights.end(), [&](double right) {
            return right > frame.right - 0.15 * m_measures.bodySize;
        });
        frame.justified = rights.size() >= 3 && 2 * full >= rights.size();
        return frame;
    }

    // A page with a few lines only stands where the pages two before or after (which face the
    // same way) stand, or its neighbours; failing those, where its own lines do. In a book set
    // justified, a page of short lines (verse, a letter's lines) is as wide as the pages around.
    Frame frame(int page, PdfColumn column)
    {
        std::optional<Frame> &frame = m_frames[page][int(column)];
        if (frame)
            return *frame;
        for (const int other : {page, page - 2, page + 2, page - 1, page + 1}) {
            if (!frame && other >= 0 && other < m_pages.size())
                frame = measuredFrame(other, column, 3);
        }
        if (!frame)
            frame = measuredFrame(page, column, 1).value_or(Frame{});
        for (const int other : {page - 2, page + 2, page - 4, page + 4}) {
            if (frame->justified || !m_justifiedBook || other < 0 || other >= m_pages.size())
                continue;
            if (const std::optional<Frame> wide = measuredFrame(other, column, 3);
                wide && wide->justified) {
                frame->right = wide->right;
                frame->justified = frame->widened = true;
            }
        }
        return *frame;
    }

    // Whether most pages are set justified.
    bool measureJustification() const
    {
        qsizetype justified = 0, ragged = 0;
        for (int page = 0; page < m_pages.size(); ++page) {
            for (const PdfColumn column : {PdfColumn::Whole, PdfColumn::Left, PdfColumn::Right}) {
                if (const std::optional<Frame> frame = measuredFrame(page, column, 3))
                    ++(frame->justified ? justified : ragged);
            }
        }
        return justified > ragged;
    }

    // Each page's footnotes go after the paragraph on that page that calls them by their mark,
    // or after the paragraph the page ends in.
    void gatherNotes()
    {
        for (int page = 0; page < m_pages.size(); ++page) {
            QList<std::pair<QString, QString>> notes; // mark, text
            for (qsizetype i = 0; i < m_pages[page].size(); ++i) {
                if (m_roles[page][i] != LineRole::Note)
                    continue;
                const QString &text = m_pages[page][i].text;
                const QString mark = noteMark(m_pages[page][i]);
                if (!mark.isEmpty())
                    notes.append({mark, text.section(u' ', 1)});
                else if (notes.isEmpty())
                    notes.append({{}, text});
                else
                    m_joiner.append(notes.last().second, text);
            }
            // Footnotes stand below text of their page, which always gives a paragraph.
            if (notes.isEmpty() || m_blocksOfPage[page].isEmpty())
                continue;
            const QHash<QString, qsizetype> callers = notesCalled(page);
            for (const auto &[mark, text] : notes) {
                const qsizetype caller = callers.value(mark, m_blocksOfPage[page].last());
                m_blocks[caller].notes.append(mark.isEmpty() ? text : u'[' + mark + u"] "_s + text);
            }
        }
    }

    // The paragraphs of a page by the marks of the notes they call ("[1]"), the last one for a
    // mark called twice.
    QHash<QString, qsizetype> notesCalled(int page) const
    {
        static const QRegularExpression Called(u"\\[([^\\]\\s]{1,3})\\]"_s);
        QHash<QString, qsizetype> callers;
        for (const qsizetype b : m_blocksOfPage[page]) {
            for (const PdfLine *line : m_blocks[b].lines) {
                if (line->page != page || !line->text.contains(u'['))
                    continue;
                for (const QRegularExpressionMatch &match : Called.globalMatch(line->text))
                    callers.insert(match.captured(1), b);
            }
        }
        return callers;
    }

    QString textOf(const Block &block) const
    {
        QString text;
        for (const PdfLine *line : block.lines)
            m_joiner.append(text, line->text);
        return text;
    }

    // Without an outline, a chapter starts at each heading that has text after it on its page
    // or stands alone on a page of its own; the book's title set large on its first pages
    // starts none.
    void headingEntries(PageBook &book)
    {
        QList<qsizetype> headings;
        for (qsizetype b = 0; b < m_blocks.size(); ++b) {
            const Block &block = m_blocks[b];
            if (!block.heading)
                continue;
            const bool textAfter = b + 1 < m_blocks.size() && !m_blocks[b + 1].heading
                                   && m_blocks[b + 1].page() == block.page();
            if (textAfter || m_blocksOfPage[block.page()].size() == 1)
                headings.append(b);
        }
        const QString title = titleOnFirstPages(
            headings.isEmpty() ? TitlePages : m_blocks[headings.first()].page() + 1);
        while (!headings.isEmpty()
               && collapsedLabel(textOf(m_blocks[headings.first()]))
                          .compare(title, Qt::CaseInsensitive)
                      == 0) {
            headings.removeFirst();
        }
        for (const qsizetype b : headings) {
            m_blocks[b].id = u"h%1"_s.arg(b);
            book.entries.append({collapsedLabel(textOf(m_blocks[b])), m_blocks[b].id});
        }
    }

    bool isTitlePage(int page) const { return page < m_titlePages.size() && m_titlePages[page]; }

    // The largest heading on the title pages among the first pages before the page limit.
    QString titleOnFirstPages(int limit) const
    {
        const Block *largest = nullptr;
        for (const Block &block : m_blocks) {
            if (block.page() >= std::min(limit, TitlePages))
                break;
            if (block.heading && isTitlePage(block.page())
                && (!largest || block.lines.first()->size > largest->lines.first()->size)) {
                largest = &block;
            }
        }
        return largest ? collapsedLabel(textOf(*largest)) : QString();
    }

    // The title set largest on a title page, and an author named "by" on one.
    void titleFromFirstPages(PageBook &book) const
    {
        int limit = TitlePages;
        for (const Block &block : m_blocks) {
            if (!block.id.isEmpty()) {
                limit = block.page() + 1;
                break;
            }
        }
        book.title = titleOnFirstPages(limit);
        for (int page = 0; page < std::min<int>(limit, m_pages.size()); ++page) {
            if (!isTitlePage(page))
                continue;
            for (qsizetype n = 0; n < m_textLines[page].size(); ++n) {
                const QString &text = textLine(page, n).text;
                if (book.author.isEmpty() && text.startsWith(u"by "_s, Qt::CaseInsensitive))
                    book.author = collapsedLabel(QStringView(text).sliced(3));
            }
        }
    }

    const QList<QList<PdfLine>> &m_pages;
    PdfMeasures m_measures;
    QList<QList<LineRole>> m_roles;
    QList<QList<qsizetype>> m_textLines; // each page's lines of text, in reading order
    QList<std::array<std::optional<Frame>, 3>> m_frames;
    double m_textTop = 0, m_textBottom = 0;
    bool m_justifiedBook = false;
    QSet<int> m_hasNotes; // the pages with footnotes, whose text ends above them
    QList<bool> m_titlePages;
    LineJoiner m_joiner;
    QHash<const PdfLine *, QStringList> m_targets; // the outline's labels starting at a line
    QList<PageBook::Entry> m_outlineIds;
    QList<Block> m_blocks;
    QList<QList<qsizetype>> m_blocksOfPage;
};

// Pages cut from sheets that held two each may come in the order of folding: they are put in
// the order of their page numbers, and outline entries follow their pages.
void putInPageNumberOrder(QList<QList<PdfLine>> &pages, QList<PdfOutlineEntry> &outline)
{
    const QList<QList<LineRole>> roles = rolesOfLines(pages, measuresOf(pages));
    QList<QList<bool>> furniture;
    for (const QList<LineRole> &page : roles) {
        furniture.append(QList<bool>());
        for (const LineRole role : page)
            furniture.last().append(role == LineRole::Furniture);
    }
    const QList<int> order = orderByPageNumbers(pages, furniture);
    if (order.isEmpty())
        return;
    QList<QList<PdfLine>> ordered;
    QList<int> placeOf(pages.size());
    for (const int page : order) {
        placeOf[page] = int(ordered.size());
        ordered.append(std::move(pages[page]));
        for (PdfLine &line : ordered.last())
            line.page = placeOf[page];
    }
    pages = std::move(ordered);
    for (PdfOutlineEntry &entry : outline) {
        if (entry.page >= 0 && entry.page < placeOf.size())
            entry.page = placeOf[entry.page];
    }
}

} // namespace

PageBook bookOfPdfLines(QList<QList<PdfLine>> pages, QList<PdfOutlineEntry> outline,
                        bool outOfOrder)
{
    if (outOfOrder)
        putInPageNumberOrder(pages, outline);
    return Layout(pages, outline).book();
}
