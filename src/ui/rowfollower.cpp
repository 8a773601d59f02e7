#include "rowfollower.h"

#include "frmchapters.h"
#include "windows.h"

#include "book/offsettext.h"

#include <QTextBlock>
#include <QTextDocument>

namespace {

// A deletion that gathered rows is remembered until this many later ones did.
constexpr std::size_t MostGathered = 64;

QString movedOffset(const ChapterEntry &row, qsizetype offset)
{
    return row.offset.startsWith(u' ') ? offsetWithSignPosition(qint32(offset))
                                       : QString::number(offset);
}

} // namespace

RowFollower::RowFollower(QTextDocument *document)
    : QObject(document)
    , m_document(document)
    , m_blockCount(document->blockCount())
{
    connect(document, &QTextDocument::contentsChange, this, &RowFollower::contentsChange);
}

RowFollower::Pause::Pause(RowFollower &follower)
    : m_follower(follower)
{
    ++m_follower.m_paused;
}

RowFollower::Pause::~Pause()
{
    if (--m_follower.m_paused == 0)
        m_follower.startOver();
}

void RowFollower::startOver()
{
    m_blockCount = m_document->blockCount();
    m_gathered.clear();
}

void RowFollower::contentsChange(int position, int charsRemoved, int charsAdded)
{
    if (m_paused > 0)
        return;
    if (m_skipNext) {
        m_skipNext = false;
        startOver();
        return;
    }

    // The document keeps a line break as one block separator; the book counts it as CR LF.
    const int blocks = m_document->blockCount();
    const int firstBlock = m_document->findBlock(position).blockNumber();
    const QTextBlock last = m_document->findBlock(position + charsAdded);
    const int addedBreaks = (last.isValid() ? last.blockNumber() : blocks - 1) - firstBlock;
    const int removedBreaks = m_blockCount - blocks + addedBreaks;
    m_blockCount = blocks;
    const qsizetype at = position + firstBlock;
    const qsizetype removed = charsRemoved + removedBreaks;
    const qsizetype inserted = charsAdded + addedBreaks;
    // Only line breaks put in: blank lines above a heading push it down.
    const bool onlyBreaks = removed == 0 && charsAdded == addedBreaks;

    FrmChapters *chapters = frmChapters();
    const ChapterRows rows = chapters->chapterRows();
    if (rows.isEmpty() || (removed == 0 && inserted == 0))
        return;

    // The inverse of the latest deletion that gathered rows puts them back where they stood.
    const Gathered *restoring = nullptr;
    if (!m_gathered.empty()) {
        const Gathered &latest = m_gathered.back();
        if (latest.at == at && latest.removed == inserted && latest.inserted == removed)
            restoring = &latest;
    }

    QStringList offsets;
    offsets.reserve(rows.size());
    Gathered gathered{at, removed, inserted, {}, {}};
    std::size_t nextRestored = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const ChapterEntry &row = rows[i];
        const qint32 offset = chapterOffset(row);
        qsizetype moved = offset;
        if (restoring && nextRestored < restoring->rows.size()
            && restoring->rows[nextRestored].first == i) {
            if (restoring->rows[nextRestored].second == row)
                moved = at + restoring->into[nextRestored];
            ++nextRestored;
        } else if (offset < at) {
        } else if (offset == at && removed == 0 && !onlyBreaks && !restoring) {
            // Text typed at the start of a heading line becomes part of it.
        } else if (offset >= at + removed) {
            moved = offset + inserted - removed;
        } else {
            moved = at;
            gathered.rows.emplace_back(i, ChapterEntry{row.title, movedOffset(row, at)});
            gathered.into.push_back(offset - at);
        }
        offsets.append(moved == offset ? row.offset : movedOffset(row, moved));
    }
    if (restoring)
        m_gathered.pop_back();
    if (!gathered.rows.empty()) {
        if (m_gathered.size() == MostGathered)
            m_gathered.erase(m_gathered.begin());
        m_gathered.push_back(std::move(gathered));
    }
    chapters->setChapterOffsets(offsets);
}
