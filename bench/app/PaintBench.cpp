// Key press to the end of the pane's paint in a shown main window on a real X display (Xvfb
// with a window manager), against a bare QPlainTextEdit holding the same text in the same
// font; in the same run the first keystroke after opening, idle CPU, memory and a typed burst.
// Every page and editor runs in a process of its own, so memory and state start clean. A
// process's median and its first keystroke vary from one process to the next, so both are taken
// from several and their medians shown.
//
//   paint_bench                         every case, and the table with the ratios
//   paint_bench EDITOR KIND SIZE        one case: vorn or bare, page, utf8, line or dense, a size
//                                       in bytes
//   paint_bench EDITOR KIND SIZE keys   the keystrokes of one case only
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Startup.h"
#include "app/Unit1.h"
#include "bench/support/CorpusPage.h"
#include "browser/WebBrowser.h"
#include "highlight/hltHTML.h"
#include "pane/RichEditPane.h"

namespace {

constexpr int KeyCount = 41;        // the first after opening, then 40 alternating letter and Backspace
constexpr int TypingKeyCount = 11;  // in a process that only types
constexpr int KeyGapMs = 150;
constexpr int IdleMs = 10000;
constexpr int BurstKeys = 50;
constexpr int BurstGapMs = 30;
constexpr int ProcessesPerCase = 5;

// The end of the next paint of a viewport after Arm: the paint is passed on from inside the
// filter, so the clock stops when it is done.
class TPaintClock : public QObject {
public:
  explicit TPaintClock(QWidget* viewport) : FViewport(viewport) { viewport->installEventFilter(this); }

  void Arm() {
    FArmed = true;
    FPainted = false;
  }
  bool Painted() const { return FPainted; }
  qint64 PaintEndNs() const { return FEndNs; }
  qint64 PaintNs() const { return FEndNs - FStartNs; }
  static qint64 Now() {
    static QElapsedTimer clock = [] {
      QElapsedTimer started;
      started.start();
      return started;
    }();
    return clock.nsecsElapsed();
  }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != FViewport || event->type() != QEvent::Paint || !FArmed) return false;
    FViewport->removeEventFilter(this);
    FStartNs = Now();
    QCoreApplication::sendEvent(FViewport, event);
    FViewport->installEventFilter(this);
    FEndNs = Now();
    FArmed = false;
    FPainted = true;
    return true;
  }

private:
  QWidget* FViewport;
  bool FArmed = false;
  bool FPainted = false;
  qint64 FStartNs = 0;
  qint64 FEndNs = 0;
};

long ResidentBytes() {
  long pages = 0, resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * sysconf(_SC_PAGESIZE);
}

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// "page" is the real pages end to end, "utf8" those of them in UTF-8 with text beyond ASCII,
// "line" the real pages as one line, "dense" one line of short tags, a token every four bytes,
// the shape of a minified page.
std::string Page(const std::string& kind, std::size_t size) {
  if (kind == "utf8") return Utf8CorpusPage(VORN_CORPUS_DIR, size);
  if (kind == "dense") {
    const std::string_view tag = "<b>x</b>";
    std::string page;
    while (page.size() < size) page.append(tag);
    page.resize(size);
    return page;
  }
  std::string page = CorpusPage(VORN_CORPUS_DIR, size);
  if (kind == "line") {
    std::replace(page.begin(), page.end(), '\r', ' ');
    std::replace(page.begin(), page.end(), '\n', ' ');
  }
  return page;
}

// The font the pane shows highlighted text in.
QFont HighlightedFont() {
  TRichEditPane pane;
  ThltHTMLRTF highlighter;
  const std::string text = "<p>x</p>";
  highlighter.SetSource(text);
  pane.SetPlainTextMode(false);
  pane.LoadFromStream(highlighter.GetRTF());
  return pane.font();
}

// The editor under test: the program's main window with the page opened in it, or a bare
// editor window of the same size holding the same text.
class TSubject {
public:
  TSubject(const std::string& editor, const std::string& page, bool utf8) : FUtf8(utf8) {
    if (editor == "vorn") {
      CreateForms();
      // The preview's refresh a second after typing is the preview's cost, not the pane's.
      Form1->findChild<QCheckBox*>(QStringLiteral("Check1"))->setChecked(false);
      FWindow = Form1;
      FEditor = Form1->findChild<TRichEditPane*>(QStringLiteral("Edit1"));
    } else {
      FBare = std::make_unique<QMainWindow>();
      auto* bare = new QPlainTextEdit(FBare.get());
      bare->setLineWrapMode(QPlainTextEdit::NoWrap);
      bare->setFont(HighlightedFont());
      FBare->setCentralWidget(bare);
      FWindow = FBare.get();
      FEditor = bare;
    }
    FWindow->resize(900, 700);
    FWindow->show();
    if (!QTest::qWaitForWindowExposed(FWindow)) throw std::runtime_error("the window was never shown");
    FWindow->activateWindow();
    QTest::qWait(500);
    FEmptyBytes = ResidentBytes();
    Open(page);
    FEditor->setFocus();
    // What runs each time the program goes idle looks at the focused field, as it does for a
    // user; keys sent straight to an editor without the focus would leave that cost out.
    if (!QTest::qWaitFor([this] { return QApplication::focusWidget() == FEditor; }))
      throw std::runtime_error("the editor never had the focus");
    QTest::qWait(1000);
  }
  ~TSubject() {
    if (!FBare) DestroyForms();
  }
  TSubject(const TSubject&) = delete;
  TSubject& operator=(const TSubject&) = delete;

  QPlainTextEdit& Editor() const { return *FEditor; }
  long EmptyBytes() const { return FEmptyBytes; }

private:
  void Open(const std::string& page) {
    if (FBare) {
      FEditor->setPlainText(FUtf8 ? QString::fromUtf8(page.data(), qsizetype(page.size()))
                                  : QString::fromLatin1(page.data(), qsizetype(page.size())));
    } else {
      const QString path = QDir::temp().filePath(QStringLiteral("vorn-paint-bench.htm"));
      QFile file(path);
      file.open(QIODevice::WriteOnly);
      file.write(page.data(), qint64(page.size()));
      file.close();
      static_cast<TRichEditPane*>(FEditor)->LoadFromFile(path);
      QFile::remove(path);
    }
    QTextCursor caret(FEditor->document());
    caret.setPosition(FEditor->document()->characterCount() / 2);
    FEditor->setTextCursor(caret);
  }

  bool FUtf8;
  std::unique_ptr<QMainWindow> FBare;
  QWidget* FWindow = nullptr;
  QPlainTextEdit* FEditor = nullptr;
  long FEmptyBytes = 0;
};

// A letter, then the Backspace that takes it back, so the page keeps its size.
void Key(QPlainTextEdit& editor, int index, const QString& letter) {
  if (index % 2 != 0) {
    QTest::keyClick(&editor, Qt::Key_Backspace);
    return;
  }
  QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, letter);
  QApplication::sendEvent(&editor, &press);
}

// Milliseconds from each key press to the end of the paint that follows it, and of that the
// key's own handling and the paint.
struct TKeystrokes {
  std::vector<double> Latency;
  std::vector<double> Handling;
  std::vector<double> Paint;
};

TKeystrokes Keystrokes(QPlainTextEdit& editor, TPaintClock& clock, int count, const QString& letter) {
  TKeystrokes keys;
  for (int i = 0; i < count; ++i) {
    clock.Arm();
    const qint64 pressed = TPaintClock::Now();
    Key(editor, i, letter);
    keys.Handling.push_back(double(TPaintClock::Now() - pressed) / 1e6);
    if (!QTest::qWaitFor([&clock] { return clock.Painted(); }, 5000))
      throw std::runtime_error("no paint followed a key");
    keys.Latency.push_back(double(clock.PaintEndNs() - pressed) / 1e6);
    keys.Paint.push_back(double(clock.PaintNs()) / 1e6);
    QTest::qWait(KeyGapMs);
  }
  return keys;
}

std::vector<double> Later(const std::vector<double>& values) { return {values.begin() + 1, values.end()}; }

// Milliseconds from the first key of a burst to the end of the paint after the last; -1 when
// that paint did not come within a minute.
double Burst(QPlainTextEdit& editor, TPaintClock& clock, const QString& letter) {
  int sent = 0;
  QTimer keys;
  keys.setInterval(BurstGapMs);
  const qint64 start = TPaintClock::Now();
  QObject::connect(&keys, &QTimer::timeout, [&] {
    if (sent == BurstKeys - 1) {
      keys.stop();
      clock.Arm();
    }
    Key(editor, sent++, letter);
  });
  Key(editor, sent++, letter);
  keys.start();
  if (!QTest::qWaitFor([&] { return sent == BurstKeys && clock.Painted(); }, 60000)) return -1;
  return double(clock.PaintEndNs() - start) / 1e6;
}

double Percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  return values[std::min(values.size() - 1, std::size_t(share * double(values.size())))];
}

int RunCase(const std::string& editor, const std::string& kind, std::size_t size, bool keysOnly) {
  const std::string page = Page(kind, size);
  const bool utf8 = kind == "utf8";
  TSubject subject(editor, page, utf8);
  TPaintClock clock(subject.Editor().viewport());
  const QString letter = utf8 ? QString::fromUtf8("\u00E9") : QStringLiteral("a");
  const TKeystrokes keys = Keystrokes(subject.Editor(), clock, keysOnly ? TypingKeyCount : KeyCount, letter);
  const std::vector<double> later = Later(keys.Latency);
  if (keysOnly) {
    std::printf("median=%.2f first=%.2f\n", Percentile(later, 0.5), keys.Latency.front());
    return 0;
  }
  // Idle as a page just opened stands, with the caret at its start: a line that is long
  // there is drawn whole, and a blink would draw it again and again.
  clock.Arm();
  subject.Editor().moveCursor(QTextCursor::Start);
  if (!QTest::qWaitFor([&clock] { return clock.Painted(); }, 60000))
    throw std::runtime_error("no paint followed the move to the start");
  const double cpu = CpuSeconds();
  QTest::qWait(IdleMs);
  const double idle = (CpuSeconds() - cpu) / (IdleMs / 1000.0) * 100.0;
  const double bytesPerByte = double(ResidentBytes() - subject.EmptyBytes()) / double(size);
  const double burst = Burst(subject.Editor(), clock, letter);
  std::printf(
      "%s %s %zu median=%.2f p90=%.2f first=%.2f idle=%.2f bytes=%.1f burst=%.0f handling=%.2f paint=%.2f\n",
      editor.c_str(), kind.c_str(), size, Percentile(later, 0.5), Percentile(later, 0.9),
      keys.Latency.front(), idle, bytesPerByte, burst, Percentile(Later(keys.Handling), 0.5),
      Percentile(Later(keys.Paint), 0.5));
  return 0;
}

using TFigures = std::map<std::string, double>;

TFigures ParseFigures(const QString& line) {
  TFigures figures;
  for (const QString& field : line.split(u' ')) {
    const qsizetype equals = field.indexOf(u'=');
    if (equals > 0) figures[field.left(equals).toStdString()] = field.mid(equals + 1).toDouble();
  }
  return figures;
}

// One case in a process of its own; its figures, or none when it failed.
TFigures RunChild(const QString& self, const std::string& editor, const std::string& kind, std::size_t size,
                  bool keysOnly = false) {
  QStringList arguments{QString::fromStdString(editor), QString::fromStdString(kind), QString::number(size)};
  if (keysOnly) arguments << QStringLiteral("keys");
  QProcess child;
  child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  child.start(self, arguments);
  child.waitForFinished(-1);
  const QString out = QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed();
  return child.exitCode() == 0 ? ParseFigures(out) : TFigures{};
}

// A whole case, with its first keystroke and its median replaced by their medians over it and
// further processes that only type, and the ratio of the two.
TFigures RunCaseInProcesses(const QString& self, const std::string& editor, const std::string& kind,
                            std::size_t size) {
  TFigures figures = RunChild(self, editor, kind, size);
  if (figures.empty()) return figures;
  std::vector<double> firsts{figures.at("first")}, medians{figures.at("median")};
  for (int run = 1; run < ProcessesPerCase; ++run) {
    const TFigures keys = RunChild(self, editor, kind, size, true);
    if (keys.empty()) return {};
    firsts.push_back(keys.at("first"));
    medians.push_back(keys.at("median"));
  }
  figures["first"] = Percentile(firsts, 0.5);
  figures["median"] = Percentile(medians, 0.5);
  figures["firstratio"] = figures.at("first") / figures.at("median");
  return figures;
}

int RunAll(const QString& self) {
  const std::pair<const char*, std::size_t> cases[] = {
      {"page", 100 << 10}, {"page", 1 << 20}, {"page", 8 << 20}, {"utf8", 8 << 20},
      {"page", 32 << 20},  {"line", 5 << 20}, {"dense", 5 << 20}};
  std::printf("%-5s %9s | %-40s | %-40s | %s\n", "kind", "bytes",
              "vorn: median p90 first first/later idle% B/B", "bare: median p90 first first/later idle% B/B",
              "median ratio, burst ms (vorn, bare)");
  for (const auto& [kind, size] : cases) {
    const TFigures vorn = RunCaseInProcesses(self, "vorn", kind, size);
    const TFigures bare = RunCaseInProcesses(self, "bare", kind, size);
    if (vorn.empty() || bare.empty()) {
      std::printf("%-5s %9zu | a case failed\n", kind, size);
      continue;
    }
    const auto row = [](const TFigures& f) {
      static char text[128];
      std::snprintf(text, sizeof text, "%7.2f %7.2f %7.2f %5.2f %5.2f %5.1f", f.at("median"), f.at("p90"),
                    f.at("first"), f.at("firstratio"), f.at("idle"), f.at("bytes"));
      return std::string(text);
    };
    std::printf("%-5s %9zu | %-40s | %-40s | %5.2f, %.0f %.0f\n", kind, size, row(vorn).c_str(),
                row(bare).c_str(), vorn.at("median") / bare.at("median"), vorn.at("burst"), bare.at("burst"));
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) {
    std::fprintf(stderr, "paint_bench: needs an X display with a window manager (Xvfb and openbox)\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "xcb");
  if (argc == 1) {
    QCoreApplication application(argc, argv);
    return RunAll(QCoreApplication::applicationFilePath());
  }
  const bool keysOnly = argc == 5 && std::string(argv[4]) == "keys";
  if (argc != 4 && !keysOnly) {
    std::fprintf(stderr, "usage: paint_bench [vorn|bare page|utf8|line|dense SIZE [keys]]\n");
    return 2;
  }
  if (std::string(argv[1]) == "vorn") KeepLargeBuffersApart();
  TWebBrowser::PrepareEngine();
  QApplication application(argc, argv);
  StartHighlighter();
  return RunCase(argv[1], argv[2], std::stoul(argv[3]), keysOnly);
}
