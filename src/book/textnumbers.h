// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace korvin {

// Numbers read from text as the C library's atoi and atof read them: leading
// white space, an optional sign, then as many digits (and, for reals, a point,
// digits and an exponent) as stand there. Text that is not a number reads as 0.
// Never throws, never depends on the locale.
int toInteger(std::string_view text);
double toReal(std::string_view text);

// `value` with `decimals` digits after a point, as printf's "%.*f" writes it in
// the C locale; a value that is not finite is written as 0.
std::string decimalText(double value, int decimals);

}  // namespace korvin
