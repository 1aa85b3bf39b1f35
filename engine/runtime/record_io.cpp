#include "runtime/record_io.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "runtime/run_errors.h"

namespace velmor::rt {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isSeparatorBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string quote(std::string_view token) {
    return "\"" + std::string(token) + "\"";
}

// Removes an earlier regular file at `path` that is not marked read-only, so that the unit writes a new
// file rather than cutting the old one to nothing: a file system that sees a file cut and written again
// protects it by writing it back to the disk at the close, which costs a run more than everything else it
// writes. Anything else (no file, a link, a device, a directory, a read-only file, a file that cannot be
// removed) stays as it is, and the open that follows meets it as it always did.
void removeEarlierFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (status.type() != fs::file_type::regular || (status.permissions() & fs::perms::owner_write) == fs::perms::none)
        return;
    std::remove(path.c_str());
}

constexpr std::size_t kWriteBlock = 1 << 16;
// The longest record expected of one write; a longer one grows the unit's buffer but is written whole.
constexpr std::size_t kRecordRoom = 1 << 12;

std::string writeFault(const std::string& path, int error) {
    return "CANNOT WRITE FILE " + path + (error != 0 ? std::string(": ") + std::strerror(error) : std::string());
}

}  // namespace

bool parseListInteger(std::string_view token, int32_t& value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
    if (i == token.size()) return false;
    for (std::size_t k = i; k < token.size(); ++k) {
        if (!isDigit(token[k])) return false;
    }
    long long magnitude = 0;
    for (std::size_t k = i; k < token.size(); ++k) {
        magnitude = magnitude * 10 + (token[k] - '0');
        if (magnitude > 2147483648LL) return false;
    }
    long long v = negative ? -magnitude : magnitude;
    if (v > 2147483647LL || v < -2147483648LL) return false;
    value = static_cast<int32_t>(v);
    return true;
}

namespace {

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The values the engine writes itself and reads back: an optional minus, at most 15 digits with an
// optional point, an optional exponent (E or e, an optional sign, one to three digits). When the digits as
// an integer and the power of ten that scales them are both exact doubles, one multiplication or division
// rounds the decimal value correctly, so the result is the one from_chars gives. Reads from `c` as far as
// such a number goes and returns where it stopped; null, with `value` untouched, when the text there is
// not of that shape or needs a scale beyond the exact powers (the general reader takes those).
const char* scanShortDecimal(const char* c, const char* const end, double& value) {
    const bool negative = c != end && *c == '-';
    if (negative) ++c;
    std::uint64_t digits = 0;
    int digitCount = 0, fractionDigits = 0;
    bool point = false;
    for (; c != end; ++c) {
        if (isDigit(*c)) {
            digits = digits * 10 + static_cast<std::uint64_t>(*c - '0');
            ++digitCount;
            fractionDigits += point ? 1 : 0;
        } else if (*c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digitCount == 0 || digitCount > 15) return nullptr;
    int exponent = 0;
    if (c != end && (*c == 'E' || *c == 'e')) {
        ++c;
        bool negativeExponent = false;
        if (c != end && (*c == '+' || *c == '-')) negativeExponent = *c++ == '-';
        int exponentDigits = 0;
        // Four digits are enough to tell a longer exponent, which the general reader takes.
        for (; c != end && isDigit(*c) && exponentDigits < 4; ++c, ++exponentDigits)
            exponent = exponent * 10 + (*c - '0');
        if (exponentDigits == 0 || exponentDigits > 3) return nullptr;
        if (negativeExponent) exponent = -exponent;
    }
    const int scale = exponent - fractionDigits;
    if (scale > 22 || scale < -22) return nullptr;
    const double m = static_cast<double>(digits);
    const double v = scale >= 0 ? m * kExactPowersOfTen[scale] : m / kExactPowersOfTen[-scale];
    value = negative ? -v : v;
    return c;
}

bool parseShortDecimal(std::string_view token, double& value) {
    const char* const end = token.data() + token.size();
    double v = 0.0;
    if (scanShortDecimal(token.data(), end, v) != end) return false;
    value = v;
    return true;
}

// The number of line ends in `text`.
int lineEnds(std::string_view text) {
    int count = 0;
    const char* const end = text.data() + text.size();
    for (const char* c = text.data(); (c = static_cast<const char*>(std::memchr(c, '\n', end - c))); ++c) ++count;
    return count;
}

// A list value that ends at a blank, a tab, a comma or the line end.
bool endsValue(const char* c, const char* end) {
    return c == end || isSeparatorBlank(*c) || *c == ',';
}

// An optional sign and one to nine digits, which always fit 32 bits, from `c` to where they stop; null
// when the text there is not of that shape.
const char* scanShortInteger(const char* c, const char* const end, int32_t& value) {
    const bool negative = c != end && *c == '-';
    if (c != end && (*c == '-' || *c == '+')) ++c;
    // Ten digits are looked at to tell a longer number from a short one; 64 bits hold them.
    int64_t magnitude = 0;
    int count = 0;
    for (; c != end && isDigit(*c) && count < 10; ++c, ++count) magnitude = magnitude * 10 + (*c - '0');
    if (count == 0 || count > 9) return nullptr;
    value = static_cast<int32_t>(negative ? -magnitude : magnitude);
    return c;
}

}  // namespace

bool parseListReal(std::string_view token, double& value) {
    if (parseShortDecimal(token, value)) return true;
    // Most values are plain decimals or carry the letter E: they read as they stand. Anything from_chars
    // stops short of (a letterless exponent, a D, a leading +) goes the long way below, and so does what
    // it reads as not finite (its spellings of infinity and NaN), which the long way refuses.
    if (!token.empty() && token[0] != '+') {
        double v = 0.0;
        const char* first = token.data();
        const char* last = first + token.size();
        auto res = std::from_chars(first, last, v, std::chars_format::general);
        if (res.ec == std::errc() && res.ptr == last && std::isfinite(v)) {
            value = v;
            return true;
        }
    }
    std::string text;
    std::size_t i = 0;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
        if (token[i] == '-') text += '-';
        ++i;
    }
    int mantissaDigits = 0;
    bool point = false;
    for (; i < token.size(); ++i) {
        char c = token[i];
        if (isDigit(c)) {
            ++mantissaDigits;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
        text += c;
    }
    if (mantissaDigits == 0) return false;
    if (i < token.size()) {
        // The exponent letter may be left out before a signed exponent: an E or D field whose exponent
        // needs three digits is written that way ("0.307-200").
        char c = token[i];
        const bool letter = c == 'E' || c == 'e' || c == 'D' || c == 'd';
        if (!letter && c != '+' && c != '-') return false;
        text += 'E';
        if (letter) ++i;
        if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
            text += token[i++];
        } else if (!letter) {
            return false;
        }
        int exponentDigits = 0;
        for (; i < token.size() && isDigit(token[i]); ++i, ++exponentDigits) text += token[i];
        if (exponentDigits == 0 || i != token.size()) return false;
    }
    double v = 0.0;
    auto res = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != text.data() + text.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

RecordIO::RecordIO() : console_(stderr) {
    units_[0].open = true;
    units_[0].access = Access::Write;
}

RecordIO::~RecordIO() {
    for (int u = 1; u < kUnitCount; ++u) {
        Unit& unit = units_[static_cast<std::size_t>(u)];
        if (unit.out) {
            finishWriting(unit);
            std::fclose(unit.out);
        }
        unit.out = nullptr;
    }
}

int RecordIO::writePending(Unit& u) {
    u.line = linesWritten(u);
    int error = 0;
    errno = 0;
    if (!u.pending.empty() && std::fwrite(u.pending.data(), 1, u.pending.size(), u.out) != u.pending.size())
        error = errno != 0 ? errno : EIO;
    u.pending.clear();
    return error;
}

int RecordIO::finishWriting(Unit& u) {
    int error = writePending(u);
    if (std::fflush(u.out) != 0 && error == 0) error = errno;
    return error;
}

void RecordIO::open(int unit, const std::string& path, Access access) {
    if (unit <= 0 || unit >= kUnitCount) throw RecordFault("UNIT " + std::to_string(unit) + " CANNOT BE OPENED");
    close(unit);
    Unit& u = units_[static_cast<std::size_t>(unit)];
    u = Unit{};
    u.path = path;
    u.access = access;
    if (path.empty()) throw RecordFault("NO FILE NAME GIVEN FOR UNIT " + std::to_string(unit));
    if (access == Access::Write) {
        // A new file (or one truncated at the open), so a run that is cut short can never leave an earlier
        // run's records behind its own.
        removeEarlierFile(path);
        u.out = std::fopen(path.c_str(), "wb");
        if (!u.out) throw RecordFault("CANNOT CREATE FILE " + path + ": " + std::strerror(errno));
        // The unit's own buffer hands the file whole blocks: no second buffer between them.
        std::setvbuf(u.out, nullptr, _IONBF, 0);
        u.pending.reserve(kWriteBlock);
    } else {
        std::FILE* in = std::fopen(path.c_str(), "rb");
        if (!in) throw RecordFault("CANNOT OPEN FILE " + path + ": " + std::strerror(errno));
        // Read straight into a block of the caller's, without a buffer of the stream's own; a short
        // block is the end of the file (or a failure, told apart below).
        std::setvbuf(in, nullptr, _IONBF, 0);
        char buf[65536];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, in)) > 0) {
            u.content.append(buf, n);
            if (n < sizeof buf) break;
        }
        bool failed = std::ferror(in) != 0;
        std::fclose(in);
        if (failed) throw RecordFault("CANNOT READ FILE " + path);
    }
    u.open = true;
}

void RecordIO::close(int unit) {
    if (unit <= 0 || unit >= kUnitCount) return;
    Unit& u = units_[static_cast<std::size_t>(unit)];
    if (!u.open) return;
    std::string path = u.path;
    bool failed = false;
    int error = 0;
    if (u.out) {
        // Buffered records reach the disk only here: a full disk shows up at the flush or the close.
        failed = std::ferror(u.out) != 0;
        error = finishWriting(u);
        if (error != 0) failed = true;
        if (std::fclose(u.out) != 0) {
            failed = true;
            if (error == 0) error = errno;
        }
    }
    u = Unit{};
    if (failed) throw RecordFault(writeFault(path, error));
}

void RecordIO::closeAll() {
    for (int u = 1; u < kUnitCount; ++u) {
        try {
            close(u);
        } catch (const RecordFault&) {
            // Closing everything goes on; the first caller already reported its own fault.
        }
    }
}

bool RecordIO::isOpen(int unit) const {
    return unit >= 0 && unit < kUnitCount && units_[static_cast<std::size_t>(unit)].open;
}

const std::string& RecordIO::fileName(int unit) const {
    static const std::string none;
    return isOpen(unit) ? units_[static_cast<std::size_t>(unit)].path : none;
}

RecordIO::Unit& RecordIO::connected(int unit, Access access) {
    if (unit < 0 || unit >= kUnitCount || !units_[static_cast<std::size_t>(unit)].open)
        throw RecordFault("UNIT " + std::to_string(unit) + " IS NOT CONNECTED TO A FILE");
    Unit& u = units_[static_cast<std::size_t>(unit)];
    if (u.access != access)
        throw RecordFault("FILE " + u.path + " IS OPEN FOR " + (u.access == Access::Read ? "READING" : "WRITING"));
    return u;
}

bool RecordIO::nextLine(Unit& u, std::string_view& line) {
    if (u.next >= u.content.size()) return false;
    const std::size_t size = u.content.size();
    const char* text = u.content.data();
    std::size_t end = u.next;
    while (end < size && text[end] != '\n' && text[end] != '\r') ++end;
    line = std::string_view(u.content).substr(u.next, end - u.next);
    std::size_t after = end;
    if (after < u.content.size()) {
        after += (u.content[after] == '\r' && after + 1 < u.content.size() && u.content[after + 1] == '\n') ? 2 : 1;
    }
    u.next = after;
    ++u.line;
    return true;
}

void RecordIO::fault(const Unit& u, const std::string& what) const {
    throw RecordFault("INPUT ERROR IN FILE " + u.path + ", LINE " + std::to_string(u.line) + ": " + what);
}

void RecordIO::readList(int unit, std::initializer_list<ReadTarget> targets) {
    Unit& u = connected(unit, Access::Read);
    std::size_t wanted = targets.size();
    std::size_t got = 0;
    bool afterValue = false;  // a value was read and no comma followed it yet
    auto target = targets.begin();
    if (wanted == 0) {
        std::string_view skipped;
        if (!nextLine(u, skipped))
            throw RecordFault("INPUT ERROR IN FILE " + u.path + ": END OF FILE AFTER LINE " + std::to_string(u.line));
        return;
    }
    while (got < wanted) {
        std::string_view line;
        if (!nextLine(u, line)) {
            throw RecordFault("INPUT ERROR IN FILE " + u.path + ": END OF FILE AFTER LINE " + std::to_string(u.line) +
                              ", " + std::to_string(wanted - got) + " MORE VALUE(S) EXPECTED");
        }
        std::size_t i = 0;
        while (got < wanted && i < line.size()) {
            char c = line[i];
            if (isSeparatorBlank(c)) {
                ++i;
                continue;
            }
            if (c == ',') {
                if (!afterValue) fault(u, "EMPTY VALUE BETWEEN SEPARATORS (ITEM " + std::to_string(got + 1) + ")");
                afterValue = false;
                ++i;
                continue;
            }
            {
                // A number in its usual shape is read in one pass; anything else goes the general way below.
                const char* const from = line.data() + i;
                const char* const lineEnd = line.data() + line.size();
                int32_t integer = 0;
                double real = 0.0;
                const char* stop = target->integer() ? scanShortInteger(from, lineEnd, integer)
                                                     : scanShortDecimal(from, lineEnd, real);
                if (stop && endsValue(stop, lineEnd)) {
                    if (target->integer()) {
                        *target->integer() = integer;
                    } else {
                        *target->real() = real;
                    }
                    i += static_cast<std::size_t>(stop - from);
                    ++target;
                    ++got;
                    afterValue = true;
                    continue;
                }
            }
            std::size_t start = i;
            bool repeat = false, slash = false;
            for (; i < line.size(); ++i) {
                const char t = line[i];
                if (isSeparatorBlank(t) || t == ',') break;
                repeat = repeat || t == '*';
                slash = slash || t == '/';
            }
            std::string_view token = line.substr(start, i - start);
            auto item = [&] { return "ITEM " + std::to_string(got + 1) + " " + quote(token); };
            if (repeat) fault(u, item() + ": REPEAT COUNTS ARE NOT ACCEPTED");
            if (slash) fault(u, item() + ": \"/\" IS NOT ACCEPTED");
            if (target->integer()) {
                if (!parseListInteger(token, *target->integer())) fault(u, item() + " IS NOT AN INTEGER");
            } else if (!parseListReal(token, *target->real())) {
                fault(u, item() + " IS NOT A NUMBER");
            }
            ++target;
            ++got;
            afterValue = true;
        }
        // A line end separates values like a blank; a comma before it still counts.
    }
}

std::string RecordIO::readText(int unit, int width) {
    std::string text;
    if (!tryReadText(unit, width, text)) {
        const Unit& u = units_[static_cast<std::size_t>(unit)];
        throw RecordFault("INPUT ERROR IN FILE " + u.path + ": END OF FILE AFTER LINE " + std::to_string(u.line));
    }
    return text;
}

bool RecordIO::tryReadText(int unit, int width, std::string& text, std::size_t maxLength) {
    Unit& u = connected(unit, Access::Read);
    std::string_view line;
    if (!nextLine(u, line)) return false;
    if (line.size() > maxLength) return false;
    std::size_t w = static_cast<std::size_t>(width < 0 ? 0 : width);
    text = std::string(line.substr(0, w));
    text.resize(w, ' ');
    return true;
}

bool RecordIO::tryReadLine(int unit, std::string& line) {
    Unit& u = connected(unit, Access::Read);
    std::string_view view;
    if (!nextLine(u, view)) return false;
    line.assign(view);
    return true;
}

std::string RecordIO::writeContext(int unit) const {
    if (unit <= 0 || !isOpen(unit)) return "CANNOT WRITE TO THE CONSOLE: ";
    const Unit& u = units_[static_cast<std::size_t>(unit)];
    return "CANNOT WRITE LINE " + std::to_string(linesWritten(u) + 1) + " OF FILE " + u.path + ": ";
}

void RecordIO::setFieldRange(int unit, FieldRange range) {
    if (unit >= 0 && unit < kUnitCount) ranges_[static_cast<std::size_t>(unit)] = range;
}

RecordIO::Unit* RecordIO::fileForWriting(int unit) {
    if (unit <= 0 || unit >= kUnitCount) return nullptr;
    Unit& u = units_[static_cast<std::size_t>(unit)];
    if (!u.open || u.access != Access::Write || !u.out) return nullptr;
    // Room for the next record in the unit's buffer without growing it: one block goes to the file first.
    if (u.pending.size() + kRecordRoom > kWriteBlock) {
        const int error = writePending(u);
        if (error != 0) throw RecordFault(writeFault(u.path, error));
    }
    return &u;
}

int RecordIO::linesWritten(const Unit& u) {
    // The records in the buffer are counted only when the count is needed or the block goes to the file.
    return u.line + lineEnds(u.pending);
}

void RecordIO::writeFormatted(int unit, std::string_view format, const FormatItem* items, std::size_t count) {
    const FieldRange range =
        unit >= 0 && unit < kUnitCount ? ranges_[static_cast<std::size_t>(unit)] : FieldRange::Print;
    if (Unit* u = fileForWriting(unit)) {
        // Straight into the unit's buffer; a write that fails leaves nothing of itself there.
        const std::size_t start = u->pending.size();
        try {
            applyFormat(format, items, count, u->pending, range);
        } catch (const FieldRangeFault& fault) {
            u->pending.resize(start);
            throw RecordFault(writeContext(unit) + fault.message());
        } catch (...) {
            u->pending.resize(start);
            throw;
        }
        return;
    }
    buffer_.clear();
    try {
        applyFormat(format, items, count, buffer_, range);
    } catch (const FieldRangeFault& fault) {
        throw RecordFault(writeContext(unit) + fault.message());
    }
    writeText(unit, buffer_);
}

void RecordIO::writeListed(int unit, const FormatItem* items, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const FormatItem& item = items[i];
        if (item.kind() != FormatItem::Kind::Real || std::isfinite(item.real())) continue;
        const double v = item.real();
        throw RecordFault(writeContext(unit) + "ITEM " + std::to_string(i + 1) + ", " +
                          (v != v ? "NaN" : (v < 0 ? "-INFINITY" : "INFINITY")) + ", IS NOT A FINITE NUMBER");
    }
    if (Unit* u = fileForWriting(unit)) {
        appendListRecord(items, count, u->pending);
        return;
    }
    buffer_.clear();
    appendListRecord(items, count, buffer_);
    writeText(unit, buffer_);
}

void RecordIO::writeLines(int unit, const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    writeText(unit, text);
}

void RecordIO::writeText(int unit, std::string_view text) {
    if (unit == 0) {
        // The console takes what it can; a closed console must not end the run.
        std::fwrite(text.data(), 1, text.size(), console_);
        return;
    }
    Unit& u = connected(unit, Access::Write);
    // Records gather in the unit's own buffer, which keeps its size, and go to the file a block at a time.
    if (u.pending.size() + text.size() > kWriteBlock) {
        const int error = writePending(u);
        if (error != 0) throw RecordFault(writeFault(u.path, error));
    }
    if (text.size() > kWriteBlock) {
        if (std::fwrite(text.data(), 1, text.size(), u.out) != text.size())
            throw RecordFault(writeFault(u.path, errno));
        u.line += lineEnds(text);
    } else {
        u.pending.append(text.data(), text.size());
    }
}

}  // namespace velmor::rt
