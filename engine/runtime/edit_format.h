#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/run_errors.h"

namespace velmor::rt {

// One value handed to a formatted or list-directed write.
class FormatItem {
  public:
    enum class Kind { Integer, Real, Text, Logical };

    FormatItem(int v) : kind_(Kind::Integer), integer_(v) {}
    FormatItem(long v) : kind_(Kind::Integer), integer_(v) {}
    FormatItem(long long v) : kind_(Kind::Integer), integer_(v) {}
    FormatItem(unsigned v) : kind_(Kind::Integer), integer_(v) {}
    FormatItem(unsigned long v) : kind_(Kind::Integer), integer_(static_cast<long long>(v)) {}
    FormatItem(double v) : kind_(Kind::Real), real_(v) {}
    FormatItem(bool v) : kind_(Kind::Logical), logical_(v) {}
    FormatItem(const char* v) : kind_(Kind::Text), text_(v) {}
    FormatItem(std::string_view v) : kind_(Kind::Text), text_(v) {}
    FormatItem(const std::string& v) : kind_(Kind::Text), text_(v) {}

    Kind kind() const { return kind_; }
    long long integer() const { return integer_; }
    double real() const { return real_; }
    bool logical() const { return logical_; }
    std::string_view text() const { return text_; }

  private:
    Kind kind_;
    long long integer_ = 0;
    double real_ = 0.0;
    bool logical_ = false;
    std::string_view text_;
};

// How a formatted write treats a value that its field cannot show. Every mode refuses a NaN or an infinity.
enum class FieldRange {
    // As the descriptors have it: asterisks for an F or I field too narrow for its value, an E or D
    // exponent beyond 99 written without its letter.
    Print,
    // For a file another program reads back with plain number parsing: an E or D value whose exponent
    // would lie beyond +99, and an F value too wide for its field, are refused; a nonzero E or D value
    // below 1E-99 is written as zero.
    Readable,
};

// A value refused by its field: the run cannot write it. The message names the item and the value;
// RecordIO adds the file and the line.
class FieldRangeFault : public RecordFault {
  public:
    using RecordFault::RecordFault;
};

// Formats the items by an edit-descriptor string such as "(10X,I3,7X,I2,3X,2(5X,E10.3))" and returns the
// records it makes, one string per line without line ends. Descriptors: nX, Iw[.m], Fw.d, Ew.d, Dw.d,
// A[w], Lw, quoted literals ('..' or ".."), nH literals, "/" (with repeat count), repeat counts, nested
// groups and format reversion. Output stops at the first data descriptor left without an item, or at the
// end of the descriptor list when every item has been written; literals, nX and "/" before that point are
// still written. Trailing blanks are kept. A bad descriptor string or an item of the wrong kind for its
// descriptor raises RecordFault.
std::vector<std::string> formatRecords(std::string_view format, const std::vector<FormatItem>& items);

// A descriptor string parsed once, for writers that use the same FORMAT many times.
class EditFormat {
  public:
    explicit EditFormat(std::string_view format);
    ~EditFormat();
    EditFormat(EditFormat&&) noexcept;
    EditFormat& operator=(EditFormat&&) noexcept;
    // Appends the records to `out`, each ended by '\n'. A value its field refuses (see FieldRange) raises
    // FieldRangeFault before anything of the write is appended.
    void apply(const FormatItem* items, std::size_t count, std::string& out,
               FieldRange range = FieldRange::Print) const;

  private:
    struct Parsed;
    std::string text_;
    std::unique_ptr<Parsed> parsed_;
};

// Formats as EditFormat(format).apply does, but parses each descriptor string only at its first use after
// the library was loaded and keeps the parse in static storage for later uses of the same string.
void applyFormat(std::string_view format, const FormatItem* items, std::size_t count, std::string& out,
                 FieldRange range = FieldRange::Print);

// Single fields, right-aligned in w characters. An I or F value too wide for its field, and an E/D value
// whose exponent needs more than three digits, fill the field with asterisks; so does a value that is not
// finite. A value that rounds to zero prints without a minus sign. In F and E fields the zero before the
// decimal point is dropped only when the field is too narrow for it.
std::string formatI(long long value, int w, int minDigits = 0);
std::string formatF(double value, int w, int d);
std::string formatE(double value, int w, int d, char letter = 'E');
// As formatF and formatE, appended to `out`.
void appendF(double value, int w, int d, std::string& out);
void appendE(double value, int w, int d, char letter, std::string& out);
std::string formatA(std::string_view text, int w);

// A list-directed record: a blank, then the values separated by blanks. Reals are written with the
// fewest digits that read back to the same double, always with a decimal point or an exponent.
std::string formatList(const std::vector<FormatItem>& items);
std::string listReal(double value);
// As formatList, appended to `out` and ended by '\n'.
void appendListRecord(const FormatItem* items, std::size_t count, std::string& out);

// How many non-finite reals the formatters have been handed since the process started. No NaN or
// infinity may reach a file; tests and the fuzz target check that this stays at zero.
unsigned long nonFiniteValuesFormatted();

}  // namespace velmor::rt
