# The exact odds of quessar-cli chances.
add_executable(bench_odds OddsBench.cpp)
target_link_libraries(bench_odds PRIVATE quessar_core benchmark::benchmark benchmark::benchmark_main)

# Comparisons of quessar-cli chances: charts over targets, sweeps and their SVG.
add_executable(bench_chart ChartBench.cpp)
target_link_libraries(bench_chart PRIVATE quessar_core benchmark::benchmark benchmark::benchmark_main)
