#include "SearchThreadPriority.h"

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

// The lowest priority there is: with four search threads on two cores, nice 10 still left a key
// press waiting half as long again for its picture as on an idle window. Other programs are
// mostly scheduled apart, in their session's or cgroup's group, so it is above all the window's
// own threads that the search gives way to.
constexpr int searchNiceness = 19;

} // namespace

void yieldToTheWindow() {
#ifdef __linux__
    // On Linux the nice value belongs to each thread, named by its thread id. Raising it is always
    // allowed; should it fail, the search runs as before.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), searchNiceness);
#endif
}
