#pragma once

#include <cfenv>

namespace quillon {

// Watches the floating-point status flags over a stretch of the fast path (engine/README.md). The
// caller's own flags are restored afterwards. Flags are per thread, so watches on different threads
// do not meet.
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
