// The operators of the language, shared by constant folding and the interpreter.
#pragma once

#include <cstddef>
#include <cstdint>

#include "code/RValue.h"

namespace zorvex {

// Strings longer than this are refused by `+` and `*` rather than exhausting memory.
constexpr size_t kMaxStringLength = size_t{1} << 30;
inline constexpr char kStringTooLong[] = "Resulting string is too long.";

// Applies a unary operator (203 not, 210 plus, 211 minus, 220 complement) to x in place.
// Returns null on success, else the message (x unchanged).
const char* UnaryOperation(int32_t op, RValue& x);

// a = a op b for the binary operators (comparisons, logical, arithmetic, bitwise, shifts).
// Returns null on success, else the message; a failure leaves a unchanged. A string result
// longer than max_string fails with kStringTooLong.
const char* BinaryOperation(int32_t op, RValue& a, const RValue& b,
                            size_t max_string = kMaxStringLength);

// The pieces the interpreter's fast paths share with the general operations.
double IntegerDivide(double a, double b);  // b != 0; truncated quotient as a 32-bit integer
double ShiftLeft(double a, double b);
double ShiftRight(double a, double b);

}  // namespace zorvex
