#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

#include "fields/exceptions.h"
#include "fields/number_text.h"

namespace velmor::components {

// String helpers. Positions are 1-based as everywhere in the program; 0 means "not found".

// The character at `Index`, or the zero character when `Index` lies outside 1..length.
char CharAt(const std::string& S, int Index);
// The tail of `S` from position `From` to its end; the whole text for `From` below 1, empty beyond the end.
std::string CopyFrom(const std::string& S, int From);
// Position of `Sub` within the tail of `S` that starts at `From`, counted in that tail (1 = at `From`).
int PosFrom(const std::string& Sub, const std::string& S, int From);
int PosOrDefault(const std::string& Sub, const std::string& S, int Default);
// Position of `Sub` in `S`, or the length of `S` plus one.
int PosOrEnd(const std::string& Sub, const std::string& S);
// Every occurrence of `Old` replaced left to right; inserted text is never searched again. An empty `Old`
// matches nothing, so the text comes back unchanged.
std::string ReplaceAll(const std::string& S, const std::string& Old, const std::string& New);
// True when X is a whole number within the 32-bit signed range.
bool IsIntegral(Extended X);

// One argument of a formatted message: "%d" takes an integer, "%s" a text.
class FormatArg {
  public:
    template <class T, std::enable_if_t<std::is_integral_v<T>, int> = 0>
    FormatArg(T value) : isInteger_(true), integer_(static_cast<long long>(value)) {}
    FormatArg(const char* text) : text_(text) {}
    FormatArg(std::string text) : text_(std::move(text)) {}

    bool isInteger() const { return isInteger_; }
    long long integer() const { return integer_; }
    const std::string& text() const { return text_; }

  private:
    bool isInteger_ = false;
    long long integer_ = 0;
    std::string text_;
};

// Fills "%d", "%s" and "%%" of `Fmt` from `Args` in order. A directive without its argument, with an
// argument of the other kind, or one not listed raises EConvertError.
std::string formatText(const std::string& Fmt, std::initializer_list<FormatArg> Args);

// Contract checks. The exception class is the caller's choice; without one a failed check raises
// EAssertionFailed. The Fmt variants format the message only when they raise.
template <class E = EAssertionFailed>
void RaiseIf(bool Condition, const std::string& Msg) {
    if (Condition) throw E(Msg);
}
template <class E = EAssertionFailed>
void FailIf(bool Condition, const std::string& Msg) {
    if (Condition) throw E(Msg);
}
template <class E = EAssertionFailed>
void RaiseIfFmt(bool Condition, const std::string& Fmt, std::initializer_list<FormatArg> Args) {
    if (Condition) throw E(formatText(Fmt, Args));
}
template <class E = EAssertionFailed>
void FailIfFmt(bool Condition, const std::string& Fmt, std::initializer_list<FormatArg> Args) {
    if (Condition) throw E(formatText(Fmt, Args));
}
template <class E = EAssertionFailed>
void Require(bool Condition, const std::string& Msg) {
    if (!Condition) throw E(Msg);
}
template <class E = EAssertionFailed>
void Ensure(bool Condition, const std::string& Msg) {
    if (!Condition) throw E(Msg);
}
template <class E = EAssertionFailed>
void RequireFmt(bool Condition, const std::string& Fmt, std::initializer_list<FormatArg> Args) {
    if (!Condition) throw E(formatText(Fmt, Args));
}
template <class E = EAssertionFailed>
void EnsureFmt(bool Condition, const std::string& Fmt, std::initializer_list<FormatArg> Args) {
    if (!Condition) throw E(formatText(Fmt, Args));
}

// Integer helpers.
inline int IfThen(bool Flag, int A, int B) {
    return Flag ? A : B;
}
inline int Min(int A, int B) {
    return A < B ? A : B;
}
inline int Max(int A, int B) {
    return B < A ? A : B;
}
inline bool InRange(int Value, int Low, int High) {
    return Low <= Value && Value <= High;
}

// Folds `Fn` over `Values` from the left, starting with the first element. An empty array raises the
// list's index error, as reading its first element would.
template <class Fn>
int Reduce(Fn fn, const std::vector<int>& Values) {
    if (Values.empty()) throw EListError("List index out of bounds (0)");
    int result = Values.front();
    for (std::size_t i = 1; i < Values.size(); ++i) result = fn(result, Values[i]);
    return result;
}
inline int MinOf(const std::vector<int>& Values) {
    return Reduce(Min, Values);
}

// Number helpers.
// Nearest 64-bit integer, a half going to the even neighbour; a value outside the 64-bit range (or not a
// number) raises EInvalidOp.
std::int64_t RoundToInt64(Extended X);
Extended Abs(Extended X);
// X minus its integer part (truncated toward zero), so the sign is that of X.
Extended Frac(Extended X);

}  // namespace velmor::components
