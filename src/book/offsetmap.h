#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// How a change of the book's text moved its offsets: the stretches of the old text that were
// replaced, in text order, each with the length of what took its place. Everything between them
// was kept and only shifted. A change that replaces one unit by one unit moves no offset and
// need not be told; a clean-up pass or a replacement reports every stretch it changed, so that
// the chapter rows can follow their headings.
class OffsetMap
{
public:
    struct Span
    {
        qsizetype at = 0;       // in the old text
        qsizetype removed = 0;  // old units replaced
        qsizetype inserted = 0; // new units in their place

        friend bool operator==(const Span &, const Span &) = default;
    };

    // Records that the old text's [at, at + removed) became inserted units. Spans are recorded
    // in text order and never overlap; one that touches the span before joins it, unless one of
    // the two removes its stretch outright and the other does not.
    void replace(qsizetype at, qsizetype removed, qsizetype inserted);
    // The same for the replaced text itself: what both sides begin and end with stays, so that
    // a heading's first character is kept where only its neighbours changed.
    void replace(qsizetype at, QStringView removed, QStringView inserted);

    bool isIdentity() const { return m_spans.empty(); }
    const std::vector<Span> &spans() const { return m_spans; }

    // Where an old position lies in the new text. A position inside a replaced stretch lies at
    // the same distance into its replacement, at most on its last unit.
    qsizetype map(qsizetype oldPosition) const;

    // The first old position in [from, to) whose unit was kept or replaced by something, not
    // removed outright; -1 when all of them were removed.
    qsizetype firstSurvivor(qsizetype from, qsizetype to) const;

    // The map of one change followed by another: first's new text is then's old text.
    static OffsetMap compose(const OffsetMap &first, const OffsetMap &then);

    friend bool operator==(const OffsetMap &, const OffsetMap &) = default;

private:
    // As replace; a span that continues the one before joins it in any case.
    void add(qsizetype at, qsizetype removed, qsizetype inserted, bool continues);
    // The last span that starts at or before the position, or nullptr.
    const Span *spanAtOrBefore(qsizetype position, qsizetype *shiftBefore) const;

    std::vector<Span> m_spans;
    std::vector<qsizetype> m_shiftAfter; // sum of inserted - removed up to and including span i
};
