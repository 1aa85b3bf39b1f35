#pragma once

#include <string>

#include "fields/number_text.h"
#include "fields/object_list.h"
#include "tables/word_container.h"

namespace velmor::components {

// Reads a whole text file into lines of words and hands them out in file order as numbers, integers or
// whole lines. A word that does not convert, or a line without words where a word is expected, raises
// EInOutError naming the 1-based line and item ("Error on Line 5 Item 3", a carriage return, then what was
// expected); a read past the last line raises EInOutError "This file either invalid or incomplete.".
class TWordReader {
  public:
    // Reads the whole file and closes it again. Lines may end in LF, CR LF or CR; a final line end adds no
    // empty line, and an empty file is one line without words. A file that cannot be read raises
    // EInOutError with the system's message for the failure ("File not found").
    explicit TWordReader(const std::string& FileName);
    TWordReader(const TWordReader&) = delete;
    TWordReader& operator=(const TWordReader&) = delete;

    // Splits one line into words at blanks and tabs and appends it.
    void AddLine(const std::string& S);

    // True once the cursor has moved past the last line.
    bool Eof() const;
    // The next word; the cursor moves past a used-up line first. Past the last line this raises
    // EInOutError "This file either invalid or incomplete."; where the next line holds no word it raises
    // the line-and-item message for that line, item 1, ending in `Expected` (the text of the typed read).
    void ReadWord(std::string& S, const char* Expected);
    // The next word as a number, always with "." as decimal point.
    Extended ReadFloat();
    // The next word as a number that must be whole and within the 32-bit signed range (12, 12.0, 1.2E1).
    int ReadInteger();
    // The whole raw text of the line at the cursor, however many of its words were read; the cursor moves
    // to the start of the next line. Past the last line this raises "This file either invalid or incomplete.".
    void ReadLine(std::string& S);

    int CurrentLine() const { return currentLine_; }
    int CurrentItem() const { return currentItem_; }
    const TObjectList<TWordContainer>& Lines() const { return lines_; }

  private:
    // "Error on Line " + line + " Item " + item, a carriage return and the expected text; the line is the
    // 1-based number of the cursor's line.
    [[noreturn]] void raiseItemError(int item, const char* expected) const;

    TObjectList<TWordContainer> lines_;
    int currentLine_ = 0;  // 0-based line of the cursor
    int currentItem_ = 0;  // 0-based word of that line handed out next
};

}  // namespace velmor::components
