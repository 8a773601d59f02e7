#include "textcleaner.h"

#include "storablecharacters.h"

#include "search/textreplace.h"

#include <initializer_list>

using namespace Qt::StringLiterals;

namespace {

CleanPass replacing(QString find, QString replacement)
{
    return [find = std::move(find), replacement = std::move(replacement)](const QString &text) {
        return replaceEvery(text, find, replacement);
    };
}

// Box 2's last step: a double quote with any character but LF before it and a lower-case s after
// it becomes an apostrophe. Matches are three characters long and taken from the left without
// overlapping, as a global regular-expression replace of `.\"s` takes them.
std::optional<QString> apostropheBeforeS(const QString &text)
{
    const qsizetype n = text.size();
    qsizetype at = 0;
    auto matchAt = [&](qsizetype i) {
        return i + 2 < n && text[i] != u'\n' && text[i + 1] == u'"' && text[i + 2] == u's';
    };
    while (at + 2 < n && !matchAt(at))
        ++at;
    if (at + 2 >= n)
        return std::nullopt;

    QString result = text;
    QChar *out = result.data();
    while (at + 2 < n) {
        if (matchAt(at)) {
            out[at + 1] = u'\'';
            at += 3;
        } else {
            ++at;
        }
    }
    return result;
}

QString untilStable(const QString &text, std::initializer_list<CleanPass> passes)
{
    return ReplaceUntilStable(text, std::span(passes.begin(), passes.size()));
}

QString once(const QString &text, std::initializer_list<CleanPass> passes)
{
    return ReplaceOnce(text, std::span(passes.begin(), passes.size()));
}

const QString CRLF = u"\r\n"_s;
const QString Marker = u"<PAR>"_s;

QString cleanBox(int box, const QString &text)
{
    switch (box) {
    case 0: {
        const QString marked =
            untilStable(text, {replacing(CRLF + CRLF, Marker), replacing(CRLF + u' ', Marker)});
        const QString joined = untilStable(marked, {replacing(CRLF, u" "_s)});
        return untilStable(joined, {replacing(Marker, CRLF + CRLF)});
    }
    case 1: {
        const QString unindented = untilStable(text, {replacing(CRLF + u' ', CRLF + CRLF)});
        return untilStable(unindented, {replacing(CRLF + u'\t', CRLF)});
    }
    case 2: {
        const QString straight =
            once(text, {replacing(u"\u201C"_s, u"\""_s), replacing(u"\u201D"_s, u"\""_s),
                        replacing(u"`"_s, u"\""_s), replacing(u"'"_s, u"\""_s)});
        return untilStable(straight, {apostropheBeforeS});
    }
    case 3:
        return untilStable(text, {replacing(CRLF + CRLF, CRLF)});
    case 4:
        return once(text, {replacing(u"\t"_s, QString())});
    case 5:
        return once(text, {replacing(u"  "_s, u" "_s)});
    }
    Q_UNREACHABLE();
}

} // namespace

QString ReplaceOnce(const QString &text, std::span<const CleanPass> passes)
{
    QString current = text;
    for (const CleanPass &pass : passes) {
        if (std::optional<QString> replaced = pass(current))
            current = std::move(*replaced);
    }
    return current;
}

QString ReplaceUntilStable(const QString &text, std::span<const CleanPass> passes)
{
    QString current = text;
    for (;;) {
        bool replacedAny = false;
        QString next = current;
        for (const CleanPass &pass : passes) {
            if (std::optional<QString> replaced = pass(next)) {
                next = std::move(*replaced);
                replacedAny = true;
            }
        }
        // A round without a match changed nothing; one with matches is compared in full.
        if (!replacedAny || next == current)
            return current;
        current = std::move(next);
    }
}

namespace {

qsizetype countLineBreaks(QStringView text)
{
    return text.count(u'\n') + text.count(u'\r') - text.count(u"\r\n");
}

} // namespace

CleanOutcome Clean(const QString &text, const CleanerBoxes &boxes)
{
    CleanOutcome outcome;
    QString current = text;
    if (boxes[GutenbergFrameBox]) {
        outcome.frame = FindGutenbergFrame(current);
        if (outcome.frame.found()) {
            const QStringView whole(current);
            const qsizetype start = outcome.frame.bodyStart, end = outcome.frame.bodyEnd;
            outcome.headerLines = countLineBreaks(whole.first(start));
            // What follows the body starts with its last line break.
            const QStringView after = whole.sliced(end);
            outcome.licenceLines =
                countLineBreaks(after) - (after.endsWith(u'\n') || after.endsWith(u'\r') ? 1 : 0);
            current = current.sliced(start, end - start);
        }
    }
    for (int box = 0; box < 6; ++box) {
        if (boxes[box])
            current = cleanBox(box, current);
    }
    if (boxes[StorableCharactersBox]) {
        StorableText storable = MakeStorable(current);
        outcome.replacedCharacters = storable.replaced;
        current = std::move(storable.text);
    }
    outcome.text = std::move(current);
    return outcome;
}

QString CleanText(const QString &text, const CleanerBoxes &boxes)
{
    return Clean(text, boxes).text;
}

QString unstorableAdvice()
{
    return u"The Text Cleaner's \"%1\" would have given them their nearest storable form."_s.arg(
        QStringView(CleanerBoxCaptions[StorableCharactersBox]));
}
