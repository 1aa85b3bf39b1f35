#include "runtime/edit_format.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <type_traits>

#include "runtime/run_errors.h"
#include "runtime/work_storage.h"

namespace velmor::rt {

namespace {

enum class NodeKind : uint8_t { Group, Data, Blanks, Slash, Literal };

// One descriptor of a parsed descriptor string, as plain data: a group names the block of its children
// and a literal its text by their places in the node and text pools of its format.
struct FlatNode {
    NodeKind kind;
    char code;  // I, F, E, D, A, L for data descriptors
    int16_t w;  // field width; -1 when absent (A without width)
    int16_t d;  // decimals, or minimum digits for I
    int16_t repeat;
    uint32_t first;  // Group: index of the first child; Literal: offset of the text
    uint32_t count;  // Group: number of children; Literal: length of the text
};

// A parsed descriptor string: its top-level list is nodes[top, top + topCount); the children of a group
// are counted from `nodes`, the text of a literal from `text`.
struct FlatFormat {
    const FlatNode* nodes;
    const char* text;
    uint32_t top;
    uint32_t topCount;
    uint32_t restart;    // format reversion restarts at the last top-level group, or at the start
    bool dataAtRestart;  // the part from there on holds a data descriptor
};

std::string stars(int w);

[[noreturn]] void badFormat(std::string_view format, const std::string& why) {
    throw RecordFault("INVALID EDIT DESCRIPTORS \"" + std::string(format) + "\": " + why);
}

// Parses a descriptor string into flat nodes: each list is gathered and then handed to the sink as one
// block, after the blocks of its groups, so the top-level list comes last. The sink keeps the blocks and
// the literal text: addNodes(nodes, n) returns the index of the block, textSize() the offset the next
// text gets, addText(chars, n) appends text.
template <class Sink>
class FormatParser {
  public:
    FormatParser(std::string_view format, Sink& sink) : f_(format), sink_(sink) {}

    void parse(uint32_t& top, uint32_t& count) {
        skipBlanks();
        if (!eat('(')) badFormat(f_, "must begin with (");
        parseList(top, count);
        if (!eat(')')) badFormat(f_, "missing )");
        skipBlanks();
        if (pos_ != f_.size()) badFormat(f_, "text after the closing )");
    }

  private:
    static constexpr std::size_t kListItems = 256;

    void parseList(uint32_t& at, uint32_t& count) {
        FlatNode items[kListItems];
        std::size_t n = 0;
        for (;;) {
            skipBlanks();
            if (pos_ >= f_.size()) badFormat(f_, "missing )");
            char c = f_[pos_];
            if (c == ')') break;
            if (c == ',') {
                ++pos_;
                continue;
            }
            if (n == kListItems) badFormat(f_, "more than 256 items in one list");
            items[n++] = parseItem();
        }
        at = sink_.addNodes(items, n);
        count = static_cast<uint32_t>(n);
    }

    FlatNode parseItem() {
        FlatNode node{NodeKind::Literal, 0, -1, 0, 1, 0, 0};
        int count = -1;
        if (std::isdigit(static_cast<unsigned char>(f_[pos_]))) count = number();
        skipBlanks();
        if (pos_ >= f_.size()) badFormat(f_, "ends inside an item");
        char c = static_cast<char>(std::toupper(static_cast<unsigned char>(f_[pos_])));
        if (c == '(') {
            ++pos_;
            node.kind = NodeKind::Group;
            parseList(node.first, node.count);
            if (!eat(')')) badFormat(f_, "missing )");
            node.repeat = static_cast<int16_t>(count < 0 ? 1 : count);
        } else if (c == '\'' || c == '"') {
            if (count >= 0) badFormat(f_, "repeat count before a literal");
            node.kind = NodeKind::Literal;
            node.first = sink_.textSize();
            node.count = quoted(c);
        } else if (c == '/') {
            ++pos_;
            node.kind = NodeKind::Slash;
            node.repeat = static_cast<int16_t>(count < 0 ? 1 : count);
        } else if (c == 'X') {
            ++pos_;
            node.kind = NodeKind::Blanks;
            node.repeat = static_cast<int16_t>(count < 0 ? 1 : count);
        } else if (c == 'H') {
            ++pos_;
            if (count <= 0 || pos_ + static_cast<std::size_t>(count) > f_.size()) badFormat(f_, "bad H literal");
            node.kind = NodeKind::Literal;
            node.first = sink_.textSize();
            node.count = static_cast<uint32_t>(count);
            sink_.addText(f_.data() + pos_, static_cast<std::size_t>(count));
            pos_ += static_cast<std::size_t>(count);
        } else if (c == 'I' || c == 'F' || c == 'E' || c == 'D' || c == 'A' || c == 'L') {
            ++pos_;
            node.kind = NodeKind::Data;
            node.code = c;
            node.repeat = static_cast<int16_t>(count < 0 ? 1 : count);
            skipBlanks();
            bool hasWidth = pos_ < f_.size() && std::isdigit(static_cast<unsigned char>(f_[pos_]));
            if (hasWidth) node.w = static_cast<int16_t>(number());
            if (c != 'A' && (!hasWidth || node.w == 0)) badFormat(f_, std::string("width missing after ") + c);
            skipBlanks();
            if (c == 'F' || c == 'E' || c == 'D') {
                if (!eat('.')) badFormat(f_, std::string("decimals missing after ") + c);
                skipBlanks();
                if (pos_ >= f_.size() || !std::isdigit(static_cast<unsigned char>(f_[pos_])))
                    badFormat(f_, std::string("decimals missing after ") + c);
                node.d = static_cast<int16_t>(number());
            } else if (c == 'I' && eat('.')) {
                node.d = static_cast<int16_t>(number());
            }
        } else {
            badFormat(f_, std::string("unknown descriptor ") + f_[pos_]);
        }
        if (node.repeat == 0) badFormat(f_, "repeat count 0");
        return node;
    }

    // Appends the text of a quoted literal (a doubled quote stands for one) and returns its length.
    uint32_t quoted(char quote) {
        ++pos_;
        uint32_t length = 0;
        for (;;) {
            if (pos_ >= f_.size()) badFormat(f_, "unterminated literal");
            const char c = f_[pos_++];
            if (c == quote) {
                if (pos_ < f_.size() && f_[pos_] == quote) {
                    sink_.addText(&quote, 1);
                    ++length;
                    ++pos_;
                    continue;
                }
                return length;
            }
            sink_.addText(&c, 1);
            ++length;
        }
    }

    int number() {
        skipBlanks();
        int value = 0;
        bool any = false;
        while (pos_ < f_.size() && std::isdigit(static_cast<unsigned char>(f_[pos_]))) {
            value = value * 10 + (f_[pos_++] - '0');
            if (value > 10000) badFormat(f_, "number too large");
            any = true;
        }
        if (!any) badFormat(f_, "number expected");
        return value;
    }

    bool eat(char c) {
        skipBlanks();
        if (pos_ < f_.size() && f_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    void skipBlanks() {
        while (pos_ < f_.size() && (f_[pos_] == ' ' || f_[pos_] == '\t')) ++pos_;
    }

    std::string_view f_;
    Sink& sink_;
    std::size_t pos_ = 0;
};

bool hasData(const FlatNode* nodes, const FlatNode* list, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        if (list[i].kind == NodeKind::Data) return true;
        if (list[i].kind == NodeKind::Group && hasData(nodes, nodes + list[i].first, list[i].count)) return true;
    }
    return false;
}

// Parses `format` through `sink` into `parsed`, whose nodes and text the caller points at the sink's pools.
template <class Sink>
void parseFormat(std::string_view format, Sink& sink, const FlatNode*& nodes, FlatFormat& parsed) {
    FormatParser<Sink>(format, sink).parse(parsed.top, parsed.topCount);
    nodes = sink.nodes();
    const FlatNode* list = nodes + parsed.top;
    parsed.restart = 0;
    for (uint32_t i = 0; i < parsed.topCount; ++i) {
        if (list[i].kind == NodeKind::Group) parsed.restart = i;
    }
    parsed.dataAtRestart = hasData(nodes, list + parsed.restart, parsed.topCount - parsed.restart);
}

// A descriptor string parsed into nodes and text of its own.
struct ParsedFormat {
    std::vector<FlatNode> nodeBlocks;
    std::string literals;
    FlatFormat flat{};

    uint32_t addNodes(const FlatNode* items, std::size_t n) {
        const uint32_t at = static_cast<uint32_t>(nodeBlocks.size());
        nodeBlocks.insert(nodeBlocks.end(), items, items + n);
        return at;
    }
    uint32_t textSize() const { return static_cast<uint32_t>(literals.size()); }
    void addText(const char* chars, std::size_t n) { literals.append(chars, n); }
    const FlatNode* nodes() const { return nodeBlocks.data(); }

    explicit ParsedFormat(std::string_view format) {
        const FlatNode* unused = nullptr;
        parseFormat(format, *this, unused, flat);
    }
    FlatFormat view() const {
        FlatFormat v = flat;
        v.nodes = nodeBlocks.data();
        v.text = literals.data();
        return v;
    }
};

void appendStars(int w, std::string& out) {
    out.append(static_cast<std::size_t>(w < 0 ? 0 : w), '*');
}

void appendI(long long value, int w, int minDigits, std::string& out);
void appendA(std::string_view text, int w, std::string& out);

// Writes the records of one formatted write into `out`, each ended by '\n'.
class FormatRunner {
  public:
    FormatRunner(std::string_view format, const FlatFormat& parsed, const FormatItem* items, std::size_t count,
                 std::string& out, FieldRange range)
        : format_(format), parsed_(parsed), items_(items), count_(count), out_(out), range_(range) {}

    void run() {
        if (count_ != 0 && !parsed_.dataAtRestart)
            badFormat(format_, "values given but no data descriptor to use them");
        std::size_t from = 0;
        for (;;) {
            if (!runList(parsed_.nodes + parsed_.top, parsed_.topCount, from)) break;
            if (next_ >= count_) break;
            out_ += '\n';
            from = parsed_.restart;
        }
        out_ += '\n';
    }

  private:
    using Kind = NodeKind;

    // Returns false when output ends at a data descriptor left without an item.
    bool runList(const FlatNode* list, std::size_t size, std::size_t from) {
        for (std::size_t i = from; i < size; ++i) {
            const FlatNode& n = list[i];
            const Kind kind = n.kind;
            if (kind == Kind::Blanks) {
                out_.append(static_cast<std::size_t>(n.repeat), ' ');
                continue;
            }
            for (int r = 0; r < n.repeat; ++r) {
                switch (kind) {
                    case Kind::Group:
                        if (!runList(parsed_.nodes + n.first, n.count, 0)) return false;
                        break;
                    case Kind::Blanks:
                        out_ += ' ';
                        break;
                    case Kind::Slash:
                        out_ += '\n';
                        break;
                    case Kind::Literal:
                        out_.append(parsed_.text + n.first, n.count);
                        break;
                    case Kind::Data:
                        if (next_ >= count_) return false;
                        field(n, items_[next_++]);
                        break;
                }
            }
        }
        return true;
    }

    void field(const FlatNode& n, const FormatItem& item) {
        using ItemKind = FormatItem::Kind;
        switch (n.code) {
            case 'I':
                if (item.kind() != ItemKind::Integer) wrongKind(n);
                appendI(item.integer(), n.w, n.d, out_);
                return;
            case 'F':
            case 'E':
            case 'D': {
                double v;
                if (item.kind() == ItemKind::Real) {
                    v = item.real();
                } else if (item.kind() == ItemKind::Integer) {
                    v = static_cast<double>(item.integer());
                } else {
                    wrongKind(n);
                }
                if (!std::isfinite(v)) refuse(n, v, "IS NOT A FINITE NUMBER");
                const std::size_t at = out_.size();
                if (n.code == 'F') {
                    appendF(v, n.w, n.d, out_);
                    if (range_ == FieldRange::Readable && n.w > 0 && out_[at] == '*')
                        refuse(n, v, "IS TOO WIDE FOR ITS FIELD");
                    return;
                }
                appendE(v, n.w, n.d, n.code, out_);
                // The exponent the field shows is that of the value rounded to d digits: without its letter
                // it has three digits.
                const double magnitude = std::fabs(v);
                if (range_ == FieldRange::Readable && (magnitude >= 9e98 || (v != 0.0 && magnitude < 1e-98)) &&
                    out_.find(n.code, at) == std::string::npos) {
                    if (magnitude >= 1.0) refuse(n, v, "IS BEYOND THE RANGE OF ITS FIELD");
                    out_.resize(at);
                    appendE(0.0, n.w, n.d, n.code, out_);
                }
                return;
            }
            case 'A':
                if (item.kind() != ItemKind::Text) wrongKind(n);
                if (n.w < 0) {
                    out_ += item.text();
                } else {
                    appendA(item.text(), n.w, out_);
                }
                return;
            case 'L':
                if (item.kind() != ItemKind::Logical) wrongKind(n);
                out_.append(static_cast<std::size_t>(n.w - 1), ' ');
                out_ += item.logical() ? 'T' : 'F';
                return;
        }
    }

    [[noreturn]] void refuse(const FlatNode& n, double v, const char* why) {
        std::string value = std::isfinite(v) ? listReal(v) : (v != v ? "NaN" : (v < 0 ? "-INFINITY" : "INFINITY"));
        throw FieldRangeFault("ITEM " + std::to_string(next_) + " (" + n.code + std::to_string(n.w) + "." +
                              std::to_string(n.d) + "), " + value + ", " + why);
    }

    [[noreturn]] void wrongKind(const FlatNode& n) {
        badFormat(format_, std::string("item ") + std::to_string(next_) + " does not suit descriptor " + n.code);
    }

    std::string_view format_;
    const FlatFormat& parsed_;
    const FormatItem* items_;
    std::size_t count_;
    std::string& out_;
    FieldRange range_;
    std::size_t next_ = 0;
};

void runFormat(std::string_view format, const FlatFormat& parsed, const FormatItem* items, std::size_t count,
               std::string& out, FieldRange range) {
    const std::size_t start = out.size();
    try {
        FormatRunner(format, parsed, items, count, out, range).run();
    } catch (const FieldRangeFault&) {
        out.resize(start);
        throw;
    }
}

std::string stars(int w) {
    return std::string(static_cast<std::size_t>(w < 0 ? 0 : w), '*');
}

std::string rightAlign(const std::string& s, int w) {
    if (static_cast<int>(s.size()) >= w) return s;
    return std::string(static_cast<std::size_t>(w) - s.size(), ' ') + s;
}

bool allZeroDigits(const std::string& s) {
    for (char c : s) {
        if (c >= '1' && c <= '9') return false;
    }
    return true;
}

// The descriptor strings of the library, each parsed at its first use after the library was loaded and
// kept for as long as it stays loaded: the strings are constants, so what is kept never depends on a
// run's input. Plain zero storage (see WorkBlock), nothing runs at the load; a string is found by its
// address first (the strings are literals) and then compared by content. A string that finds no room is
// parsed again at each use.
struct FormatCache {
    static constexpr std::size_t kSlots = 512;  // a power of two
    static constexpr std::size_t kNodes = 4096;
    static constexpr std::size_t kText = 32768;  // offsets within it fit 16 bits
    // Small, for the slots are spread over the table: a run touches few pages of it.
    struct Slot {
        const char* key;
        uint16_t length;
        uint16_t textAt;  // the string itself; its literals follow
        uint16_t nodesAt;
        uint16_t top;
        uint16_t topCount;
        uint16_t restart;
        bool dataAtRestart;
        bool used;
    };
    Slot slots[kSlots];
    FlatNode nodes[kNodes];
    char text[kText];
    uint32_t nodesUsed;
    uint32_t textUsed;
};

static_assert(std::is_trivial_v<FormatCache>, "the cache is plain zero storage");
static_assert(FormatCache::kText <= UINT16_MAX + 1 && FormatCache::kNodes <= UINT16_MAX + 1,
              "slots keep 16-bit offsets");

FormatCache g_ownFormats;  // where the work window cannot hold the cache

FormatCache& formatCache() {
    return WorkObject(WorkPiece::FormatCache, g_ownFormats);
}

// What does not fit the room left in the cache.
struct NoRoom {};

// The parse of one string into the free part of the cache; kept only when the caller counts it used.
struct CacheSink {
    FormatCache& c;
    std::size_t nodesAt;  // the string's first node
    std::size_t nodeCount = 0;
    std::size_t textEnd;  // offset after the text so far

    uint32_t addNodes(const FlatNode* items, std::size_t n) {
        if (n > FormatCache::kNodes - nodesAt - nodeCount) throw NoRoom{};
        std::copy(items, items + n, c.nodes + nodesAt + nodeCount);
        const uint32_t at = static_cast<uint32_t>(nodeCount);
        nodeCount += n;
        return at;
    }
    uint32_t textSize() const { return static_cast<uint32_t>(textEnd); }
    void addText(const char* chars, std::size_t n) {
        if (n > FormatCache::kText - textEnd) throw NoRoom{};
        std::memcpy(c.text + textEnd, chars, n);
        textEnd += n;
    }
    const FlatNode* nodes() const { return c.nodes + nodesAt; }
};

// The kept parse of `format`, made at its first use; false when there is no room for it.
bool cachedFormat(std::string_view format, FlatFormat& parsed) {
    FormatCache& c = formatCache();
    std::size_t slot = (reinterpret_cast<std::uintptr_t>(format.data()) >> 3) * 0x9E3779B97F4A7C15ULL >> 32;
    for (std::size_t probe = 0; probe * 2 <= FormatCache::kSlots; ++probe, ++slot) {
        FormatCache::Slot& s = c.slots[slot & (FormatCache::kSlots - 1)];
        if (!s.used) {
            const std::size_t textAt = c.textUsed;
            if (format.size() > FormatCache::kText - textAt || format.size() > UINT16_MAX) return false;
            std::memcpy(c.text + textAt, format.data(), format.size());
            CacheSink sink{c, c.nodesUsed, 0, textAt + format.size()};
            FlatFormat fresh{};
            try {
                parseFormat(format, sink, fresh.nodes, fresh);
            } catch (const NoRoom&) {
                return false;
            }
            c.nodesUsed = static_cast<uint32_t>(sink.nodesAt + sink.nodeCount);
            c.textUsed = static_cast<uint32_t>(sink.textEnd);
            s.key = format.data();
            s.length = static_cast<uint16_t>(format.size());
            s.textAt = static_cast<uint16_t>(textAt);
            s.nodesAt = static_cast<uint16_t>(sink.nodesAt);
            s.top = static_cast<uint16_t>(fresh.top);
            s.topCount = static_cast<uint16_t>(fresh.topCount);
            s.restart = static_cast<uint16_t>(fresh.restart);
            s.dataAtRestart = fresh.dataAtRestart;
            s.used = true;
        } else if (s.key != format.data() || s.length != format.size() ||
                   std::memcmp(c.text + s.textAt, format.data(), format.size()) != 0) {
            continue;
        }
        parsed = {c.nodes + s.nodesAt, c.text, s.top, s.topCount, s.restart, s.dataAtRestart};
        return true;
    }
    return false;
}

}  // namespace

struct EditFormat::Parsed : ParsedFormat {
    using ParsedFormat::ParsedFormat;
};

EditFormat::EditFormat(std::string_view format) : text_(format), parsed_(std::make_unique<Parsed>(text_)) {}

EditFormat::~EditFormat() = default;
EditFormat::EditFormat(EditFormat&&) noexcept = default;
EditFormat& EditFormat::operator=(EditFormat&&) noexcept = default;

void EditFormat::apply(const FormatItem* items, std::size_t count, std::string& out, FieldRange range) const {
    runFormat(text_, parsed_->view(), items, count, out, range);
}

void applyFormat(std::string_view format, const FormatItem* items, std::size_t count, std::string& out,
                 FieldRange range) {
    FlatFormat parsed;
    if (cachedFormat(format, parsed)) {
        runFormat(format, parsed, items, count, out, range);
    } else {
        EditFormat(format).apply(items, count, out, range);
    }
}

std::vector<std::string> formatRecords(std::string_view format, const std::vector<FormatItem>& items) {
    std::string text;
    EditFormat(format).apply(items.data(), items.size(), text);
    std::vector<std::string> records;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        records.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return records;
}

std::string formatI(long long value, int w, int minDigits) {
    std::string s;
    appendI(value, w, minDigits, s);
    return s;
}

namespace {

void appendI(long long value, int w, int minDigits, std::string& out) {
    unsigned long long magnitude =
        value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    char digits[24];
    const auto res = std::to_chars(digits, digits + sizeof digits, magnitude);
    const int count = static_cast<int>(res.ptr - digits);
    const int zeros = minDigits > count ? minDigits - count : 0;
    const int length = count + zeros + (value < 0 ? 1 : 0);
    if (length > w) {
        appendStars(w, out);
        return;
    }
    out.append(static_cast<std::size_t>(w - length), ' ');
    if (value < 0) out += '-';
    out.append(static_cast<std::size_t>(zeros), '0');
    out.append(digits, static_cast<std::size_t>(count));
}

void appendA(std::string_view text, int w, std::string& out) {
    if (w <= 0) return;
    const std::size_t width = static_cast<std::size_t>(w);
    if (text.size() >= width) {
        out.append(text.data(), width);
        return;
    }
    out.append(width - text.size(), ' ');
    out.append(text.data(), text.size());
}

}  // namespace

namespace {

// Rounds a string of decimal digits to its first `keep` digits, halves away from zero (the digits are an
// exact expansion carried far enough that a double can only be a tie if it is one exactly). Returns true
// when the carry adds a leading digit.
bool roundDigits(std::string& digits, std::size_t keep) {
    bool up = digits.size() > keep && digits[keep] >= '5';
    digits.resize(keep);
    if (!up) return false;
    for (std::size_t i = keep; i-- > 0;) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            return false;
        }
    }
    digits.insert(digits.begin(), '1');
    return true;
}

constexpr int kGuardDigits = 40;

unsigned long g_nonFiniteValues = 0;

bool nonFinite(double value) {
    if (std::isfinite(value)) return false;
    ++g_nonFiniteValues;
    return true;
}

// The exact decimal digits of |value| in fixed or scientific form, carried `guard` digits past `precision`.
std::string decimalDigits(double magnitude, std::chars_format form, int precision, int guard) {
    // A double has at most 309 integer digits; the fraction needs precision + guard more.
    char local[512];
    std::string large;
    char* begin = local;
    std::size_t size = sizeof local;
    if (static_cast<std::size_t>(330 + precision + guard) > size) {
        large.resize(static_cast<std::size_t>(330 + precision + guard));
        begin = large.data();
        size = large.size();
    }
    auto res = std::to_chars(begin, begin + size, magnitude, form, precision + guard);
    return res.ec == std::errc() ? std::string(begin, res.ptr) : std::string();
}

// One guard digit decides the rounding unless it is a 5, which may stand for an exact half: only then
// are the digits carried far enough to tell a tie from a near-tie.
std::string roundingDigits(double magnitude, std::chars_format form, int precision) {
    std::string digits = decimalDigits(magnitude, form, precision, 1);
    std::size_t guardAt = form == std::chars_format::scientific ? digits.find('e') : digits.size();
    if (guardAt != std::string::npos && guardAt > 0 && digits[guardAt - 1] == '5')
        digits = decimalDigits(magnitude, form, precision, kGuardDigits);
    return digits;
}

}  // namespace

unsigned long nonFiniteValuesFormatted() {
    return g_nonFiniteValues;
}

namespace {

std::string formatFExact(double value, int w, int d) {
    std::string exact = roundingDigits(std::fabs(value), std::chars_format::fixed, d);
    if (exact.empty()) return stars(w);
    std::size_t point = exact.find('.');
    std::string digits = exact.substr(0, point) + exact.substr(point + 1);
    std::size_t intDigits = point;
    if (roundDigits(digits, intDigits + static_cast<std::size_t>(d))) ++intDigits;
    std::string s = digits.substr(0, intDigits) + "." + digits.substr(intDigits);
    if (value < 0 && !allZeroDigits(digits)) s.insert(s.begin(), '-');
    if (static_cast<int>(s.size()) > w) {
        // The zero before the point is optional and goes first when the field is too narrow.
        std::size_t zero = s[0] == '-' ? 1 : 0;
        if (s.size() > zero + 1 && s[zero] == '0' && s[zero + 1] == '.') s.erase(zero, 1);
        if (static_cast<int>(s.size()) > w) return stars(w);
    }
    return rightAlign(s, w);
}

std::string formatEExact(double value, int w, int d, char letter) {
    std::string digits;
    int exponent = 0;
    if (value == 0.0) {
        digits.assign(static_cast<std::size_t>(d), '0');
    } else {
        // d significant digits; a carry such as 0.99996 -> 1.00 moves the exponent.
        std::string exact = roundingDigits(std::fabs(value), std::chars_format::scientific, d - 1);
        if (exact.empty()) return stars(w);
        std::size_t e = exact.find('e');
        for (std::size_t i = 0; i < e; ++i) {
            if (exact[i] != '.') digits += exact[i];
        }
        exponent = std::atoi(exact.c_str() + e + 1) + 1;
        if (roundDigits(digits, static_cast<std::size_t>(d))) {
            digits.pop_back();
            ++exponent;
        }
    }
    std::string exp;
    int magnitude = std::abs(exponent);
    char sign = exponent < 0 ? '-' : '+';
    if (magnitude <= 99) {
        exp = std::string(1, letter) + sign + (magnitude < 10 ? "0" : "") + std::to_string(magnitude);
    } else if (magnitude <= 999) {
        exp = std::string(1, sign) + std::to_string(magnitude);  // the letter gives way to a third digit
    } else {
        return stars(w);
    }
    std::string s = "0." + digits + exp;
    if (value < 0 && !allZeroDigits(digits)) s.insert(s.begin(), '-');
    if (static_cast<int>(s.size()) > w) {
        std::size_t zero = s[0] == '-' ? 1 : 0;
        s.erase(zero, 1);
        if (static_cast<int>(s.size()) > w) return stars(w);
    }
    return rightAlign(s, w);
}

// Sign, digits and exponent of a field laid out right-aligned in w characters; the zero before the point
// goes first when the field is too narrow, asterisks when even that does not fit.
void layOut(bool negative, const char* body, std::size_t length, int w, std::string& out) {
    std::size_t width = static_cast<std::size_t>(w < 0 ? 0 : w);
    std::size_t skip = 0;
    std::size_t total = length + (negative ? 1 : 0);
    if (total > width && length > 1 && body[0] == '0' && body[1] == '.') {
        skip = 1;
        --total;
    }
    if (total > width) {
        out.append(width, '*');
        return;
    }
    // Blanks, then sign and digits over the field's end, written in place. The body was put together a
    // character at a time: copied back the same way, each read takes its character straight from the write.
    const std::size_t at = out.size();
    out.append(width, ' ');
    char* end = &out[at] + width;
    const char* from = body + skip;
    char* to = end - (length - skip);
    for (std::size_t i = 0; i < length - skip; ++i) to[i] = from[i];
    if (negative) *(end - total) = '-';
}

// Rounds digits[0..keep) by digits[keep], halves away from zero; true when a carry adds a leading 1
// (the digits then read 1000..., still `keep` long).
bool roundUpDigits(char* digits, int keep) {
    if (digits[keep] < '5') return false;
    for (int i = keep - 1; i >= 0; --i) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            return false;
        }
    }
    digits[0] = '1';
    return true;
}

constexpr int kQuickPrecision = 30;

using u128 = unsigned __int128;

constexpr uint64_t kPow5[28] = {1ULL,
                                5ULL,
                                25ULL,
                                125ULL,
                                625ULL,
                                3125ULL,
                                15625ULL,
                                78125ULL,
                                390625ULL,
                                1953125ULL,
                                9765625ULL,
                                48828125ULL,
                                244140625ULL,
                                1220703125ULL,
                                6103515625ULL,
                                30517578125ULL,
                                152587890625ULL,
                                762939453125ULL,
                                3814697265625ULL,
                                19073486328125ULL,
                                95367431640625ULL,
                                476837158203125ULL,
                                2384185791015625ULL,
                                11920928955078125ULL,
                                59604644775390625ULL,
                                298023223876953125ULL,
                                1490116119384765625ULL,
                                7450580596923828125ULL};

constexpr uint64_t kPow10[20] = {1ULL,
                                 10ULL,
                                 100ULL,
                                 1000ULL,
                                 10000ULL,
                                 100000ULL,
                                 1000000ULL,
                                 10000000ULL,
                                 100000000ULL,
                                 1000000000ULL,
                                 10000000000ULL,
                                 100000000000ULL,
                                 1000000000000ULL,
                                 10000000000000ULL,
                                 100000000000000ULL,
                                 1000000000000000ULL,
                                 10000000000000000ULL,
                                 100000000000000000ULL,
                                 1000000000000000000ULL,
                                 10000000000000000000ULL};

// magnitude = m x 2^q exactly, for a finite magnitude > 0.
void binaryParts(double magnitude, uint64_t& m, int& q) {
    uint64_t bits = 0;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int biased = static_cast<int>(bits >> 52 & 0x7FF);
    m = bits & ((1ULL << 52) - 1);
    if (biased == 0) {
        q = -1074;  // subnormal
    } else {
        m |= 1ULL << 52;
        q = biased - 1075;
    }
}

// The digits of a magnitude that fits 64 bits, exactly: a double is m x 2^q with a 53-bit m, so
// magnitude x 10^k is m x 5^k x 2^(q+k), or m x 2^(q-j) / 5^j for k = -j, in 128-bit integers while
// 5^|k| fits 64 bits. Sets `whole` to the integer part of magnitude x 10^k and `up` to whether its
// fraction is at least one half; false when the product is beyond 128 bits or the whole part beyond 64.
bool scaledByPowerOfTen(double magnitude, int k, uint64_t& whole, bool& up) {
    if (k > 27 || k < -27) return false;
    uint64_t m = 0;
    int q = 0;
    binaryParts(magnitude, m, q);
    u128 quotient = 0;
    if (k >= 0) {
        const u128 a = static_cast<u128>(m) * kPow5[k];  // below 2^116
        const int shift = q + k;
        if (shift >= 0) {
            if (shift > 10) return false;
            quotient = a << shift;
            up = false;
        } else if (shift >= -120) {
            const int s = -shift;
            quotient = a >> s;
            up = ((a >> (s - 1)) & 1) != 0;
        } else {
            quotient = 0;
            up = false;
        }
    } else {
        const int j = -k;
        const int t = q - j;
        if (t >= 0) {
            if (t > 63) return false;
            const u128 numerator = static_cast<u128>(m) << t;
            if (numerator >> 64 == 0) {
                // In 64 bits, a far cheaper division; twice a remainder below 5^27 still fits.
                const uint64_t narrow = static_cast<uint64_t>(numerator);
                quotient = narrow / kPow5[j];
                up = 2 * (narrow % kPow5[j]) >= kPow5[j];
            } else {
                quotient = numerator / kPow5[j];
                up = 2 * (numerator % kPow5[j]) >= kPow5[j];
            }
        } else if (t >= -64) {
            const u128 denominator = static_cast<u128>(kPow5[j]) << -t;
            if (denominator >> 64 == 0) {
                // m is below 2^53: twice its remainder fits 64 bits.
                const uint64_t narrow = static_cast<uint64_t>(denominator);
                quotient = m / narrow;
                up = 2 * (m % narrow) >= narrow;
            } else {
                quotient = m / denominator;
                up = 2 * (m % denominator) >= denominator;
            }
        } else {
            quotient = 0;
            up = false;
        }
    }
    if (quotient >= static_cast<u128>(kPow10[19])) return false;
    whole = static_cast<uint64_t>(quotient);
    return true;
}

// Writes the `count` decimal digits of n, which has that many, to `digits`.
void writeDigits(uint64_t n, int count, char* digits) {
    static constexpr char kPairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    // Two digits at a time from the last one back.
    char* last = digits + count;
    while (n >= 100) {
        const unsigned pair = static_cast<unsigned>(n % 100);
        n /= 100;
        last -= 2;
        std::memcpy(last, kPairs + 2 * pair, 2);
    }
    if (n >= 10) {
        std::memcpy(last - 2, kPairs + 2 * n, 2);
    } else {
        *(last - 1) = static_cast<char>('0' + n);
    }
}

// Writes the decimal digits of n (at least one) to `digits`; returns their number.
int decimalDigitsOf(uint64_t n, char* digits) {
    int count = 1;
    while (count < 20 && n >= kPow10[count]) ++count;
    writeDigits(n, count, digits);
    return count;
}

// The fields whose digits a 64-bit integer holds are worked out exactly in integers.
constexpr int kIntegerDigits = 18;

// The F field in integers; false when its digits are beyond them.
bool appendFInteger(double value, int w, int d, std::string& out) {
    const double magnitude = std::fabs(value);
    uint64_t units = 0;  // the value in units of the last decimal, rounded
    if (magnitude != 0.0) {
        bool up = false;
        if (!scaledByPowerOfTen(magnitude, d, units, up)) return false;
        units += up ? 1 : 0;
        if (units >= kPow10[kIntegerDigits]) return false;
    }
    char digits[20];
    const int count = units == 0 ? 0 : decimalDigitsOf(units, digits);
    char body[kIntegerDigits + kQuickPrecision + 4];
    std::size_t n = 0;
    if (count <= d) {
        body[n++] = '0';
        body[n++] = '.';
        for (int i = count; i < d; ++i) body[n++] = '0';
        for (int i = 0; i < count; ++i) body[n++] = digits[i];
    } else {
        for (int i = 0; i < count - d; ++i) body[n++] = digits[i];
        body[n++] = '.';
        for (int i = count - d; i < count; ++i) body[n++] = digits[i];
    }
    layOut(value < 0 && count > 0, body, n, w, out);
    return true;
}

// The d significant digits of a magnitude (> 0) rounded halves away from zero, and the power of ten of
// the first: magnitude = 0.digits x 10^exponent. False when the integers cannot hold them.
bool significantDigits(double magnitude, int d, char* digits, int& exponent) {
    if (d > kIntegerDigits) return false;
    uint64_t m = 0;
    int q = 0;
    binaryParts(magnitude, m, q);
    // 10^(e-1) <= magnitude < 10^e; the estimate from the binary exponent is off by at most one.
    const int bits = 64 - __builtin_clzll(m);
    int e = (((q + bits - 1) * 78913) >> 18) + 1;  // floor(n log10 2) for |n| below 1700
    for (int attempt = 0; attempt < 3; ++attempt) {
        uint64_t whole = 0;
        bool up = false;
        if (!scaledByPowerOfTen(magnitude, d - e, whole, up)) return false;
        if (whole >= kPow10[d]) {
            ++e;
            continue;
        }
        if (whole < kPow10[d - 1]) {
            --e;
            continue;
        }
        whole += up ? 1 : 0;
        if (whole == kPow10[d]) {
            // 0.9999.. rounded up to 1.000..
            whole = kPow10[d - 1];
            ++e;
        }
        writeDigits(whole, d, digits);  // 10^(d-1) <= whole < 10^d
        exponent = e;
        return true;
    }
    return false;
}

}  // namespace

void appendF(double value, int w, int d, std::string& out) {
    if (nonFinite(value) || d < 0) {
        out += stars(w);
        return;
    }
    if (d > kQuickPrecision) {
        out += formatFExact(value, w, d);
        return;
    }
    if (appendFInteger(value, w, d, out)) return;
    // d + 2 decimals: two guard digits decide the rounding unless they read 50, which may stand for an
    // exact half; only then is the whole expansion looked at.
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed, d + 2);
    if (res.ec != std::errc()) {
        out += stars(w);
        return;
    }
    const char* end = res.ptr;
    const char* point = std::find(static_cast<const char*>(buf), end, '.');
    const int intDigits = static_cast<int>(point - buf);
    char digits[400];
    std::copy(static_cast<const char*>(buf), point, digits);
    std::copy(point + 1, end, digits + intDigits);
    const int keep = intDigits + d;
    if (digits[keep] == '5' && digits[keep + 1] == '0') {
        out += formatFExact(value, w, d);
        return;
    }
    int lead = 0;
    if (roundUpDigits(digits, keep)) {
        // 99.96 -> 100.0: one more integer digit
        digits[keep] = '0';
        lead = 1;
    }
    char body[420];
    std::size_t n = 0;
    const int shownInt = intDigits + lead;
    for (int i = 0; i < shownInt; ++i) body[n++] = digits[i];
    body[n++] = '.';
    for (int i = shownInt; i < keep + lead; ++i) body[n++] = digits[i];
    bool nonZero = false;
    for (int i = 0; i < keep + lead; ++i) nonZero = nonZero || digits[i] != '0';
    layOut(value < 0 && nonZero, body, n, w, out);
}

void appendE(double value, int w, int d, char letter, std::string& out) {
    if (nonFinite(value) || d < 1) {
        out += stars(w);
        return;
    }
    if (d > kQuickPrecision) {
        out += formatEExact(value, w, d, letter);
        return;
    }
    char digits[kQuickPrecision + 3];
    int exponent = 0;
    bool nonZero = false;
    if (value == 0.0) {
        std::fill(digits, digits + d, '0');
    } else if (significantDigits(std::fabs(value), d, digits, exponent)) {
        nonZero = true;
    } else {
        // d + 2 significant digits: two guard digits, as in the fixed form.
        char buf[64];
        auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, d + 1);
        if (res.ec != std::errc()) {
            out += stars(w);
            return;
        }
        int n = 0;
        const char* c = buf;
        for (; c < res.ptr && *c != 'e'; ++c) {
            if (*c != '.') digits[n++] = *c;
        }
        int e10 = 0;
        bool negativeExponent = false;
        for (++c; c < res.ptr; ++c) {
            if (*c == '-') {
                negativeExponent = true;
            } else if (*c != '+') {
                e10 = e10 * 10 + (*c - '0');
            }
        }
        exponent = (negativeExponent ? -e10 : e10) + 1;
        if (digits[d] == '5' && digits[d + 1] == '0') {
            out += formatEExact(value, w, d, letter);
            return;
        }
        if (roundUpDigits(digits, d)) ++exponent;
        for (int i = 0; i < d; ++i) nonZero = nonZero || digits[i] != '0';
    }
    char body[kQuickPrecision + 16];
    std::size_t n = 0;
    body[n++] = '0';
    body[n++] = '.';
    for (int i = 0; i < d; ++i) body[n++] = digits[i];
    const int magnitude = exponent < 0 ? -exponent : exponent;
    const char sign = exponent < 0 ? '-' : '+';
    if (magnitude <= 99) {
        body[n++] = letter;
        body[n++] = sign;
        body[n++] = static_cast<char>('0' + magnitude / 10);
        body[n++] = static_cast<char>('0' + magnitude % 10);
    } else if (magnitude <= 999) {
        body[n++] = sign;  // the letter gives way to a third digit
        body[n++] = static_cast<char>('0' + magnitude / 100);
        body[n++] = static_cast<char>('0' + magnitude / 10 % 10);
        body[n++] = static_cast<char>('0' + magnitude % 10);
    } else {
        out += stars(w);
        return;
    }
    layOut(value < 0 && nonZero, body, n, w, out);
}

std::string formatF(double value, int w, int d) {
    std::string s;
    appendF(value, w, d, s);
    return s;
}

std::string formatE(double value, int w, int d, char letter) {
    std::string s;
    appendE(value, w, d, letter, s);
    return s;
}

std::string formatA(std::string_view text, int w) {
    std::string s;
    appendA(text, w, s);
    return s;
}

namespace {

// The shortest digits that read back to the same double, with a decimal point or an exponent.
void appendListReal(double value, std::string& out) {
    if (nonFinite(value)) {
        out += value != value ? "NaN" : (value < 0 ? "-Infinity" : "Infinity");
        return;
    }
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    bool hasPoint = false;
    for (char* c = buf; c < res.ptr; ++c) {
        if (*c == 'e') *c = 'E';
        if (*c == '.' || *c == 'E') hasPoint = true;
    }
    out.append(buf, static_cast<std::size_t>(res.ptr - buf));
    if (!hasPoint) out += ".0";
}

}  // namespace

std::string listReal(double value) {
    std::string s;
    appendListReal(value, s);
    return s;
}

void appendListRecord(const FormatItem* items, std::size_t count, std::string& out) {
    if (count == 0) out += ' ';
    for (std::size_t i = 0; i < count; ++i) {
        const FormatItem& item = items[i];
        out += ' ';
        switch (item.kind()) {
            case FormatItem::Kind::Integer: {
                char buf[24];
                auto res = std::to_chars(buf, buf + sizeof buf, item.integer());
                out.append(buf, static_cast<std::size_t>(res.ptr - buf));
                break;
            }
            case FormatItem::Kind::Real:
                appendListReal(item.real(), out);
                break;
            case FormatItem::Kind::Text:
                out += item.text();
                break;
            case FormatItem::Kind::Logical:
                out += item.logical() ? 'T' : 'F';
                break;
        }
    }
    out += '\n';
}

std::string formatList(const std::vector<FormatItem>& items) {
    std::string line;
    appendListRecord(items.data(), items.size(), line);
    line.pop_back();
    return line;
}

}  // namespace velmor::rt
