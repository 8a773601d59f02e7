#include "firstoccurrences.h"

#include <deque>

FirstOccurrences::FirstOccurrences(const QList<QString> &patterns)
    : m_classOf(0x10000, 0)
{
    for (const QString &pattern : patterns) {
        Q_ASSERT(!pattern.isEmpty());
        for (const QChar c : pattern) {
            if (m_classOf[c.unicode()] == 0)
                m_classOf[c.unicode()] = std::uint16_t(m_columns++);
        }
    }

    // The trie of the patterns; a missing transition is -1 until the links below fill it.
    auto addState = [this] {
        m_next.insert(m_next.end(), m_columns, -1);
        m_patternsEndingAt.push_back(-1);
        m_outputLink.push_back(-1);
        return std::int32_t(m_patternsEndingAt.size() - 1);
    };
    addState();
    for (qsizetype i = 0; i < patterns.size(); ++i) {
        std::int32_t state = 0;
        for (const QChar c : patterns[i]) {
            const std::size_t at = std::size_t(state) * m_columns + classOf(c.unicode());
            if (m_next[at] < 0) {
                const std::int32_t added = addState(); // grows m_next
                m_next[at] = added;
            }
            state = m_next[at];
        }
        m_endings.push_back({std::int32_t(i), m_patternsEndingAt[state]});
        m_patternsEndingAt[state] = std::int32_t(m_endings.size() - 1);
        m_lengths.append(patterns[i].size());
    }

    // Breadth first, every state learns where a mismatch continues (its failure state) and takes
    // over that state's transitions, so that the search needs one lookup per character.
    std::vector<std::int32_t> failure(m_patternsEndingAt.size(), 0);
    std::deque<std::int32_t> queue;
    for (int column = 0; column < m_columns; ++column) {
        std::int32_t &next = m_next[column];
        if (next < 0) {
            next = 0;
        } else {
            failure[next] = 0;
            queue.push_back(next);
        }
    }
    while (!queue.empty()) {
        const std::int32_t state = queue.front();
        queue.pop_front();
        const std::int32_t fail = failure[state];
        m_outputLink[state] = m_patternsEndingAt[fail] >= 0 ? fail : m_outputLink[fail];
        for (int column = 0; column < m_columns; ++column) {
            std::int32_t &next = m_next[state * m_columns + column];
            const std::int32_t fallback = m_next[fail * m_columns + column];
            if (next < 0) {
                next = fallback;
            } else {
                failure[next] = fallback;
                queue.push_back(next);
            }
        }
    }
}

QList<qsizetype> FirstOccurrences::in(QStringView text) const
{
    QList<qsizetype> first(m_lengths.size(), -1);
    qsizetype missing = first.size();
    std::int32_t state = 0;
    const qsizetype size = text.size();
    for (qsizetype end = 0; end < size && missing > 0; ++end) {
        state = m_next[state * m_columns + classOf(text[end].unicode())];
        // Every pattern that ends here: those of this state and of its shorter suffixes.
        for (std::int32_t s = m_patternsEndingAt[state] >= 0 ? state : m_outputLink[state]; s >= 0;
             s = m_outputLink[s]) {
            for (std::int32_t e = m_patternsEndingAt[s]; e >= 0; e = m_endings[e].next) {
                qsizetype &position = first[m_endings[e].pattern];
                if (position < 0) {
                    position = end + 1 - m_lengths[m_endings[e].pattern];
                    --missing;
                }
            }
        }
    }
    return first;
}
