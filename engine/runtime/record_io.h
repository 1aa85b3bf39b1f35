#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/edit_format.h"

namespace velmor::rt {

// A variable that a list-directed read fills: a 32-bit integer or a double.
class ReadTarget {
  public:
    ReadTarget(int32_t& v) : integer_(&v) {}
    ReadTarget(double& v) : real_(&v) {}
    int32_t* integer() const { return integer_; }
    double* real() const { return real_; }

  private:
    int32_t* integer_ = nullptr;
    double* real_ = nullptr;
};

enum class Access { Read, Write };

// The engine's file units: sequential text files, one record a line. Unit 0 is the console (standard
// error) and is always connected. Opening a connected unit closes it first; a file opened for writing holds
// only what the unit wrote once it is closed: an earlier regular file that is not read-only is removed and
// created anew, anything else at the path is opened and truncated; opening a missing file for
// reading is a RecordFault. Reading accepts LF, CR LF and CR line ends and a
// last line without an end; writing ends each record with LF. Every fault raises RecordFault naming the
// file, the line and the item.
class RecordIO {
  public:
    static constexpr int kUnitCount = 10;

    RecordIO();
    ~RecordIO();
    RecordIO(const RecordIO&) = delete;
    RecordIO& operator=(const RecordIO&) = delete;

    // Where unit 0 writes; standard error unless a test redirects it.
    void setConsole(std::FILE* console) { console_ = console; }
    // How formatted writes on a unit treat values their fields cannot show (Print unless set); kept
    // across opening and closing. A refused value raises RecordFault naming the file, the line and the value.
    void setFieldRange(int unit, FieldRange range);

    void open(int unit, const std::string& path, Access access);
    void close(int unit);
    void closeAll();
    bool isOpen(int unit) const;

    // List-directed read: starts on the next line, takes the values in order (separated by blanks, tabs or
    // one comma), goes on to further lines while it needs more, and skips the rest of its last line.
    // Repeat counts, null values, "/" and quoted strings are rejected.
    void readList(int unit, std::initializer_list<ReadTarget> targets);

    // Formatted read of one Aw field: the next line cut to w characters or padded with blanks.
    std::string readText(int unit, int width);
    // As readText, but end of file (or a line longer than maxLength) gives false instead of a fault.
    bool tryReadText(int unit, int width, std::string& text, std::size_t maxLength = std::string::npos);
    // The next line whole, without its line end; false at end of file.
    bool tryReadLine(int unit, std::string& line);

    // Formatted write by edit descriptors (see formatRecords).
    void write(int unit, std::string_view format, const std::vector<FormatItem>& items = {}) {
        writeFormatted(unit, format, items.data(), items.size());
    }
    void write(int unit, std::string_view format, std::initializer_list<FormatItem> items) {
        writeFormatted(unit, format, items.begin(), items.size());
    }
    // List-directed write: a blank, then the values.
    void writeList(int unit, const std::vector<FormatItem>& items) { writeListed(unit, items.data(), items.size()); }
    void writeList(int unit, std::initializer_list<FormatItem> items) {
        writeListed(unit, items.begin(), items.size());
    }
    // Writes finished lines as they stand.
    void writeLines(int unit, const std::vector<std::string>& lines);

    const std::string& fileName(int unit) const;

  private:
    struct Unit {
        bool open = false;
        Access access = Access::Read;
        std::string path;
        std::FILE* out = nullptr;
        std::string content;      // whole file, for reading
        std::size_t next = 0;     // offset of the next line
        int line = 0;             // number of the last line read, or of lines written
        std::string pending;      // records written but not yet handed to the file
    };
    // Hands a unit's pending records to its file; the errno of a failure, or 0.
    static int writePending(Unit& u);
    // Writes a unit's pending records and flushes it; the errno of a failure, or 0.
    static int finishWriting(Unit& u);

    void writeFormatted(int unit, std::string_view format, const FormatItem* items, std::size_t count);
    void writeListed(int unit, const FormatItem* items, std::size_t count);
    void writeText(int unit, std::string_view text);
    Unit& connected(int unit, Access access);
    bool nextLine(Unit& u, std::string_view& line);
    [[noreturn]] void fault(const Unit& u, const std::string& what) const;
    // "CANNOT WRITE LINE n OF FILE path: ", the start of a message about a value a write refuses.
    std::string writeContext(int unit) const;

    std::string buffer_;  // records of the write in progress, one buffer reused by every write
    std::array<Unit, kUnitCount> units_;
    std::array<FieldRange, kUnitCount> ranges_{};
    std::FILE* console_;
};

// Strict list-directed value parsers: an integer is an optional sign and digits within 32 bits; a real is
// an optional sign, digits with an optional point, and an optional exponent: E or D with an optional sign,
// or a sign alone (the form an E field takes for exponents beyond 99).
bool parseListInteger(std::string_view token, int32_t& value);
bool parseListReal(std::string_view token, double& value);

}  // namespace velmor::rt
