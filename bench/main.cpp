// The benchmark program's entry: every bench/*.cpp registers its benchmarks.
#include <benchmark/benchmark.h>

BENCHMARK_MAIN();
