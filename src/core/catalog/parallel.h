#pragma once

#include <functional>
#include <vector>

namespace vq {

// Runs every task at once: the first on the calling thread, each other on a thread of its own.
// Returns when all are done; the first failure is thrown again on the calling thread.
void runAtOnce(const std::vector<std::function<void()>> &tasks);

} // namespace vq
