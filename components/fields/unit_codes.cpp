#include "fields/unit_codes.h"

#include <cmath>

#include "fields/utilities.h"

namespace velmor::components {

namespace {

// One code of a table: its text, the factor (English units per SI unit) and its names in unit systems 1, 2
// and 3.
struct UnitCode {
    const char* code;
    Extended factor;
    const char* names[3];
};

// One code table: the digits a force and a length code may carry (the first is the implicit one), the
// codes, and the order in which names replace codes (longer codes first, so "F2" is not read as "F").
struct CodeTable {
    const char* forceDigits;
    const char* lengthDigits;
    std::vector<UnitCode> codes;
    std::vector<const char*> replaceOrder;

    const UnitCode* find(const std::string& code) const {
        for (const auto& entry : codes) {
            if (code == entry.code) return &entry;
        }
        return nullptr;
    }
};

const CodeTable& plainTable() {
    static const CodeTable table{
        "012456",
        "0123",
        {
            {"F0", 224.8089237L, {"lbs", "kN", "F"}},
            {"F1", 0.224808924L, {"kips", "kN", "F"}},
            {"F2", 0.112404475L, {"tons", "kN", "F"}},
            {"F4", 5.7101483L, {"lb-sec2/in", "Mg", "M"}},
            {"F5", 1.0L, {"sec", "sec", "T"}},
            // A slug is a pound-second squared per foot: 224.8089237 / 3.280839895 slugs to the megagram.
            {"F6", 68.521759944034L, {"slug", "Mg", "F"}},
            {"L0", 39.37007874L, {"in", "m", "L"}},
            {"L1", 0.039370079L, {"in", "mm", "L"}},
            {"L2", 3.280839895L, {"ft", "m", "L"}},
            {"L3", 1.0L, {"rad", "rad", "L"}},
        },
        {"F2", "F1", "F4", "F5", "F6", "F", "L3", "L2", "L1", "L"},
    };
    return table;
}

const CodeTable& chartTable() {
    static const CodeTable table{
        "012",
        "012",
        {
            {"F0", 224.8089237L, {"lbs", "kN", "F"}},
            {"F1", 0.2248089237L, {"kips", "kN", "F"}},
            {"F2", 0.1124044745L, {"tons", "kN", "F"}},
            {"L0", 39.37007874L, {"in", "m", "L"}},
            {"L1", 0.03937007874L, {"in", "mm", "L"}},
            {"L2", 3.280839895L, {"ft", "m", "L"}},
        },
        {"F2", "F1", "F", "L2", "L1", "L"},
    };
    return table;
}

bool isDigitOf(char c, const char* digits) {
    if (c == '\0') return false;
    for (const char* d = digits; *d != '\0'; ++d) {
        if (*d == c) return true;
    }
    return false;
}

// A one-digit exponent; a character that is not a digit counts as exponent 1.
int exponentOf(char c) {
    return c >= '0' && c <= '9' ? c - '0' : 1;
}

Extended factorOf(const CodeTable& table, char letter, char digit) {
    const UnitCode* code = table.find(std::string{letter, digit});
    return code != nullptr ? code->factor : 1.0L;
}

Extended unitFactor(const CodeTable& table, std::string s) {
    Extended force = 1.0L;
    int forceExponent = 1;
    if (!s.empty() && s[0] == 'F') {
        if (!isDigitOf(CharAt(s, 2), table.forceDigits)) s.insert(1, 1, '0');
        force = factorOf(table, 'F', s[1]);
        if (CharAt(s, 3) == '^') {
            forceExponent = exponentOf(CharAt(s, 4));
            s = CopyFrom(s, 6);
        } else {
            s = CopyFrom(s, 4);
        }
    }
    Extended length = 1.0L;
    int lengthExponent = 1;
    if (!s.empty() && s[0] == 'L') {
        if (!isDigitOf(CharAt(s, 2), table.lengthDigits)) s.insert(1, 1, '0');
        length = factorOf(table, 'L', s[1]);
        if (s.size() >= 3) lengthExponent = exponentOf(CharAt(s, 4));
    }
    return std::pow(force, static_cast<Extended>(forceExponent)) *
           std::pow(length, static_cast<Extended>(lengthExponent));
}

Extended conversionFactor(const CodeTable& table, int from, int to, const std::string& code) {
    const std::size_t slash = code.find('/');
    const std::string numerator = code.substr(0, slash);
    const std::string denominator = slash == std::string::npos ? std::string() : code.substr(slash + 1);
    const Extended f = unitFactor(table, numerator) / unitFactor(table, denominator);
    if (from == 1 && to == 2) return 1.0L / f;
    if (from == 2 && to == 1) return f;
    return 1.0L;
}

std::string expandUnitNames(const CodeTable& table, const std::string& code, int units) {
    if (units < 1 || units > 3) return code;
    std::string result = code;
    for (const char* name : table.replaceOrder) {
        std::string key = name;
        if (key.size() == 1) key += '0';
        result = ReplaceAll(result, name, table.find(key)->names[units - 1]);
    }
    return result;
}

}  // namespace

Extended UnitFactor(const std::string& S) {
    return unitFactor(plainTable(), S);
}

Extended ChartUnitFactor(const std::string& S) {
    return unitFactor(chartTable(), S);
}

Extended ConversionFactor(int AFrom, int ATo, const std::string& ACode) {
    return conversionFactor(plainTable(), AFrom, ATo, ACode);
}

Extended ChartConversionFactor(int AFrom, int ATo, const std::string& ACode) {
    return conversionFactor(chartTable(), AFrom, ATo, ACode);
}

std::string ExpandUnitNames(const std::string& ACode, int AUnits) {
    return expandUnitNames(plainTable(), ACode, AUnits);
}

std::string ChartExpandUnitNames(const std::string& ACode, int AUnits) {
    return expandUnitNames(chartTable(), ACode, AUnits);
}

}  // namespace velmor::components
