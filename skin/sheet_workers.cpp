#include "skin/sheet_workers.h"

#include <algorithm>
#include <utility>

namespace qx::skin {

SheetWorkers::SheetWorkers(std::vector<SkinSheet> sheets, int threadCount)
    : sheets_(std::move(sheets)) {
    const auto count = std::min<std::size_t>(std::max(threadCount, 1), sheets_.size());
    threads_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        threads_.emplace_back([this] { Run(); });
    }
}

SheetWorkers::~SheetWorkers() {
    stopping_ = true;
    Join();
}

void SheetWorkers::Join() {
    for (std::thread& thread : threads_) {
        if (thread.joinable()) {
            thread.join();
        }
    }
}

void SheetWorkers::Run() {
    while (!stopping_) {
        const std::size_t index = next_.fetch_add(1);
        if (index >= sheets_.size()) {
            return;
        }
        sheets_[index].MakeNow();
    }
}

}  // namespace qx::skin
