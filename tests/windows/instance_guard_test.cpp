#include "app/instance_guard.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>

namespace yomitron {
namespace {

std::wstring UniqueName(const wchar_t* base) {
  return std::wstring(base) + L"-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
}

TEST(InstanceGuardTest, ASecondGuardOfTheSameNameSeesTheFirst) {
  const std::wstring name = UniqueName(L"yomitron");
  std::optional<InstanceGuard> first(std::in_place, name);
  EXPECT_FALSE(first->AnotherInstanceRuns());
  EXPECT_TRUE(first->Held());

  const InstanceGuard second(name);
  EXPECT_TRUE(second.AnotherInstanceRuns());
  EXPECT_FALSE(second.Held());

  // Letter case counts, like every object name of the system.
  const InstanceGuard otherCase(UniqueName(L"YOMITRON"));
  EXPECT_FALSE(otherCase.AnotherInstanceRuns());

  first.reset();  // the first instance ends
  const InstanceGuard later(name);
  EXPECT_FALSE(later.AnotherInstanceRuns());
}

TEST(InstanceGuardTest, AnObjectOfTheNameThatIsNoMutexCountsAsNone) {
  // Something else holds the name (here an event): the guard cannot be had, and the program
  // runs without one rather than refusing to start.
  const std::wstring name = UniqueName(L"taken");
  HANDLE event = CreateEventW(nullptr, FALSE, FALSE, name.c_str());
  ASSERT_NE(event, nullptr);
  const InstanceGuard guard(name);
  EXPECT_FALSE(guard.AnotherInstanceRuns());
  EXPECT_FALSE(guard.Held());
  CloseHandle(event);
}

}  // namespace
}  // namespace yomitron
