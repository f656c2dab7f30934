// Preloaded into Octave under valgrind. libhwy, which Octave loads through
// its image libraries, measures its timer's resolution at start-up with
// RDTSCP, an instruction valgrind 3.19 cannot decode on processors that do
// not announce it: the process dies with SIGILL before any test runs. This
// answers the measurement instead; nothing the memory check looks at uses it.
#include <cstdint>

namespace hwy {
namespace platform {

// Ticks of the timer's finest step.
uint64_t TimerResolution() { return 1; }

}  // namespace platform
}  // namespace hwy
