quessar_add_benchmark(bench_dice DiceBench.cpp)
