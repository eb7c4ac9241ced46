#include <gtest/gtest.h>

#include "commands/FileDialogAction.h"

namespace {

TEST(FileDialogAction, StoredFiltersKeepTheirDescriptionsAndMatchWhatTheyName) {
  EXPECT_EQ(TFileDialogAction::NameFilters("Html Files (*.html, *.htm)|*.htm;*.html|All Files(*.*)|*.*"),
            QStringList({"Html Files (*.html, *.htm) (*.htm *.html)", "All Files(*.*) (*)"}));
  EXPECT_EQ(
      TFileDialogAction::NameFilters("Htm Files(*.htm)|*.htm|Html Files(*.html)|*.html|All files(*.*)|*.*"),
      QStringList({"Htm Files(*.htm) (*.htm)", "Html Files(*.html) (*.html)", "All files(*.*) (*)"}));
  EXPECT_EQ(TFileDialogAction::TrimFolder("/home/u/"), "/home/u");
  EXPECT_EQ(TFileDialogAction::TrimFolder("/"), "/");
  EXPECT_EQ(TFileDialogAction::TrimFolder("c:/"), "c:/");
  EXPECT_EQ(TFileDialogAction::TrimFolder(""), "");
}

}  // namespace
