#pragma once

// On x86-64 the hot loops are built twice, for AVX2 and for any x86-64, and the loader picks the
// build the processor runs. Neither build contracts a multiply and an add into one rounding.
// Their helpers are forced inline, so that inside the AVX2 build they are built for AVX2 as
// well. The loader's choice needs ELF indirect functions; other compilers and targets build the
// plain loops once.
#if defined(__x86_64__) && defined(__ELF__) && defined(__has_attribute)
#if __has_attribute(target_clones)
#define QUILLON_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#endif
#endif
#ifndef QUILLON_VECTOR_CLONES
#define QUILLON_VECTOR_CLONES
#endif
#define QUILLON_INLINE_IN_CLONES [[gnu::always_inline]] inline
