#include "app/printing/RoundFloat.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

constexpr int SignificantDigits = 15;

} // namespace

double RoundFloat(double Value, int Digits) {
    if (Value == 0 || !std::isfinite(Value))
        return Value == 0 ? 0 : Value;
    const int decimals = Digits > 0 ? Digits : 0;

    // d.dddddddddddddde±x: the 15 significant digits and the power of ten of the first one.
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text, std::fabs(Value),
                                       std::chars_format::scientific, SignificantDigits - 1);
    const std::string scientific(text, written.ptr);
    const std::string digits = scientific.substr(0, 1) + scientific.substr(2, SignificantDigits - 1);
    int exponent = 0;
    const std::string exponentText = scientific.substr(scientific.find('e') + 1);
    std::from_chars(exponentText.data() + (exponentText[0] == '+'), exponentText.data() + exponentText.size(),
                    exponent);

    // Digits with a weight of at least 10^-decimals are kept; the first one dropped decides the rounding.
    const int kept = exponent + decimals + 1;
    std::string rounded;
    if (kept >= SignificantDigits) {
        rounded = digits + "e" + std::to_string(exponent - (SignificantDigits - 1));
    } else {
        std::int64_t units = 0;
        for (int i = 0; i < kept; ++i)
            units = units * 10 + (digits[i] - '0');
        if (kept >= 0 && digits[kept] >= '5')
            ++units;
        if (units == 0)
            return 0;
        rounded = std::to_string(units) + "e-" + std::to_string(decimals);
    }
    double result = 0;
    std::from_chars(rounded.data(), rounded.data() + rounded.size(), result);
    return Value < 0 ? -result : result;
}
