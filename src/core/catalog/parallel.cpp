#include "parallel.h"

#include <exception>
#include <thread>

namespace vq {

void runAtOnce(const std::vector<std::function<void()>> &tasks) {
    if (tasks.empty())
        return;
    std::vector<std::exception_ptr> failed(tasks.size());
    auto guarded = [&](size_t i) {
        try {
            tasks[i]();
        } catch (...) {
            failed[i] = std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    threads.reserve(tasks.size() - 1);
    try {
        for (size_t i = 1; i < tasks.size(); ++i)
            threads.emplace_back(guarded, i);
    } catch (...) {
        // No thread to be had: the rest run here, one after another.
        for (size_t i = threads.size() + 1; i < tasks.size(); ++i)
            guarded(i);
    }
    guarded(0);
    for (std::thread &t : threads)
        t.join();
    for (const std::exception_ptr &f : failed)
        if (f)
            std::rethrow_exception(f);
}

} // namespace vq
