// Masks floating-point exceptions while the engine renders or loads a text page: the engine's math may divide
// by zero or overflow, and a host with unmasked x87 exceptions would trap. Only the x87 control word is
// touched, on x86 and x86-64; elsewhere the guard does nothing.
#pragma once

#include <cstdint>

namespace PDFium {

struct TArithmeticMask {
    std::uint16_t Fpu = 0; // the six x87 exception-mask bits as they were
    std::uint16_t Sse = 0; // reserved; carries nothing here
};

// Sets all six x87 exception-mask bits and returns the previous ones.
TArithmeticMask SetArithmeticMask();

// Puts the six mask bits back as Mask holds them; precision and rounding control stay as they are now.
void RestoreArithmeticMask(const TArithmeticMask& Mask);

// Masks for the lifetime of the guard, restoring on every exit, exceptions included.
class ArithmeticMaskGuard {
public:
    ArithmeticMaskGuard() : FSaved(SetArithmeticMask()) {}
    ~ArithmeticMaskGuard() { RestoreArithmeticMask(FSaved); }
    ArithmeticMaskGuard(const ArithmeticMaskGuard&) = delete;
    ArithmeticMaskGuard& operator=(const ArithmeticMaskGuard&) = delete;

private:
    TArithmeticMask FSaved;
};

// The x87 control word itself, for tests and for the guard. Both are no-ops returning 0 off x86.
std::uint16_t ReadFpuControlWord();
void WriteFpuControlWord(std::uint16_t Word);

} // namespace PDFium
