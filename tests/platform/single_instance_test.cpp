#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

namespace tess {
namespace {

struct SingleInstanceTest : ::testing::Test {
  void SetUp() override {
    char tmpl[] = "/tmp/single-instance-test-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    root = tmpl;
    std::filesystem::create_directory(root + "/a");
    std::filesystem::create_directory(root + "/b");
  }
  void TearDown() override {
    if (child > 0) {
      kill(child, SIGKILL);
      waitpid(child, nullptr, 0);
    }
    std::filesystem::remove_all(root);
  }

  // Runs a copy in a child process that holds the lock on `dir` until it is
  // killed; returns once it holds it.
  void StartCopy(const std::string& dir) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    child = fork();
    if (child == 0) {
      InstanceLock lock(dir);
      const char held = lock.Held() ? 'y' : 'n';
      if (write(ready[1], &held, 1) != 1) _exit(1);
      for (;;) pause();
    }
    close(ready[1]);
    char held = 0;
    ASSERT_EQ(read(ready[0], &held, 1), 1);
    close(ready[0]);
    ASSERT_EQ(held, 'y');
  }

  std::string root;
  pid_t child = -1;
};

TEST_F(SingleInstanceTest, SecondCopyOnTheSameDirectoryIsRefusedUntilTheFirstEnds) {
  StartCopy(root + "/a");
  {
    InstanceLock second(root + "/a");
    EXPECT_FALSE(second.Held());
    EXPECT_TRUE(second.AnotherInstanceRunning());
  }
  kill(child, SIGKILL);  // however the first copy ends, the lock goes with it
  waitpid(child, nullptr, 0);
  child = -1;
  InstanceLock after(root + "/a");
  EXPECT_TRUE(after.Held());
  EXPECT_FALSE(after.AnotherInstanceRunning());
}

TEST_F(SingleInstanceTest, CopiesWithTheirOwnDirectoryRunSideBySide) {
  StartCopy(root + "/a");
  InstanceLock other(root + "/b");
  EXPECT_TRUE(other.Held());
  EXPECT_FALSE(other.AnotherInstanceRunning());
}

TEST_F(SingleInstanceTest, LockIsHeldForTheObjectsLifetime) {
  std::optional<InstanceLock> first(std::in_place, root + "/a");
  ASSERT_TRUE(first->Held());
  EXPECT_TRUE(InstanceLock(root + "/a").AnotherInstanceRunning());
  first.reset();
  EXPECT_TRUE(InstanceLock(root + "/a").Held());
}

TEST_F(SingleInstanceTest, MissingDirectoryNeitherHoldsNorRefuses) {
  InstanceLock lock(root + "/missing");
  EXPECT_FALSE(lock.Held());
  EXPECT_FALSE(lock.AnotherInstanceRunning());
}

}  // namespace
}  // namespace tess
