#!/usr/bin/env python3
"""Writes a copy of every corpus book that has a chapter table, laid out as another edition of
it might be, with its table moved to the lines its headings land on, so that the heading
detector can be scored on the shapes real books come in beyond the ones it was measured on:

  collapse   every run of blank lines made one (paragraphs and titles spaced alike)
  unwrap     each paragraph on one line, as text taken from an e-book or a web page is
  tight      no blank line between a heading and the text under it
  indent     short lines standing alone centred, as headings are in many editions
  noblank    no blank lines at all, each paragraph's first line indented instead
  nohead     without the Gutenberg header and licence

  scripts/reshape-corpus.py SHAPE OUTDIR [--corpus DIR]
  scripts/score-headings.sh --corpus OUTDIR
"""
import argparse
import glob
import os
import re
import shutil

CP1252_UNDEFINED = {0x81, 0x8D, 0x8F, 0x90, 0x9D}


def decoded(path):
    b = open(path, 'rb').read()
    if b.startswith(b'\xef\xbb\xbf'):
        return b[3:].decode('utf-8', errors='replace')
    try:
        return b.decode('utf-8')
    except UnicodeDecodeError:
        return ''.join(chr(c) if c in CP1252_UNDEFINED else bytes([c]).decode('cp1252') for c in b)


def reshape(shape, lines, headings):
    """The book's lines in the new shape, and where each old line (from 1) went (from 1)."""
    out, moved = [], {}
    if shape == 'collapse':
        for i, line in enumerate(lines):
            if line.strip() or not out or out[-1].strip():
                out.append(line if line.strip() else '')
            moved[i + 1] = len(out)
    elif shape == 'unwrap':
        paragraph = None
        for i, line in enumerate(lines):
            if not line.strip():
                out.append('')
                paragraph = None
            elif paragraph is None:
                out.append(line.strip())
                paragraph = len(out)
            else:
                out[paragraph - 1] += ' ' + line.strip()
            moved[i + 1] = paragraph or len(out)
    elif shape == 'tight':
        under = False
        for i, line in enumerate(lines):
            if under and not line.strip():
                moved[i + 1] = len(out)
                continue
            under = i + 1 in headings
            out.append(line)
            moved[i + 1] = len(out)
    elif shape == 'indent':
        for i, line in enumerate(lines):
            text = line.strip()
            alone = (i == 0 or not lines[i - 1].strip()) and (i + 1 == len(lines) or not lines[i + 1].strip())
            out.append(' ' * ((72 - len(text)) // 2) + text if text and len(text) < 50 and alone else line)
            moved[i + 1] = len(out)
    elif shape == 'noblank':
        opened = False
        for i, line in enumerate(lines):
            if not line.strip():
                opened = False
                moved[i + 1] = len(out) + 1
                continue
            out.append(line.strip() if opened else '    ' + line.strip())
            opened = True
            moved[i + 1] = len(out)
    elif shape == 'nohead':
        text = '\n'.join(lines)
        start = re.search(r'\*\*\* ?START OF (THE|THIS) PROJECT GUTENBERG.*\n', text)
        end = re.search(r'\*\*\* ?END OF (THE|THIS) PROJECT GUTENBERG', text)
        first = text[:start.end()].count('\n') if start else 0
        last = text[:end.start()].count('\n') if end else len(lines)
        for i, line in enumerate(lines):
            if first <= i < last:
                out.append(line)
            moved[i + 1] = max(1, len(out))
    return out, moved


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('shape', choices=['collapse', 'unwrap', 'tight', 'indent', 'noblank', 'nohead'])
    parser.add_argument('outdir')
    parser.add_argument('--corpus', default=os.path.join(here, '..', '..', 'shared', 'corpus'))
    args = parser.parse_args()
    for folder in ['', 'shapes/', 'kinds/']:
        for truth in sorted(glob.glob(os.path.join(args.corpus, folder + 'truth', '*.tsv'))):
            name = os.path.basename(truth)[:-4]
            rows = [r.split('\t') for r in open(truth, encoding='utf-8').read().split('\n')[1:] if r]
            lines = [l.rstrip('\r') for l in decoded(os.path.join(args.corpus, folder + name + '.txt')).split('\n')]
            out, moved = reshape(args.shape, lines, {int(r[0]) for r in rows})
            os.makedirs(os.path.join(args.outdir, folder + 'truth'), exist_ok=True)
            with open(os.path.join(args.outdir, folder + name + '.txt'), 'w', encoding='utf-8') as f:
                f.write('\n'.join(out))
            seen = set()
            with open(os.path.join(args.outdir, folder + 'truth', name + '.tsv'), 'w', encoding='utf-8') as f:
                f.write('line\tlevel\trequired\ttext\n')
                for row in rows:
                    line = moved[int(row[0])]
                    if line not in seen:
                        seen.add(line)
                        f.write('\t'.join([str(line)] + row[1:]) + '\n')
    shutil.copy(os.path.join(args.corpus, 'truth', 'score.py'), os.path.join(args.outdir, 'truth'))


if __name__ == '__main__':
    main()
