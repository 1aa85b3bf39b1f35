#pragma once

#include <string>
#include <vector>

#include "fields/exceptions.h"
#include "fields/number_text.h"

namespace velmor::components {

// The stored-layout value stream.
//
// Every stored layout of the program (the column definitions of a table, "Col", and the project's table
// layout file around them) is a sequence of typed values: Integer, Boolean, String, Extended, and lists
// bracketed by a list-begin and a list-end marker. This is its text encoding, one value per line, so that
// a layout reads well and a change to it reads well in a diff:
//
//     Int 3                 Integer, decimal, 32-bit signed range
//     Bool True             Boolean, True or False
//     Str "Depth"           String in double quotes; \" \\ \t \n \r and \xHH (two hex digits) escape
//                           the quote, the backslash and control bytes; every other byte, bytes above 127
//                           included, stands for itself, so Latin-1 text passes through unchanged
//     Float 3.280839895     Extended in general format with 18 significant digits and "." as decimal
//                           point ("1", "2.5E-7", "INF", "-INF", "NAN"); 18 digits read back to a value
//                           that writes the same text again
//     List                  list begin
//       Str "Soil"          the values of the list, indented two blanks per level (the indent is for
//     End                   the reader's eye only and is ignored); End is the list end
//
// Keywords are case-sensitive and separated from their value by one or more blanks. Blank lines and lines
// whose first non-blank character is "#" are ignored, so a layout file may carry comments. Lines may end in
// LF, CR LF or CR, and the last line may lack its end. The writer writes LF, no comments and no blank lines.
//
// Example, a table of two columns (an integer column and a float column in the newer form):
//
//     Int 2
//     Int 1
//     List
//       Str "Nodal No."
//     End
//     Bool True
//     Bool False
//     Int 0
//     Int 0
//     Int 2147483647
//     Int 2
//     List
//       Str "Deflection"
//     End
//     Bool True
//     Bool False
//     Bool False
//     Str "FLOATCOLUMN2"
//     Str "L"
//     Float 0

// The kind of the next value of a stream.
enum class TValueType { Integer, Boolean, String, Extended, List, EndOfList, EndOfStream };

// Writes typed values as the text above.
class TColWriter {
  public:
    void WriteInteger(int Value);
    void WriteBoolean(bool Value);
    void WriteString(const std::string& Value);
    void WriteFloat(Extended Value);
    void WriteListBegin();
    void WriteListEnd();

    // The text written so far.
    const std::string& Text() const { return text_; }

  private:
    void line(const std::string& s);

    std::string text_;
    int depth_ = 0;
};

// Reads typed values from the text above. A value of another type than asked for, a malformed line or the
// end of the stream raises EReadError; the reader then stays at the offending value. The reader never
// allocates more than the text it holds.
class TColReader {
  public:
    explicit TColReader(std::string Text);

    TValueType NextValue();
    int ReadInteger();
    bool ReadBoolean();
    std::string ReadString();
    // Reads an Extended; an Integer is accepted too and converted.
    Extended ReadFloat();
    void ReadListBegin();
    void ReadListEnd();
    // True when the next value is the list end (which is not consumed).
    bool EndOfList();
    // True when no value is left.
    bool AtEnd();
    // A list of strings: list begin, strings, list end.
    std::vector<std::string> ReadStringList();
    // 1-based line of the next value (or of the end of the text).
    int Line();

  private:
    struct Token {
        TValueType type = TValueType::EndOfStream;
        std::string text;  // value text: digits, True/False, the unescaped string, the number text
        int line = 0;
    };
    const Token& peek();
    Token take(TValueType expected, const char* what);
    [[noreturn]] void fail(const std::string& what, int line) const;

    std::string text_;
    std::size_t pos_ = 0;
    int line_ = 0;
    bool peeked_ = false;
    Token next_;
};

}  // namespace velmor::components
