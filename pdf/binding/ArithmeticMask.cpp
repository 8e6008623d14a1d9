#include "pdf/binding/ArithmeticMask.h"

namespace PDFium {

namespace {
constexpr std::uint16_t ExceptionMaskBits =
    0x003F; // invalid, denormal, zero divide, overflow, underflow, precision
}

#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))

std::uint16_t ReadFpuControlWord() {
    std::uint16_t word = 0;
    __asm__ __volatile__("fnstcw %0" : "=m"(word));
    return word;
}

void WriteFpuControlWord(std::uint16_t Word) {
    __asm__ __volatile__("fldcw %0" : : "m"(Word));
}

#else

std::uint16_t ReadFpuControlWord() {
    return 0;
}
void WriteFpuControlWord(std::uint16_t) {}

#endif

TArithmeticMask SetArithmeticMask() {
    const std::uint16_t word = ReadFpuControlWord();
    TArithmeticMask saved;
    saved.Fpu = word & ExceptionMaskBits;
    WriteFpuControlWord(word | ExceptionMaskBits);
    return saved;
}

void RestoreArithmeticMask(const TArithmeticMask& Mask) {
    const std::uint16_t word = ReadFpuControlWord();
    WriteFpuControlWord(
        static_cast<std::uint16_t>((word & ~ExceptionMaskBits) | (Mask.Fpu & ExceptionMaskBits)));
}

} // namespace PDFium
