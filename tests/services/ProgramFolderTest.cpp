#include <gtest/gtest.h>

#include "services/ProgramFolder.h"

namespace {

TEST(ProgramFolder, IsTheProgramsOwnFolderUnlessATestPointsItElsewhere) {
  SetProgramFolder("/opt/vorn/");
  EXPECT_EQ(ProgramFolder(), "/opt/vorn/");
  SetProgramFolder({});
  EXPECT_TRUE(ProgramFolder().endsWith('/'));
}

}  // namespace
