// One keystroke in the middle of a large page, from the key event to the end of the highlighting
// pass, with the real main window and pane offscreen; and the pass's parts on their own.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/Startup.h"
#include "app/Unit1.h"
#include "bench/support/CorpusPage.h"
#include "browser/WebBrowser.h"
#include "highlight/hltHTML.h"
#include "pane/RichEditPane.h"
#include "text/RtfReader.h"
#include "widgets/dxButton.h"
#include "windows/Unit4.h"

namespace {

std::string CorpusPage(std::size_t size) { return ::CorpusPage(VORN_CORPUS_DIR, size); }
std::string Utf8CorpusPage(std::size_t size) { return ::Utf8CorpusPage(VORN_CORPUS_DIR, size); }

std::string WriteRtf(const std::string& text) {
  ThltHTMLRTF highlighter;
  highlighter.SetSource(text);
  ThltMemoryStream stream;
  highlighter.WriteRTF(stream);
  return stream.TakeBytes();
}

// One keystroke, one highlighting pass: a character typed, then taken back by the next one.
class TKeystrokes {
public:
  TKeystrokes(TRichEditPane* pane, QString typed) : FPane(pane), FTyped(std::move(typed)) {}
  void Next() {
    if (FWasTyped) {
      QTest::keyClick(FPane, Qt::Key_Backspace);
    } else {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, FTyped);
      QApplication::sendEvent(FPane, &press);
    }
    FWasTyped = !FWasTyped;
  }

private:
  TRichEditPane* FPane;
  QString FTyped;
  bool FWasTyped = false;
};

// The main window with the page opened; the caret in the middle of it, typing the letter given.
class TEditor {
public:
  explicit TEditor(std::size_t size) : TEditor(CorpusPage(size), QStringLiteral("a")) {}
  TEditor(const std::string& page, const QString& typed)
      : FPane(CreateMainWindow()), FKeystrokes(FPane, typed) {
    Form1->resize(857, 300);
    const QString path = QDir::temp().filePath(QStringLiteral("vorn-bench.htm"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QByteArray::fromStdString(page));
    file.close();
    FPane->LoadFromFile(path);
    Form1->findChild<QLabel*>("lblsaved")->setText(QString());
    FPane->SetSelStart(static_cast<int>(FPane->Text().size() / 2));
    FPane->setFocus();
  }
  ~TEditor() { DestroyForms(); }
  TEditor(const TEditor&) = delete;
  TEditor& operator=(const TEditor&) = delete;

  void Keystroke() { FKeystrokes.Next(); }

private:
  static TRichEditPane* CreateMainWindow() {
    CreateForms();
    return Form1->findChild<TRichEditPane*>("Edit1");
  }

  TRichEditPane* FPane;
  TKeystrokes FKeystrokes;
};

void BM_Keystroke(benchmark::State& state) {
  TEditor editor(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) editor.Keystroke();
}

// A page in UTF-8, "é" typed and taken back.
void BM_KeystrokeUtf8(benchmark::State& state) {
  TEditor editor(Utf8CorpusPage(static_cast<std::size_t>(state.range(0))), QString::fromUtf8("\u00E9"));
  for (auto _ : state) editor.Keystroke();
}

// Opening a page in the pane: its encoding decided, its text shown, its colours laid over it.
// Argument 1 is a page in UTF-8, 0 one of the same size whose bytes are not.
void BM_Open(benchmark::State& state) {
  const std::size_t size = static_cast<std::size_t>(state.range(0));
  const std::string page = state.range(1) != 0 ? Utf8CorpusPage(size) : CorpusPage(size);
  TEditor editor(page, QStringLiteral("a"));
  TRichEditPane* pane = Form1->findChild<TRichEditPane*>("Edit1");
  const QString path = QDir::temp().filePath(QStringLiteral("vorn-bench.htm"));
  for (auto _ : state) {
    pane->LoadFromFile(path);
    QCoreApplication::processEvents();
  }
  state.SetLabel(EncodingName(pane->Encoding()));
}

// The reference the pass is measured against: the whole text scanned and written, and the
// whole document given to the pane.
void WholeDocumentPass(TRichEditPane& pane) {
  const int selStart = pane.SelStart();
  pane.SetPlainTextMode(false);
  pane.LoadFromStream(WriteRtf(pane.Text()));
  pane.SetPlainTextMode(true);
  pane.SetSelStart(selStart);
}

// A pane of the main window's size on its own, the whole-document pass run at each change.
void BM_KeystrokeWholeDocumentPass(benchmark::State& state) {
  TRichEditPane pane;
  pane.resize(857, 260);
  pane.LoadFromStream(CorpusPage(static_cast<std::size_t>(state.range(0))));
  WholeDocumentPass(pane);
  QObject::connect(&pane, &TRichEditPane::Change, [&pane] { WholeDocumentPass(pane); });
  pane.SetSelStart(static_cast<int>(pane.Text().size() / 2));
  pane.setFocus();
  TKeystrokes keystrokes(&pane, QStringLiteral("a"));
  for (auto _ : state) keystrokes.Next();
}

// The preview shown, as the user has it, with the untitled document's scratch folder in a home
// of its own.
class TPreviewedEditor : public TEditor {
public:
  explicit TPreviewedEditor(std::size_t size) : TEditor(size) {
    QDir(FHome.path()).mkdir(QStringLiteral("ferrundshared"));
    qputenv("HOME", QFile::encodeName(FHome.path()));
    Form4->show();
    Refresh();
  }
  // Update Preview: the scratch file written, the browser told, and the page loaded.
  void Refresh() {
    QSignalSpy loaded(&Form4->WebBrowser1(), &QWebEngineView::loadFinished);
    Form1->findChild<TdxButton*>(QStringLiteral("dxButton1"))->Click();
    loaded.wait(60000);
  }

private:
  QTemporaryDir FHome;
};

void BM_PreviewRefresh(benchmark::State& state) {
  TPreviewedEditor editor(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) editor.Refresh();
}

// A keystroke while the preview shows the page and the refresh the last one armed is pending.
void BM_KeystrokeWithPreview(benchmark::State& state) {
  TPreviewedEditor editor(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) editor.Keystroke();
}

void BM_PartScanAndWriteRtf(benchmark::State& state) {
  const std::string text = CorpusPage(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(WriteRtf(text));
}

void BM_PartScan(benchmark::State& state) {
  const std::string text = CorpusPage(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    ThltHTMLRTF highlighter;
    highlighter.SetSource(text);
    for (; !highlighter.AtEnd(); highlighter.NextToken()) benchmark::DoNotOptimize(highlighter.TokenText());
  }
}

void BM_PartReadRtf(benchmark::State& state) {
  const std::string rtf = WriteRtf(CorpusPage(static_cast<std::size_t>(state.range(0))));
  for (auto _ : state) {
    TRtfDocument document;
    TRtfReader reader(rtf);
    benchmark::DoNotOptimize(reader.Read(document));
  }
}

void BM_PartGetText(benchmark::State& state) {
  TEditor editor(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(Form1->findChild<TRichEditPane*>("Edit1")->Text());
}

constexpr int OneMB = 1 << 20;
constexpr int EightMB = 8 << 20;

}  // namespace

BENCHMARK(BM_Keystroke)->Arg(OneMB)->Arg(EightMB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeUtf8)->Arg(EightMB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Open)->Args({EightMB, 0})->Args({EightMB, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeWholeDocumentPass)->Arg(OneMB)->Arg(EightMB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PreviewRefresh)->Arg(OneMB)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(10);
BENCHMARK(BM_KeystrokeWithPreview)->Arg(OneMB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PartScanAndWriteRtf)->Arg(OneMB)->Arg(EightMB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PartScan)->Arg(OneMB)->Arg(EightMB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PartReadRtf)->Arg(OneMB)->Arg(EightMB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PartGetText)->Arg(OneMB)->Arg(EightMB)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  TWebBrowser::PrepareEngine();
  QApplication application(argc, argv);
  StartHighlighter();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
