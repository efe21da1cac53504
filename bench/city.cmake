quessar_add_benchmark(bench_city CityBench.cpp)
