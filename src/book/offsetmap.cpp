#include "offsetmap.h"

#include <algorithm>
#include <limits>

void OffsetMap::replace(qsizetype at, qsizetype removed, qsizetype inserted)
{
    add(at, removed, inserted, false);
}

void OffsetMap::add(qsizetype at, qsizetype removed, qsizetype inserted, bool continues)
{
    if (removed == 0 && inserted == 0)
        return;
    const qsizetype shiftBefore = m_shiftAfter.empty() ? 0 : m_shiftAfter.back();
    // A stretch removed outright stays apart from its neighbours: what stood there is gone, not
    // replaced.
    const bool removes = inserted == 0;
    if (!m_spans.empty() && m_spans.back().at + m_spans.back().removed == at
        && (continues || (m_spans.back().inserted == 0) == removes)) {
        m_spans.back().removed += removed;
        m_spans.back().inserted += inserted;
        m_shiftAfter.back() += inserted - removed;
        return;
    }
    m_spans.push_back({at, removed, inserted});
    m_shiftAfter.push_back(shiftBefore + inserted - removed);
}

void OffsetMap::replace(qsizetype at, QStringView removed, QStringView inserted)
{
    qsizetype same = 0;
    while (same < removed.size() && same < inserted.size() && removed[same] == inserted[same])
        ++same;
    removed = removed.sliced(same);
    inserted = inserted.sliced(same);
    qsizetype sameEnd = 0;
    while (sameEnd < removed.size() && sameEnd < inserted.size()
           && removed[removed.size() - 1 - sameEnd] == inserted[inserted.size() - 1 - sameEnd]) {
        ++sameEnd;
    }
    replace(at + same, removed.size() - sameEnd, inserted.size() - sameEnd);
}

const OffsetMap::Span *OffsetMap::spanAtOrBefore(qsizetype position, qsizetype *shiftBefore) const
{
    const auto after = std::upper_bound(m_spans.begin(), m_spans.end(), position,
                                        [](qsizetype p, const Span &span) { return p < span.at; });
    if (after == m_spans.begin()) {
        *shiftBefore = 0;
        return nullptr;
    }
    const auto index = std::size_t(after - m_spans.begin()) - 1;
    *shiftBefore = index > 0 ? m_shiftAfter[index - 1] : 0;
    return &m_spans[index];
}

qsizetype OffsetMap::map(qsizetype oldPosition) const
{
    qsizetype shiftBefore = 0;
    const Span *span = spanAtOrBefore(oldPosition, &shiftBefore);
    if (!span)
        return oldPosition;
    const qsizetype into = oldPosition - span->at;
    if (into >= span->removed)
        return oldPosition + shiftBefore + span->inserted - span->removed;
    return span->at + shiftBefore + std::min(into, std::max<qsizetype>(span->inserted - 1, 0));
}

qsizetype OffsetMap::firstSurvivor(qsizetype from, qsizetype to) const
{
    qsizetype shiftBefore = 0;
    const Span *span = spanAtOrBefore(from, &shiftBefore);
    // Removed stretches that touch are joined, so the unit after one was not removed outright.
    if (span && span->inserted == 0 && from < span->at + span->removed)
        from = span->at + span->removed;
    return from < to ? from : -1;
}

namespace {

// One step of a change read from the start of the old text: keep units, or replace units.
// The last step keeps everything that is left.
struct Step
{
    bool keep = true;
    qsizetype removed = 0;  // for a keep: the units kept
    qsizetype inserted = 0; // for a keep: the same
};

constexpr qsizetype Rest = std::numeric_limits<qsizetype>::max() / 4;

class Steps
{
public:
    explicit Steps(const std::vector<OffsetMap::Span> &spans)
        : m_spans(spans)
    {
        advance();
    }

    Step current;
    bool atRest() const { return current.keep && current.removed >= Rest / 2; }

    void advance()
    {
        if (m_next >= m_spans.size()) {
            current = {true, Rest, Rest};
            return;
        }
        const OffsetMap::Span &span = m_spans[m_next];
        if (m_keepDone || span.at == m_at) {
            current = {false, span.removed, span.inserted};
            m_at = span.at + span.removed;
            m_keepDone = false;
            ++m_next;
        } else {
            current = {true, span.at - m_at, span.at - m_at};
            m_keepDone = true;
        }
    }

private:
    const std::vector<OffsetMap::Span> &m_spans;
    std::size_t m_next = 0;
    qsizetype m_at = 0;
    bool m_keepDone = false;
};

} // namespace

OffsetMap OffsetMap::compose(const OffsetMap &first, const OffsetMap &then)
{
    // first's steps read the old text and write the middle one; then's steps read the middle
    // text. Walking both along the middle text gives each old stretch its final replacement.
    OffsetMap result;
    Steps a(first.m_spans);
    Steps b(then.m_spans);
    qsizetype at = 0; // in the old text
    // Whether part of the current replacing step of either map was written: its other parts
    // join it, even where they alone would remove their stretch outright.
    bool aStarted = false;
    bool bStarted = false;
    auto write = [&](qsizetype removed, qsizetype inserted, bool ofA, bool ofB) {
        result.add(at, removed, inserted, (ofA && aStarted) || (ofB && bStarted));
        aStarted = aStarted || ofA;
        bStarted = bStarted || ofB;
        at += removed;
    };
    while (!(a.atRest() && b.atRest())) {
        if (!b.current.keep && b.current.removed == 0) {
            write(0, b.current.inserted, false, true);
            b.advance();
            bStarted = false;
            continue;
        }
        if (!a.current.keep && a.current.inserted == 0) {
            write(a.current.removed, 0, true, false);
            a.advance();
            aStarted = false;
            continue;
        }
        // Both steps cover some of the middle text; take the part they share.
        const qsizetype length = std::min(a.current.inserted, b.current.removed);
        if (a.current.keep && b.current.keep) {
            at += length;
        } else if (a.current.keep) {
            write(length, b.current.inserted, false, true);
            b.current.inserted = 0;
        } else {
            write(a.current.removed, b.current.keep ? length : b.current.inserted, true,
                  !b.current.keep);
            a.current.removed = 0;
            if (!b.current.keep)
                b.current.inserted = 0;
        }
        a.current.inserted -= length;
        if (a.current.keep)
            a.current.removed -= length;
        b.current.removed -= length;
        if (b.current.keep)
            b.current.inserted -= length;
        if (a.current.inserted == 0) {
            a.advance();
            aStarted = false;
        }
        if (b.current.removed == 0) {
            b.advance();
            bStarted = false;
        }
    }
    return result;
}
