#pragma once

#include <cfenv>

namespace quillon {

// Watches the floating-point status flags over a stretch of unchecked arithmetic: a fast path
// runs with plain IEEE arithmetic, and only when it raised a flag of a fault the program treats
// as an error does the checked path run again to find the first fault. The caller's own flags are
// restored afterwards. Flags are per thread, so guards on different threads do not meet.
class TFloatFaultWatch {
public:
    static constexpr int FaultFlags = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;

    TFloatFaultWatch() {
        std::fegetexceptflag(&saved_, FaultFlags);
        std::feclearexcept(FaultFlags);
    }
    ~TFloatFaultWatch() { std::fesetexceptflag(&saved_, FaultFlags); }
    TFloatFaultWatch(const TFloatFaultWatch&) = delete;
    TFloatFaultWatch& operator=(const TFloatFaultWatch&) = delete;

    // True when a fault flag was raised since the watch began or was last restarted. The
    // barrier keeps the compiler from moving the watched stores past the test.
    bool FaultSeen() const {
        asm volatile("" ::: "memory");
        return std::fetestexcept(FaultFlags) != 0;
    }

    void Restart() {
        asm volatile("" ::: "memory");
        std::feclearexcept(FaultFlags);
    }

private:
    std::fexcept_t saved_{};
};

} // namespace quillon
