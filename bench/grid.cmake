# Benchmark programs of this area.
