#include "Application.h"
#include "Startup.h"
#include "Unit1.h"
#include "WebBrowser.h"

int main(int argc, char** argv) {
  TWebBrowser::PrepareEngine();
  TApplication application(argc, argv);
  StartHighlighter();
  CreateForms();
  Form1->show();
  const int status = TApplication::exec();
  DestroyForms();
  return status;
}
