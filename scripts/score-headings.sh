#!/usr/bin/env bash
# Scores the heading detector on every corpus book that has a hand-checked chapter table:
# each book's F1, then each folder's and all books' mean and lowest.
#
# The habit it serves: before a rule of the detector lands, score the books without the one
# that prompted it (--without NAME, as often as needed) and keep the rule only if none of the
# others drops. Compare two runs with diff.
#
#   scripts/score-headings.sh [--cli PATH] [--corpus DIR] [--without NAME]...
set -euo pipefail

here="$(cd "$(dirname "$0")/.." && pwd)"
cli="$here/build/leafwright-cli"
corpus="$here/../shared/corpus"
without=()
while [ $# -gt 0 ]; do
    case "$1" in
        --cli) cli="$2"; shift 2 ;;
        --corpus) corpus="$2"; shift 2 ;;
        --without) without+=("$2"); shift 2 ;;
        *) echo "usage: $0 [--cli PATH] [--corpus DIR] [--without NAME]..." >&2; exit 2 ;;
    esac
done
[ -x "$cli" ] || { echo "$0: no batch tool at $cli; build first" >&2; exit 2; }
score="$corpus/truth/score.py"
[ -f "$score" ] || { echo "$0: no score.py in $corpus/truth" >&2; exit 2; }

left_out() {
    local name
    for name in "${without[@]+"${without[@]}"}"; do
        [ "$name" = "$1" ] && return 0
    done
    return 1
}

all=()
for folder in "" shapes/ kinds/; do
    scores=()
    for truth in "$corpus/${folder}truth/"*.tsv; do
        name="$(basename "$truth" .tsv)"
        book="$corpus/$folder$name.txt"
        [ -f "$book" ] || continue
        left_out "$name" && continue
        f1="$("$score" "$truth" <("$cli" chapters "$book" | cut -f1) --quiet 2>/dev/null \
            | sed -n 's/.*F1=\([0-9.]*\).*/\1/p')"
        [ -n "$f1" ] || f1=0
        printf '  %-10s %-20s F1 %s\n' "${folder:-corpus/}" "$name" "$f1"
        scores+=("$f1")
    done
    printf '%-10s %2d books: %s\n' "${folder:-corpus/}" "${#scores[@]}" \
        "$(printf '%s\n' "${scores[@]}" | awk '{s+=$1; if (NR==1||$1<m) m=$1}
            END {printf "mean F1 %.4f, lowest %.4f", s/NR, m}')"
    all+=("${scores[@]}")
done
printf '%-10s %2d books: %s\n' all "${#all[@]}" \
    "$(printf '%s\n' "${all[@]}" | awk '{s+=$1; if (NR==1||$1<m) m=$1}
        END {printf "mean F1 %.4f, lowest %.4f", s/NR, m}')"
