// Decides which numbered candidates are headings by their neighbours: numbers in a run of their
// kind, and not the numbers of sections or stanzas inside a chapter.

#include "detectorpage.h"

#include <QHash>
#include <QSet>

namespace HeadingDetection {

// A number alone or before a title is a heading only in a run of such numbers: its neighbour
// of the same kind is one or two away (a heading may be missing), or it stands between two
// that are (its own number misprinted).
void keepNumberRuns(std::vector<Candidate> &candidates, std::vector<bool> &kept)
{
    QHash<QString, std::vector<std::size_t>> families;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        const Form form = candidates[i].read.form;
        if (kept[i]
            && (form == Form::Bare || form == Form::NumberedTitle || candidates[i].read.coined))
            families[candidates[i].read.word].push_back(i);
    }
    for (const std::vector<std::size_t> &members : std::as_const(families)) {
        for (std::size_t m = 0; m < members.size(); ++m) {
            const int number = candidates[members[m]].read.number;
            const int before = m > 0 ? candidates[members[m - 1]].read.number : -10;
            const int after = m + 1 < members.size() ? candidates[members[m + 1]].read.number : -10;
            const bool follows = number - before == 1 || number - before == 2;
            const bool leads = after - number == 1 || after - number == 2;
            const bool misprint = after - before == 2;
            kept[members[m]] = follows || leads || misprint;
        }
    }
}

// Numbers alone that start again from 1 under chapter-level headings of a word ("CANTO I" and
// its stanzas "I.", "II.") number the sections or stanzas inside a chapter, not chapters.
void dropSectionNumbers(const std::vector<Candidate> &candidates, std::vector<bool> &kept)
{
    auto numberOnly = [](const HeadingLine &read) {
        return read.form == Form::Bare || read.form == Form::NumberedTitle;
    };
    QSet<QString> sectionFamilies;
    std::size_t above = candidates.size();
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (!kept[i])
            continue;
        const HeadingLine &read = candidates[i].read;
        if (above < candidates.size() && numberOnly(read) && read.number == 1) {
            const HeadingLine &heading = candidates[above].read;
            if (heading.form == Form::Numbered && heading.level == HeadingLevel::Chapter)
                sectionFamilies.insert(read.word);
        }
        above = i;
    }
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (numberOnly(candidates[i].read) && sectionFamilies.contains(candidates[i].read.word))
            kept[i] = false;
    }
}

} // namespace HeadingDetection
