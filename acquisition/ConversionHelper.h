// The second thread of the two-thread frame conversion: started on first
// use and parked between frames, so that a frame pays a wake-up instead of
// a thread's start and join. The work is cut into parts that both threads
// claim one at a time, so a helper slow to wake (its core busy) costs the
// caller no more than the call that wakes it: the caller then runs every
// part itself.
#ifndef QUORVEL_ACQUISITION_CONVERSIONHELPER_H
#define QUORVEL_ACQUISITION_CONVERSIONHELPER_H

#include <cstdint>

// Runs part(context, i) for every i below `parts`, each once, on this
// thread and on the helper if it joins in time; returns when all have run.
// Without a thread to be had, this thread runs them all. One caller at a
// time (MATLAB's thread).
void runOnBothThreads(void (*part)(void* context, uint32_t index), void* context, uint32_t parts);

// Joins the helper (later work starts it again). The module stops it
// before it is unloaded, so that no thread of it outlives its code.
void stopConversionHelper();

#endif
