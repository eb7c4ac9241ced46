#include <gtest/gtest.h>

#include "services/FilePath.h"

namespace {

TEST(FilePath, FolderPartRunsToTheLastSeparator) {
  EXPECT_EQ(ExtractFilePath("/home/u/page.htm"), "/home/u/");
  EXPECT_EQ(ExtractFilePath("new.htm"), "");
  EXPECT_EQ(ExtractFilePath("/page.htm"), "/");
}

}  // namespace
