// Which ways of summing the processor and the operating system allow: every
// test of the processor's features that the resampler makes.

#include "render/resample.h"
#include "render/resample_plan.h"

std::vector<ResampleInstructions> AvailableResampleInstructions() {
    std::vector<ResampleInstructions> available{ResampleInstructions::kPortable};
#ifdef TESSALINE_RESAMPLE_X86
    available.push_back(ResampleInstructions::kSse2);
    // The processor and the operating system (which must save the wider
    // registers) both have to allow AVX; the compiler's tests ask both.
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx")) available.push_back(ResampleInstructions::kAvx);
    if (__builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl") &&
        __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi")) {
        available.push_back(ResampleInstructions::kAvx512);
    }
#endif
    return available;
}

ResampleInstructions WidestResampleInstructions() {
    static const ResampleInstructions widest = AvailableResampleInstructions().back();
    return widest;
}
