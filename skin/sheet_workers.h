// Background threads that make a window's deferred sheets while its start-up goes on.
#pragma once

#include <atomic>
#include <cstddef>
#include <thread>
#include <vector>

#include "skin/skin_sheet.h"

namespace qx::skin {

class SheetWorkers {
  public:
    // Starts `threadCount` threads (at least one) that make `sheets` in their order and end
    // when none is left. A sheet somebody reads first is made by that reader instead.
    SheetWorkers(std::vector<SkinSheet> sheets, int threadCount);
    // Stops taking sheets and waits for those being made; sheets not started are left to be
    // made by whoever reads them.
    ~SheetWorkers();
    SheetWorkers(const SheetWorkers&) = delete;
    SheetWorkers& operator=(const SheetWorkers&) = delete;

    // Waits until the threads have ended (every sheet is made or being made by a reader).
    void Join();

  private:
    void Run();

    const std::vector<SkinSheet> sheets_;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> stopping_{false};
    std::vector<std::thread> threads_;
};

}  // namespace qx::skin
