#include "tests/support/fault_plan.h"

#include <array>
#include <mutex>
#include <optional>
#include <utility>

namespace vantrel::testing {
namespace {

struct Plan {
  std::array<int, std::size(fs::kOperations)> counts{};
  std::map<std::pair<fs::Operation, std::filesystem::path>, int> by_path;
  std::optional<fs::Operation> operation;
  std::filesystem::path path;  // any path when empty
  int nth = 0;
  int error_number = 0;          // fail the call with this, or
  std::function<void()> action;  // run this just before the call
};

std::mutex g_mutex;
Plan g_plan;

int Hook(fs::Operation operation, const std::filesystem::path& path) {
  std::function<void()> action;
  int error_number = 0;
  {
    const std::lock_guard lock(g_mutex);
    const int n = ++g_plan.counts[static_cast<std::size_t>(operation)];
    const int on_path = ++g_plan.by_path[{operation, path}];
    if (g_plan.operation != operation) return 0;
    if (g_plan.path.empty() ? n != g_plan.nth
                            : g_plan.path != path || on_path != g_plan.nth) {
      return 0;
    }
    action = g_plan.action;
    error_number = g_plan.error_number;
  }
  // Outside the lock: the action may touch the file system itself.
  if (action) action();
  return error_number;
}

void Install(Plan plan) {
  {
    const std::lock_guard lock(g_mutex);
    g_plan = std::move(plan);
  }
  fs::SetOperationHook(&Hook);
}

}  // namespace

void InjectFaultOn(fs::Operation operation, const std::filesystem::path& path,
                   int nth, int error_number) {
  Plan plan;
  plan.operation = operation;
  plan.path = path;
  plan.nth = nth;
  plan.error_number = error_number;
  Install(std::move(plan));
}

void BeforeOperation(fs::Operation operation, int nth,
                     std::function<void()> action) {
  Plan plan;
  plan.operation = operation;
  plan.nth = nth;
  plan.action = std::move(action);
  Install(std::move(plan));
}

void ClearFault() { Install(Plan{}); }

std::map<std::pair<fs::Operation, std::filesystem::path>, int>
OperationCountsByPath() {
  const std::lock_guard lock(g_mutex);
  return g_plan.by_path;
}

}  // namespace vantrel::testing
