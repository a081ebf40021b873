# The library graph of the project's own targets, drawn as docs/platform-libraries.png:
#   cmake --graphviz=build/graph/dovezi.dot build
#   sed '/subgraph clusterLegend/,/^}/d' build/graph/dovezi.dot | dot -Tpng -Gdpi=90 -o docs/platform-libraries.png
# Tests, benchmarks, fuzz targets, system libraries and the legend are left out.
set(GRAPHVIZ_GRAPH_NAME "Dovezi")
set(GRAPHVIZ_EXTERNAL_LIBS OFF)
set(GRAPHVIZ_GENERATE_PER_TARGET OFF)
set(GRAPHVIZ_GENERATE_DEPENDERS OFF)
set(GRAPHVIZ_IGNORE_TARGETS "^unit_" "^bench_" "Fuzz$" "^host_window$" "^x11_graphics_check$")
