#pragma once
// Runs a call that might hang on a thread of its own, so that a test waits for
// it no longer than it says: a hang fails that test instead of stopping the
// whole suite.
#include <chrono>
#include <future>
#include <memory>
#include <optional>
#include <thread>
#include <type_traits>

namespace serenitap::testing {

// What f returns, or nothing when it has not returned within the deadline.
// A call that hangs is left running, so f must own everything it uses
// (capture by value, shared pointers).
template <class F>
auto WithinDeadline(F f, std::chrono::milliseconds deadline = std::chrono::seconds(5))
    -> std::optional<std::invoke_result_t<F>> {
  using Result = std::invoke_result_t<F>;
  auto task = std::make_shared<std::packaged_task<Result()>>(std::move(f));
  std::future<Result> result = task->get_future();
  std::thread([task] { (*task)(); }).detach();
  if (result.wait_for(deadline) != std::future_status::ready) return std::nullopt;
  return result.get();
}

// True once holds() is; false if it still is not after ten seconds. It asks
// again while giving other threads and processes their turns, never sleeping.
template <class Holds>
bool Eventually(Holds holds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!holds() && std::chrono::steady_clock::now() < end) std::this_thread::yield();
  return holds();
}

}  // namespace serenitap::testing
