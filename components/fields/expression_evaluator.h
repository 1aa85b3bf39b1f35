#pragma once

#include <string>

#include "fields/number_text.h"

namespace velmor::components {

// The arithmetic behind every numeric field and numeric table cell. The text is rewritten step by step:
// each innermost parenthesised group and each applied operator is replaced by its result written as
// text with 18 significant digits. Syntax errors raise EAssignError with "Entry could not be evaluated:",
// a carriage return and the reason; arithmetic faults (division by zero, logarithm or root of a negative
// number, overflow, an integer operand out of range) raise EMathError.
Extended EvaluateExpression(const std::string& Text);

// An entered value that the analysis can read: the engine reads every number of the project as a double,
// so a value beyond the double range raises EOverflow and a non-zero value below the smallest normal
// double raises EUnderflow. Every numeric field and table cell checks its entry with this, and the stored
// form of its entry where the project stores it converted (a length shown in feet and stored in inches).
Extended CheckEntryRange(Extended Value);

// Value of one operand: the constants pi and e, a function name followed by its argument, a factorial
// "x!", a hexadecimal integer "$ff" or a decimal number.
Extended EvaluateTerm(const std::string& Text);

// True for one of the 25 function names (any case), "!" or "$".
bool IsFunctionName(const std::string& Text);

// X! for a whole X, with the sign of X; a fraction raises EAssignError, a product too large EOverflow.
Extended Factorial(Extended X);
Extended Secant(Extended X);
Extended Cosecant(Extended X);

}  // namespace velmor::components
