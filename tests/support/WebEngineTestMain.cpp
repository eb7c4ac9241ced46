// GoogleTest main for tests that build real windows: the web engine is prepared and the
// application object exists before any test runs, as in the program's own main block.
#include <gtest/gtest.h>

#include "browser/WebBrowser.h"
#include "services/Application.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TWebBrowser::PrepareEngine();
  TApplication application(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
