// trv_file.cpp - reader of the older "CROSSWORD" puzzle text format: size, symmetry, grid
// rows and theme words, read straight into the grid and the theme-word store.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "trv_grid.h"
#include "trv_wrds.h"

namespace {

// A line is seen in pieces of at most this many characters (its line break included).
constexpr int MaxLinePiece = 4701;

struct Line {
    char text[MaxLinePiece + 1];
    int length = 0;
};

// Reads the file in pieces of a line; CR LF counts as one line break, so files with either
// line end read alike.
class LineReader {
  public:
    explicit LineReader(FILE *file) : m_file(file) {}

    bool next(Line &line) {
        line.length = 0;
        while (line.length < MaxLinePiece) {
            int ch = std::getc(m_file);
            if (ch == EOF) break;
            if (ch == '\r') {
                int after = std::getc(m_file);
                if (after == '\n')
                    ch = '\n';
                else if (after != EOF)
                    std::ungetc(after, m_file);
            }
            line.text[line.length++] = static_cast<char>(ch);
            if (ch == '\n') break;
        }
        line.text[line.length] = '\0';
        return line.length > 0;
    }

  private:
    FILE *m_file;
};

int UpperAscii(unsigned char ch) { return (ch >= 'a' && ch <= 'z') ? ch - 32 : ch; }

// The line begins with the keyword, compared without regard to case over the keyword's length.
bool MatchAt(const Line &line, int at, const char *keyword) {
    const int n = static_cast<int>(std::strlen(keyword));
    if (at + n > line.length) return false;
    for (int k = 0; k < n; ++k)
        if (UpperAscii(static_cast<unsigned char>(line.text[at + k])) !=
            UpperAscii(static_cast<unsigned char>(keyword[k])))
            return false;
    return true;
}

bool StartsWith(const Line &line, const char *keyword) { return MatchAt(line, 0, keyword); }

bool IsDigit(unsigned char ch) { return ch >= '0' && ch <= '9'; }

// Letters of Windows-1252: ASCII letters and the accented letters of the upper half.
bool IsLetter(unsigned char ch) {
    if ((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z')) return true;
    if (ch >= 0xC0) return ch != 0xD7 && ch != 0xF7;
    return ch == 0x8A || ch == 0x8C || ch == 0x8E || ch == 0x9A || ch == 0x9C || ch == 0x9E || ch == 0x9F;
}

// Reads a decimal integer as "%d" does; false when there are no digits.
bool ReadInt(const char *&p, int &value) {
    char *end = nullptr;
    long v = std::strtol(p, &end, 10);
    if (end == p) return false;
    if (v > 2147483647L) v = 2147483647L;
    if (v < -2147483647L - 1) v = -2147483647L - 1;
    value = static_cast<int>(v);
    p = end;
    return true;
}

// The size "(%d*%d)" in the second group in parentheses of the first line.
bool ReadSize(const Line &line, long &columns, long &rows) {
    const char *first = static_cast<const char *>(std::memchr(line.text, '(', line.length));
    if (!first) return false;
    const char *second =
        static_cast<const char *>(std::memchr(first + 1, '(', line.length - (first + 1 - line.text)));
    if (!second) return false;
    const char *p = second + 1;
    char *end = nullptr;
    columns = std::strtol(p, &end, 10);
    if (end == p || *end != '*') return false;
    p = end + 1;
    rows = std::strtol(p, &end, 10);
    return end != p;
}

int SymmetryMode(const Line &line) {
    static const struct {
        const char *name;
        int mode;
    } names[] = {{" 2-Way.", 1},       {" 4-Way.", 5},  {" None.", 0},     {" Standard Diagonal.", 1},
                 {" Horz/Vert.", 5},   {" Spiral.", 2}, {" Vertical.", 3}, {" Horizontal.", 4},
                 {" Kaleidoscope.", 6}};
    int mode = 1;
    for (const auto &n : names)
        if (MatchAt(line, 10, n.name)) mode = n.mode;
    return mode;
}

// The cell code for the character of a grid row; control characters (the line break
// among them) are not letters and leave the cell open.
char CellCode(unsigned char ch) {
    if (ch == ' ') return Block;
    if (ch < 32 && ch != Block && ch != Empty && ch != Removed) return Empty;
    return static_cast<char>(ch);
}

// A theme-word line: "%d %d%c " (priority, clue number, direction), the answer and "| clue".
void ReadThemeWordLine(const Line &line) {
    const unsigned char *t = reinterpret_cast<const unsigned char *>(line.text);
    const int n = line.length;
    int start = -1, end = -1;
    for (int i = 0; i < n; ++i) {
        if (!IsLetter(t[i]) || (i > 0 && IsLetter(t[i - 1]))) continue;
        int j = i;
        while (j < n && IsLetter(t[j])) ++j;
        if (i == 0 || !IsDigit(t[i - 1])) {
            start = i;
            end = j;
            break;
        }
        i = j - 1;
    }
    if (start < 0) return;

    static char answer[MaxLinePiece + 1];
    std::memcpy(answer, line.text + start, end - start);
    answer[end - start] = '\0';

    static char clue[MaxLinePiece + 1];
    clue[0] = '\0';
    if (const char *bar = static_cast<const char *>(std::memchr(line.text, '|', n))) {
        const char *p = bar + 1;
        const char *stop = line.text + n;
        while (p < stop && *p == ' ') ++p;
        int length = static_cast<int>(stop - p);
        if (length > 0 && p[length - 1] == '\n') --length;
        std::memcpy(clue, p, length);
        clue[length] = '\0';
    }

    int priority = 0, number = 0;
    char direction = 0;
    const char *p = line.text;
    if (ReadInt(p, priority)) {
        while (*p == ' ' || *p == '\t') ++p;
        if (ReadInt(p, number)) direction = *p;
    }

    const int before = ThmWds.NumThemeWords();
    ThmWds.NewWord(answer, clue, priority);
    if (ThmWds.NumThemeWords() <= before) return;
    int slotx = -1;
    if (direction == 'A') slotx = GetSlotx(number);
    if (direction == 'D') slotx = GetSlotx(-number);
    if (slotx >= 0) ThmWds.SlotxLocation(before, slotx);
}

// The theme-word lines up to "END THEME WORDS" (or the end of the file).
void ReadThemeWords(LineReader &reader, Line &line) {
    while (reader.next(line) && !StartsWith(line, "END THEME WORDS")) ReadThemeWordLine(line);
}

} // namespace

int GRID::ReadPuzzle(const char *Filename) {
    FILE *file = Filename ? std::fopen(Filename, "rb") : nullptr;
    if (!file) {
        static char text[300];
        std::snprintf(text, sizeof text, "Cannot open file '%s'.", Filename ? Filename : "");
        ErrorBox(text);
        return 99;
    }
    LineReader reader(file);
    static Line line;

    if (!reader.next(line) || !StartsWith(line, "CROSSWORD")) {
        std::fclose(file);
        return 1;
    }
    long columns = 0, rows = 0;
    if (!ReadSize(line, columns, rows)) {
        std::fclose(file);
        return 2;
    }
    if (columns < 1 || columns > MaxCols || rows < 1 || rows > MaxRows ||
        !CanDo(static_cast<int>(columns), static_cast<int>(rows))) {
        std::fclose(file);
        return 3;
    }

    ClearGrid();
    ResizeGrid(static_cast<int>(columns), static_cast<int>(rows));

    int mode = 1; // a file without a symmetry line reads as the standard diagonal
    while (reader.next(line) && !StartsWith(line, "END.")) {
        if (StartsWith(line, "SYMMETRY: ")) {
            mode = SymmetryMode(line);
        } else if (StartsWith(line, "GRID:")) {
            bool ended = false;
            for (int row = 1; row <= Height; ++row) {
                if (!ended) ended = !reader.next(line) || (line.text[0] != '\t' && line.text[0] != ' ');
                for (int column = 1; column <= Width; ++column) {
                    const int at = 2 * column - 1; // character of column c at position 2c
                    char code = Empty;
                    if (!ended && at < line.length)
                        code = CellCode(static_cast<unsigned char>(line.text[at]));
                    SetCellOnly(column, row, code);
                }
            }
            RenumberGrid();
            // The line that ended the block early may still open the theme words; it is
            // not read as a symmetry, a grid or the end.
            if (ended && StartsWith(line, "THEME WORDS:")) ReadThemeWords(reader, line);
        } else if (StartsWith(line, "THEME WORDS:")) {
            ReadThemeWords(reader, line);
        }
    }
    SetSymMode(mode);

    if (std::fclose(file) != 0) return 98;
    SavedState = 1;
    return 0;
}
