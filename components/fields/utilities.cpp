#include "fields/utilities.h"

#include <cmath>

namespace velmor::components {

namespace {

// 1-based position of Sub in S, 0 when absent or when Sub is empty.
int pos(const std::string& Sub, const std::string& S) {
    if (Sub.empty()) return 0;
    const std::size_t found = S.find(Sub);
    return found == std::string::npos ? 0 : static_cast<int>(found) + 1;
}

}  // namespace

char CharAt(const std::string& S, int Index) {
    if (Index < 1 || static_cast<std::size_t>(Index) > S.size()) return '\0';
    return S[static_cast<std::size_t>(Index) - 1];
}

std::string CopyFrom(const std::string& S, int From) {
    if (From < 1) From = 1;
    if (static_cast<std::size_t>(From) > S.size()) return {};
    return S.substr(static_cast<std::size_t>(From) - 1);
}

int PosFrom(const std::string& Sub, const std::string& S, int From) {
    return pos(Sub, CopyFrom(S, From));
}

int PosOrDefault(const std::string& Sub, const std::string& S, int Default) {
    const int found = pos(Sub, S);
    return found == 0 ? Default : found;
}

int PosOrEnd(const std::string& Sub, const std::string& S) {
    return PosOrDefault(Sub, S, static_cast<int>(S.size()) + 1);
}

std::string ReplaceAll(const std::string& S, const std::string& Old, const std::string& New) {
    if (Old.empty()) return S;
    std::string result;
    std::size_t from = 0;
    for (std::size_t found = S.find(Old); found != std::string::npos; found = S.find(Old, from)) {
        result.append(S, from, found - from);
        result += New;
        from = found + Old.size();
    }
    result.append(S, from, std::string::npos);
    return result;
}

bool IsIntegral(Extended X) {
    return X >= -2147483648.0L && X <= 2147483647.0L && X == std::trunc(X);
}

std::string formatText(const std::string& Fmt, std::initializer_list<FormatArg> Args) {
    const auto invalid = [&Fmt]() {
        return EConvertError("Format '" + Fmt + "' invalid or incompatible with argument");
    };
    std::string result;
    auto arg = Args.begin();
    for (std::size_t i = 0; i < Fmt.size(); ++i) {
        if (Fmt[i] != '%') {
            result += Fmt[i];
            continue;
        }
        if (++i == Fmt.size()) throw invalid();
        const char directive = Fmt[i];
        if (directive == '%') {
            result += '%';
        } else if (directive == 'd' && arg != Args.end() && arg->isInteger()) {
            result += std::to_string((arg++)->integer());
        } else if (directive == 's' && arg != Args.end() && !arg->isInteger()) {
            result += (arg++)->text();
        } else {
            throw invalid();
        }
    }
    return result;
}

std::int64_t RoundToInt64(Extended X) {
    const Extended below = std::floor(X);
    const Extended fraction = X - below;
    Extended rounded = below;
    if (fraction > 0.5L || (fraction == 0.5L && std::fmod(below, 2.0L) != 0)) rounded = below + 1;
    // Both limits are exact in an Extended; the test is false for NaN as well.
    if (!(rounded >= -9223372036854775808.0L && rounded < 9223372036854775808.0L)) throw EInvalidOp();
    return static_cast<std::int64_t>(rounded);
}

Extended Abs(Extended X) {
    return std::fabs(X);
}

Extended Frac(Extended X) {
    return X - std::trunc(X);
}

}  // namespace velmor::components
