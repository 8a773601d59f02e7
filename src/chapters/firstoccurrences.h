#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

// Finds where each of many patterns first occurs in a text, in one pass over the text: the
// patterns are compiled into one automaton (Aho-Corasick) that follows every pattern at once.
// The result equals one indexOf() per pattern from the start of the text.
class FirstOccurrences
{
public:
    // Patterns must not be empty; they may repeat.
    explicit FirstOccurrences(const QList<QString> &patterns);

    // For each pattern, in the order given, the position of its first occurrence, or -1.
    QList<qsizetype> in(QStringView text) const;

private:
    int classOf(char16_t unit) const { return m_classOf[unit]; }

    std::vector<std::uint16_t> m_classOf; // UTF-16 unit -> column; 0 for units no pattern holds
    int m_columns = 1;
    std::vector<std::int32_t> m_next;             // state * m_columns + column -> next state
    std::vector<std::int32_t> m_patternsEndingAt; // first entry in m_endings, or -1
    std::vector<std::int32_t> m_outputLink;       // nearest shorter state with endings, or -1
    struct Ending
    {
        std::int32_t pattern;
        std::int32_t next; // the next ending of the same state, or -1
    };
    std::vector<Ending> m_endings;
    QList<qsizetype> m_lengths;
};
