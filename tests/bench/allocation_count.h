// Counts the allocations a stretch of code makes, for the benchmarks' word
// that a marker pass allocates nothing: every malloc, calloc and realloc of
// the C library, operator new's included, between a start and a stop.
// Single-threaded, as the script is.
#pragma once

// Starts counting from 0.
void allocation_count_start();

// Stops counting and returns how many allocations there were since the start.
long allocation_count_stop();
