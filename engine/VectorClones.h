#pragma once

// The hot loops are built twice, for AVX2 and for any x86-64, and the loader picks the build the
// processor runs. Neither build contracts a multiply and an add into one rounding. Their helpers
// are forced inline, so that inside the AVX2 build they are built for AVX2 as well.
#define QUILLON_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#define QUILLON_INLINE_IN_CLONES [[gnu::always_inline]] inline
