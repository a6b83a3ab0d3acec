// main() of the benchmarks that start the windowing layer: it is stopped before main() returns.
#include <benchmark/benchmark.h>

#include "ui/toolkit.h"

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    quillet::ui::stop_toolkit();
    return 0;
}
