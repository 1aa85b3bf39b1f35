#include "tables/col_stream.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace velmor::components {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

std::string quote(const std::string& value) {
    std::string out = "\"";
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    out += "\\x";
                    out += kHex[byte >> 4];
                    out += kHex[byte & 15];
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The string between the quotes of `text` (which starts at the opening quote); false when malformed.
bool unquote(const std::string& text, std::string& value) {
    if (text.size() < 2 || text.front() != '"') return false;
    value.clear();
    std::size_t i = 1;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"') return i + 1 == text.size();
        if (c != '\\') {
            value += c;
            ++i;
            continue;
        }
        if (i + 1 >= text.size()) return false;
        const char e = text[i + 1];
        i += 2;
        switch (e) {
            case '"':
                value += '"';
                break;
            case '\\':
                value += '\\';
                break;
            case 't':
                value += '\t';
                break;
            case 'n':
                value += '\n';
                break;
            case 'r':
                value += '\r';
                break;
            case 'x': {
                if (i + 1 >= text.size()) return false;
                const int high = hexValue(text[i]);
                const int low = hexValue(text[i + 1]);
                if (high < 0 || low < 0) return false;
                value += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            default:
                return false;
        }
    }
    return false;
}

bool parseFloat(const std::string& text, Extended& value) {
    if (text == "INF") {
        value = std::numeric_limits<Extended>::infinity();
        return true;
    }
    if (text == "-INF") {
        value = -std::numeric_limits<Extended>::infinity();
        return true;
    }
    if (text == "NAN") {
        value = std::numeric_limits<Extended>::quiet_NaN();
        return true;
    }
    return tryParseDecimal(text, value);
}

const char* typeName(TValueType type) {
    switch (type) {
        case TValueType::Integer:
            return "Integer";
        case TValueType::Boolean:
            return "Boolean";
        case TValueType::String:
            return "String";
        case TValueType::Extended:
            return "Extended";
        case TValueType::List:
            return "list begin";
        case TValueType::EndOfList:
            return "list end";
        case TValueType::EndOfStream:
            return "end of stream";
    }
    return "";
}

}  // namespace

void TColWriter::line(const std::string& s) {
    text_.append(static_cast<std::size_t>(2 * depth_), ' ');
    text_ += s;
    text_ += '\n';
}

void TColWriter::WriteInteger(int Value) {
    line("Int " + std::to_string(Value));
}

void TColWriter::WriteBoolean(bool Value) {
    line(Value ? "Bool True" : "Bool False");
}

void TColWriter::WriteString(const std::string& Value) {
    line("Str " + quote(Value));
}

void TColWriter::WriteFloat(Extended Value) {
    line("Float " + formatGeneral(Value, kFieldDigits));
}

void TColWriter::WriteListBegin() {
    line("List");
    ++depth_;
}

void TColWriter::WriteListEnd() {
    if (depth_ > 0) --depth_;
    line("End");
}

TColReader::TColReader(std::string Text) : text_(std::move(Text)) {}

void TColReader::fail(const std::string& what, int line) const {
    throw EReadError("Layout line " + std::to_string(line) + ": " + what);
}

const TColReader::Token& TColReader::peek() {
    if (peeked_) return next_;
    while (pos_ < text_.size()) {
        // One line, without its end (LF, CR LF or CR).
        std::size_t end = pos_;
        while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r') ++end;
        std::size_t start = pos_;
        pos_ = end;
        if (pos_ < text_.size()) {
            if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
            ++pos_;
        }
        ++line_;
        while (start < end && (text_[start] == ' ' || text_[start] == '\t')) ++start;
        while (end > start && (text_[end - 1] == ' ' || text_[end - 1] == '\t')) --end;
        if (start == end || text_[start] == '#') continue;
        const std::string content = text_.substr(start, end - start);
        const std::size_t blank = content.find_first_of(" \t");
        const std::string keyword = content.substr(0, blank);
        std::string rest;
        if (blank != std::string::npos) {
            const std::size_t valueStart = content.find_first_not_of(" \t", blank);
            rest = content.substr(valueStart);
        }
        next_ = Token{};
        next_.line = line_;
        next_.text = rest;
        if (keyword == "Int") {
            next_.type = TValueType::Integer;
        } else if (keyword == "Bool") {
            next_.type = TValueType::Boolean;
        } else if (keyword == "Str") {
            next_.type = TValueType::String;
            if (!unquote(rest, next_.text)) fail("malformed string " + rest, line_);
        } else if (keyword == "Float") {
            next_.type = TValueType::Extended;
        } else if (keyword == "List" && rest.empty()) {
            next_.type = TValueType::List;
        } else if (keyword == "End" && rest.empty()) {
            next_.type = TValueType::EndOfList;
        } else {
            fail("unknown value " + content, line_);
        }
        peeked_ = true;
        return next_;
    }
    next_ = Token{};
    next_.line = line_ + 1;
    peeked_ = true;
    return next_;
}

TColReader::Token TColReader::take(TValueType expected, const char* what) {
    const Token& token = peek();
    if (token.type != expected) {
        fail(std::string(what) + " expected, " + typeName(token.type) + " found", token.line);
    }
    peeked_ = false;
    return token;
}

TValueType TColReader::NextValue() {
    return peek().type;
}

int TColReader::Line() {
    return peek().line;
}

int TColReader::ReadInteger() {
    const Token& token = peek();
    int value = 0;
    const char* first = token.text.data();
    const char* last = first + token.text.size();
    if (token.type == TValueType::Integer) {
        const auto result = std::from_chars(first, last, value);
        if (result.ec != std::errc() || result.ptr != last || token.text.empty()) {
            fail("bad Integer " + token.text, token.line);
        }
    }
    take(TValueType::Integer, "Integer");
    return value;
}

bool TColReader::ReadBoolean() {
    const Token& token = peek();
    if (token.type == TValueType::Boolean && token.text != "True" && token.text != "False") {
        fail("bad Boolean " + token.text, token.line);
    }
    return take(TValueType::Boolean, "Boolean").text == "True";
}

std::string TColReader::ReadString() {
    return take(TValueType::String, "String").text;
}

Extended TColReader::ReadFloat() {
    if (peek().type == TValueType::Integer) return static_cast<Extended>(ReadInteger());
    const Token& token = peek();
    Extended value = 0;
    if (token.type == TValueType::Extended && !parseFloat(token.text, value)) {
        fail("bad Extended " + token.text, token.line);
    }
    take(TValueType::Extended, "Extended");
    return value;
}

void TColReader::ReadListBegin() {
    take(TValueType::List, "list begin");
}

void TColReader::ReadListEnd() {
    take(TValueType::EndOfList, "list end");
}

bool TColReader::EndOfList() {
    return peek().type == TValueType::EndOfList;
}

bool TColReader::AtEnd() {
    return peek().type == TValueType::EndOfStream;
}

std::vector<std::string> TColReader::ReadStringList() {
    ReadListBegin();
    std::vector<std::string> values;
    while (!EndOfList()) values.push_back(ReadString());
    ReadListEnd();
    return values;
}

}  // namespace velmor::components
