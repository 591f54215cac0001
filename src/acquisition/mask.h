// Masks: cutting a teletext page into quote lines with the page's mask file.
//
// Design notes. A mask file's first line holds the directives, its line k + 1 is
// the mask for page line k. Applying a mask to a page runs in this order:
//   1. copy="n/s/d" moves n characters inside the page, the page seen as rows of
//      40 characters (position p: row p div 40, column p mod 40, both from 0 here;
//      a run past column 40 goes on in the next row). Read from the page as it was.
//   2. Per line: the national characters "{", "}", "|", "~" become ä, ü, ö, ß.
//   3. dec="m" and fill="c" rewrite characters (see MaskFile).
//   4. The line's mask picks characters column by column, up to kMaskColumns.
//   5. Trailing blanks go; lines of nothing but blanks and separators are dropped.
// Invariants: (1) no input makes a line longer than kMaskColumns plus the inserted
// separators; (2) a column the page line does not reach yields nothing, except that
// "$" there drops the line (a blank is required and none is there); (3) columns
// beyond a mask line's end are taken as they are, as under any ordinary mask character.
#pragma once

#include "base/status.h"

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>

namespace q {

// Page lines and mask lines are read up to this many characters.
inline constexpr int kPageLineLength = 1024;
// The mask works on this many columns of a line.
inline constexpr int kMaskColumns = 1026;

struct MaskFile {
    struct Copy {
        int count = 0;
        int from = 0;
        int to = 0;
    };
    std::optional<Copy> copy;
    // 1: "," before a digit becomes "."; 2: "." before a digit becomes ","; 3: every
    // "," becomes "."; 4: every "." becomes ","; 0: none.
    int dec = 0;
    // The fill character: it becomes a blank where a second one or a blank follows.
    std::optional<QChar> fill;
    QStringList masks;  // masks[k] is the mask of page line k (from 0)
};

// The directives and masks of a mask file's lines (first line: directives). A
// directive whose value does not read is left out.
MaskFile parseMaskFile(const QStringList& lines);
// Reads a mask file (Windows-1252 or UTF-8). Fails NotFound or Io naming the file.
Result<MaskFile> readMaskFile(const QString& path);

// The masked lines of a page. Without a mask every character is taken (only the
// national characters are replaced). `separator` is the field separator that "|"
// inserts.
QStringList applyMask(const QStringList& pageLines, const MaskFile* mask, QChar separator);

// The page text as lines, each cut at kPageLineLength characters.
QStringList pageLines(const QString& pageText);

}  // namespace q
