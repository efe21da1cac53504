# The exact odds of quessar-cli chances.
add_executable(bench_odds OddsBench.cpp)
target_link_libraries(bench_odds PRIVATE quessar_core benchmark::benchmark benchmark::benchmark_main)
