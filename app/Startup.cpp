#include "app/Startup.h"

#include <QDir>
#include <QFileInfo>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "app/FontMetrics.h"
#include "app/Unit1.h"
#include "app/Unit3.h"
#include "app/Unit5.h"
#include "commands/FileDialogAction.h"
#include "services/Application.h"
#include "services/ErrorBox.h"
#include "windows/Unit2.h"
#include "windows/Unit4.h"

// The C library otherwise raises the size it maps on their own to that of each large buffer
// freed, and keeps the next ones of that size in its heap.
void KeepLargeBuffersApart() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
#endif
}

void StartHighlighter() {
  static const TQtFontMetrics metrics;
  SetFontMetricsProvider(&metrics);
}

void CreateForms() {
  Form1 = new TForm1;
  TApplication::SetMainForm(Form1);
  Form2 = new TForm2;
  Form3 = new TForm3;
  Form4 = new TForm4;
  Form1->CheckBox1Click();  // the browser and "Working offline" agree from the first moment
  Form5 = new TForm5;
  Form1->OfferShortcutsTo(Form4);
}

void OpenGivenFile(const QString& path) {
  const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
  RunGuarded([&absolute] { Form1->FileOpen1().Accept(absolute); });
}

void DestroyForms() {
  delete Form5;
  delete Form4;
  delete Form3;
  delete Form2;
  delete Form1;
  Form1 = nullptr;
  Form2 = nullptr;
  Form3 = nullptr;
  Form4 = nullptr;
  Form5 = nullptr;
}
