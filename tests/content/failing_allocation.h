#pragma once
// Out of memory on request: the test program replaces the global allocation
// functions, and after FailNextAllocation() the next allocation of this thread
// throws std::bad_alloc, once. Only code of the program lies between arming
// and the failing allocation in these tests, so the failure arises exactly
// where the program itself would meet it.
namespace serenitap::testing {

void FailNextAllocation();

}  // namespace serenitap::testing
