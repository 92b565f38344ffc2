#include "platform/program_dir.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

namespace tess {
namespace {

struct ProgramDirTest : ::testing::Test {
  void SetUp() override {
    if (const char* old = getenv("TESSALY_HOME")) saved = old;
  }
  void TearDown() override {
    if (saved.empty())
      unsetenv("TESSALY_HOME");
    else
      setenv("TESSALY_HOME", saved.c_str(), 1);
  }
  std::string saved;
};

TEST_F(ProgramDirTest, HomeVariableNamesTheDirectory) {
  struct Case {
    const char* home;
    const char* relative;
    const char* path;
  } cases[] = {
      {"/opt/tessaly", "\\chat.ini", "/opt/tessaly/chat.ini"},
      {"/opt/tessaly/", "/info.kb", "/opt/tessaly/info.kb"},
      {"/opt/tessaly", "\\..\\common\\music\\", "/opt/tessaly/../common/music/"},
      {"/opt/tessaly", "tmp.GIF", "/opt/tessaly/tmp.GIF"},
      {"/", "/chat.ini", "/chat.ini"},
  };
  for (const auto& c : cases) {
    setenv("TESSALY_HOME", c.home, 1);
    EXPECT_EQ(ProgramPath(c.relative), c.path) << c.home << " " << c.relative;
  }
  setenv("TESSALY_HOME", "/opt/tessaly//", 1);
  EXPECT_EQ(ProgramDir(), "/opt/tessaly");
}

TEST_F(ProgramDirTest, WithoutHomeItIsTheExecutablesDirectory) {
  for (bool empty : {false, true}) {
    if (empty)
      setenv("TESSALY_HOME", "", 1);
    else
      unsetenv("TESSALY_HOME");
    const std::string dir = ProgramDir();
    EXPECT_TRUE(std::filesystem::path(dir).is_absolute()) << dir;
    EXPECT_TRUE(std::filesystem::is_regular_file(dir + "/program_dir_test")) << dir;
    EXPECT_EQ(ProgramPath("\\chat.ini"), dir + "/chat.ini");
  }
}

}  // namespace
}  // namespace tess
