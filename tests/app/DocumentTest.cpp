#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <future>
#include <thread>

#include "app/Unit5.h"
#include "browser/WebBrowser.h"
#include "commands/FileDialogAction.h"
#include "services/RegularFile.h"
#include "services/Timer.h"
#include "tests/app/EditorFixture.h"
#include "tests/support/SmallFileSystem.h"
#include "widgets/dxButton.h"
#include "windows/Unit4.h"

namespace {

constexpr char Template[] =
    "<html>\r\n\r\n<head>\r\n<title>New Page</title>\r\n"
    "<meta name=\"GENERATOR\" content=\"Vorn Web Editor 3.0 Basic\">\r\n</head>\r\n";

// Windows-1252 text with bytes above 127 and both kinds of line end the pane keeps as CR LF.
const QByteArray Page = "<p>caf\xe9 \x80 \x9f\x81</p>\r\n<b>x</b>\r\n";

class DocumentTest : public EditorFixture {
protected:
  void SetUp() override {
    EditorFixture::SetUp();
    Start();
  }
  // Answers the next file dialog with a path, or cancels it when the path is empty. The name of
  // the dialog's last use may stand selected in its listing; typing into the focused name field
  // drops it, as clearing the selection does here.
  static void AnswerFileDialog(const QString& path) {
    WhenModalOpens(
        [path](QWidget* modal) {
          auto* dialog = static_cast<QFileDialog*>(modal);
          if (path.isEmpty()) return dialog->reject();
          for (auto* listing : dialog->findChildren<QAbstractItemView*>()) listing->clearSelection();
          dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);  // as the user types it
          static_cast<QDialog*>(dialog)->accept();
        },
        "QFileDialog");
  }
  void Open(const QString& path) {
    AnswerFileDialog(path);
    Control<QAction>(Form1, "FileOpen1")->trigger();
  }
  void SaveAs(const QString& path) {
    AnswerFileDialog(path);
    Control<QAction>(Form1, "FileSaveAs1")->trigger();
  }
  void Type(const char* text) {
    Edit1().setFocus();
    QTest::keyClicks(&Edit1(), text);
  }
  void Save() { Control<QAction>(Form1, "Action2")->trigger(); }
  // Answers the next message box with the button of that caption, taking its text.
  static void AnswerBox(const QString& button, QString* text) {
    WhenModalOpens(
        [button, text](QWidget* modal) {
          auto* box = static_cast<QMessageBox*>(modal);
          *text = box->text();
          for (QAbstractButton* each : box->buttons())
            if (each->text() == button) return each->click();
          ADD_FAILURE() << "no button " << button.toStdString() << " in " << text->toStdString();
          box->close();
        },
        "QMessageBox");
  }
  // Another program's save: a new file put in the document's place, as most editors and version
  // control write.
  void ChangeOnDisk(const QString& path, const QByteArray& bytes) {
    WriteFileBytes(path + ".other", bytes);
    ASSERT_TRUE(QFile::remove(path) && QFile::rename(path + ".other", path));
  }
  static void BecomeActive() { emit qApp->applicationStateChanged(Qt::ApplicationActive); }
  QString Saved() const { return Control<QLabel>(Form1, "lblsaved")->text(); }
};

TEST_F(DocumentTest, NewDiscardsChangesWithoutAsking) {
  Type("<p>draft");
  Control<QAction>(Form1, "Action1")->trigger();
  EXPECT_EQ(Edit1().Text(), Template);
  EXPECT_EQ(Saved(), "");
  EXPECT_EQ(Form1->CurrentFileName(), "new.htm");
  EXPECT_EQ(Form1->StatusPanelText(0), "new.htm");
  EXPECT_FALSE(Form1->Timer1().Enabled());
  ASSERT_TRUE(WaitForLoad(Form4->WebBrowser1()));
  EXPECT_EQ(Form4->WebBrowser1().title(), "Start page");
}

// The status bar names the open document's encoding at its right end: a new document is UTF-8,
// an opened one what its bytes call for. The file name and line panels stay as they are.
TEST_F(DocumentTest, TheStatusBarNamesTheEncodingOfTheOpenDocument) {
  EXPECT_EQ(Form1->StatusPanelText(2), "UTF-8");
  WriteFileBytes(Path("ansi.htm"), "<p>caf\xE9</p>");
  Open(Path("ansi.htm"));
  EXPECT_EQ(Form1->StatusPanelText(2), "Windows-1252");
  EXPECT_EQ(Form1->StatusPanelText(0), Path("ansi.htm"));
  WriteFileBytes(Path("utf8.htm"), "<p>caf\xC3\xA9</p>");
  Open(Path("utf8.htm"));
  EXPECT_EQ(Form1->StatusPanelText(2), "UTF-8");
  EXPECT_EQ(Edit1().document()->firstBlock().text(), QString::fromUtf8("<p>caf\u00E9</p>"));
  Open(Path("ansi.htm"));
  Control<QAction>(Form1, "Action1")->trigger();
  EXPECT_EQ(Form1->StatusPanelText(2), "UTF-8");
  EXPECT_GT(Control<QLabel>(Form1, "StatusBar1Panel2")->geometry().left(),
            Control<QLabel>(Form1, "StatusBar1Panel1")->geometry().left());
}

TEST_F(DocumentTest, OpenSaveAndSaveAsRoundTripTheFileByteForByte) {
  WriteFileBytes(Path("page.htm"), Page);
  Open(Path("page.htm"));
  EXPECT_EQ(Edit1().Text(), Page.toStdString());
  EXPECT_EQ(Form1->CurrentFileName(), Path("page.htm"));
  EXPECT_EQ(Form1->StatusPanelText(0), Path("page.htm"));
  EXPECT_EQ(Saved(), "");
  EXPECT_TRUE(Form1->Timer1().Enabled());

  SaveAs(Path("copy.htm"));
  EXPECT_EQ(ReadFileBytes(Path("copy.htm")), Page);
  EXPECT_EQ(Form1->CurrentFileName(), Path("copy.htm"));
  EXPECT_EQ(Form1->FileSaveAs1().InitialDir(), FFolder.path() + '/');

  Type("!");
  EXPECT_EQ(Saved(), "1");
  QApplication::setActiveWindow(Form1);  // shortcuts answer in the active window
  QTest::keyClick(&Edit1(), Qt::Key_F2);
  EXPECT_EQ(ReadFileBytes(Path("copy.htm")).size(), Page.size() + 1);
  EXPECT_EQ(Saved(), "");
  EXPECT_EQ(ReadFileBytes(Path("page.htm")), Page);
}

TEST_F(DocumentTest, TheDialogsRememberTheLastConfirmedFileAndFilter) {
  WriteFileBytes(Path("page.htm"), Page);
  Open(Path("page.htm"));
  QString shownName, shownFilter;
  WhenModalOpens(
      [&](QWidget* modal) {
        auto* dialog = static_cast<QFileDialog*>(modal);
        shownName = dialog->selectedFiles().value(0);
        shownFilter = dialog->selectedNameFilter();
        dialog->reject();
      },
      "QFileDialog");
  Control<QAction>(Form1, "FileOpen1")->trigger();
  EXPECT_EQ(shownName, Path("page.htm"));
  EXPECT_EQ(shownFilter, "Html Files (*.html, *.htm)");
  EXPECT_EQ(Form1->FileOpen1().FilterIndex(), 1);
}

TEST_F(DocumentTest, SavingAnUntitledDocumentAsksForANameAndCancellingWritesNothing) {
  AnswerFileDialog(QString());
  Save();  // untitled: Save runs Save As, whose dialog is cancelled
  EXPECT_EQ(Form1->CurrentFileName(), "new.htm");
  EXPECT_EQ(Saved(), "1");
  EXPECT_TRUE(QDir(FFolder.path()).entryList(QDir::Files).contains("vorn.vnx"));
  EXPECT_EQ(QDir(FFolder.path()).entryList(QDir::Files).size(), 1);

  AnswerFileDialog(Path("new.htm"));
  Save();
  EXPECT_EQ(ReadFileBytes(Path("new.htm")), QByteArray(Template));
  EXPECT_EQ(Form1->CurrentFileName(), Path("new.htm"));  // a named document now
  EXPECT_EQ(Saved(), "");
}

TEST_F(DocumentTest, AnUnwritableTargetReportsAndKeepsTheDocumentMarkedChanged) {
  QString message;
  const QString target = Path("missing/page.htm");
  AnswerFileDialog(target);
  AnswerErrorBox(&message);
  Control<QAction>(Form1, "FileSaveAs1")->trigger();
  EXPECT_EQ(message, "Cannot create file " + target + ".");
  EXPECT_EQ(Saved(), "1");
  EXPECT_EQ(Form1->CurrentFileName(), "new.htm");
  EXPECT_EQ(Form1->StatusPanelText(0), "new.htm");
}

TEST_F(DocumentTest, OpeningAFileThatCannotBeReadChangesNothing) {
  QString message;
  AnswerErrorBox(&message);
  Open(Path("absent.htm"));
  EXPECT_EQ(message, "Cannot open file " + Path("absent.htm") + ".");
  EXPECT_EQ(Edit1().Text(), Template);
  EXPECT_EQ(Form1->CurrentFileName(), "new.htm");
}

// Names that are not documents: a FIFO nobody writes to, a link to an endless device and a
// file over the size limit fail at once with the usual message, and nothing changes.
TEST_F(DocumentTest, OpenRefusesAnythingButARegularFileAtOnce) {
  ASSERT_EQ(::mkfifo(QFile::encodeName(Path("pipe.htm")).constData(), 0600), 0);
  ASSERT_TRUE(QFile::link("/dev/zero", Path("zero.htm")));
  QFile big(Path("big.htm"));
  ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(TRegularFile::MaxSize + 1));
  big.close();
  // Should the open wait on the FIFO, a writer comes after a while and the test fails.
  std::promise<void> opened;
  std::thread writer([&, done = opened.get_future()] {
    if (done.wait_for(std::chrono::seconds(10)) == std::future_status::ready) return;
    const int fd = ::open(QFile::encodeName(Path("pipe.htm")).constData(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0 && ::write(fd, "waited", 6) == 6) ::close(fd);
  });
  for (const char* name : {"pipe.htm", "zero.htm", "big.htm"}) {
    QString message;
    AnswerErrorBox(&message);
    Open(Path(name));
    EXPECT_EQ(message, "Cannot open file " + Path(name) + ".");
    EXPECT_EQ(Edit1().Text(), Template);
    EXPECT_EQ(Form1->CurrentFileName(), "new.htm");
  }
  opened.set_value();
  writer.join();
}

TEST_F(DocumentTest, SaveAsLeavesAFifoOrADeviceAsItWas) {
  QStringList targets{Path("pipe.htm")};
  ASSERT_EQ(::mkfifo(QFile::encodeName(targets[0]).constData(), 0600), 0);
  if (::mknod(QFile::encodeName(Path("null.htm")).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0)
    targets << Path("null.htm");
  else
    std::printf("[ SKIPPED  ] no device node: mknod is not permitted here\n");
  for (const QString& target : targets) {
    QString message;
    AnswerFileDialog(target);
    AnswerErrorBox(&message);
    Control<QAction>(Form1, "FileSaveAs1")->trigger();
    EXPECT_EQ(message, "Cannot create file " + target + ".");
    EXPECT_FALSE(QFileInfo(target).isFile());
    EXPECT_EQ(Saved(), "1");
    EXPECT_EQ(Form1->CurrentFileName(), "new.htm");
  }
}

TEST_F(DocumentTest, ClosingUnchangedEndsWithoutThePrompt) {
  Control<QAction>(Form1, "Action1")->trigger();
  bool prompted = false;
  WhenModalOpens(
      [&](QWidget* prompt) {
        prompted = true;
        prompt->hide();
      },
      "TForm5", 500);
  EXPECT_TRUE(Form1->close());  // a prompt would have been shown, and answered, inside the close
  EXPECT_FALSE(prompted);
}

TEST_F(DocumentTest, ThePromptsNoEndsWithoutSavingAndYesSaves) {
  WriteFileBytes(Path("page.htm"), Page);
  Open(Path("page.htm"));
  Edit1().SetSelStart(0);
  Type("x");
  WhenModalOpens(
      [](QWidget* prompt) {
        EXPECT_EQ(prompt->windowTitle(), "Do you want to save?");
        QTest::mouseClick(Control<TdxButton>(prompt, "dxButton2"), Qt::LeftButton);
      },
      "TForm5");
  EXPECT_TRUE(Form1->close());
  EXPECT_EQ(ReadFileBytes(Path("page.htm")), Page);

  Form1->show();
  WhenModalOpens(
      [](QWidget* prompt) { QTest::mouseClick(Control<TdxButton>(prompt, "dxButton1"), Qt::LeftButton); },
      "TForm5");
  EXPECT_TRUE(Form1->close());
  EXPECT_EQ(ReadFileBytes(Path("page.htm")), "x" + Page);
  EXPECT_FALSE(Form5->isVisible());
}

TEST_F(DocumentTest, AFailedSaveAfterYesKeepsThePromptOpen) {
  QString message;
  bool stillOpen = false;
  WhenModalOpens(
      [&](QWidget* prompt) {
        AnswerFileDialog(Path("missing/page.htm"));
        AnswerErrorBox(&message);
        QTest::mouseClick(Control<TdxButton>(prompt, "dxButton1"), Qt::LeftButton);
        stillOpen = prompt->isVisible();
        QTest::keyClick(prompt, Qt::Key_Escape);
        stillOpen = stillOpen && prompt->isVisible();
        QTest::mouseClick(Control<TdxButton>(prompt, "dxButton2"), Qt::LeftButton);
      },
      "TForm5");
  EXPECT_TRUE(Form1->close());
  EXPECT_EQ(message, "Cannot create file " + Path("missing/page.htm") + ".");
  EXPECT_TRUE(stillOpen);
}

// A disk that is full when F2 is pressed fails the save with the file's name, for a page below
// and one above the 16 KB a buffered writer holds: the file keeps its text and the document
// stays marked, so the close still offers to save it.
TEST_F(DocumentTest, ASaveOntoAFullDiskIsReportedAndTheFileKeepsItsText) {
  TSmallFileSystem disk;
  if (!disk.Mounted()) GTEST_SKIP() << disk.Why();
  const QString page = QString::fromStdString(disk.Path("page.htm"));
  WriteFileBytes(page, Page);
  Open(page);
  ASSERT_TRUE(disk.Fill(0));
  for (const int size : {10 * 1024, 40 * 1024}) {
    Edit1().insertPlainText(QString(size, 'x'));  // as a paste puts it in
    QString message;
    AnswerErrorBox(&message);
    Save();
    EXPECT_EQ(message, "Cannot create file " + page + ".");
    EXPECT_EQ(ReadFileBytes(page), Page);
    EXPECT_EQ(Saved(), "1");
  }
}

// Save asks before it overwrites what another program wrote since the document was opened or
// saved: Cancel writes nothing and keeps the document marked, Overwrite saves.
TEST_F(DocumentTest, SaveAsksBeforeOverwritingAnotherProgramsChange) {
  WriteFileBytes(Path("page.htm"), Page);
  Open(Path("page.htm"));
  Type("mine ");
  ChangeOnDisk(Path("page.htm"), "theirs");
  QString question;
  AnswerBox("Cancel", &question);
  Save();
  EXPECT_EQ(question, Path("page.htm") +
                          "\n\nThis file has been changed by another program since it was opened or saved. "
                          "Do you want to overwrite it with the text in the editor?");
  EXPECT_EQ(ReadFileBytes(Path("page.htm")), "theirs");
  EXPECT_EQ(Saved(), "1");

  // The save prompt's Yes meets the same question; Cancel keeps the prompt open.
  bool promptStayed = false;
  WhenModalOpens(
      [&](QWidget* prompt) {
        AnswerBox("Cancel", &question);
        Control<TdxButton>(prompt, "dxButton1")->Click();
        promptStayed = prompt->isVisible();
        AnswerBox("&Overwrite", &question);
        Control<TdxButton>(prompt, "dxButton1")->Click();
      },
      "TForm5");
  EXPECT_TRUE(Form1->close());
  EXPECT_TRUE(promptStayed);
  EXPECT_EQ(ReadFileBytes(Path("page.htm")), "mine " + Page);

  // Once saved, the file is the document's own again: no question.
  Form1->show();
  Type("more ");
  bool asked = false;
  WhenModalOpens([&](QWidget* box) { asked = true, box->close(); }, "QMessageBox");
  Save();  // a question would be asked, and answered, inside the save
  CancelModalAnswers();
  EXPECT_FALSE(asked);
  EXPECT_EQ(ReadFileBytes(Path("page.htm")).toStdString(), Edit1().Text());
  EXPECT_EQ(ReadFileBytes(Path("page.htm")).size(), Page.size() + 10);
}

// When the program becomes active again, an unchanged document is offered its file's new text,
// once for each change; a changed one is left for Save to ask; a file that is gone is told and
// the text kept, marked as changed.
TEST_F(DocumentTest, BecomingActiveOffersToReloadAFileAnotherProgramChanged) {
  WriteFileBytes(Path("page.htm"), Page);
  Open(Path("page.htm"));
  ChangeOnDisk(Path("page.htm"), "<p>theirs");
  QString question;
  AnswerBox("&Reload", &question);
  BecomeActive();
  EXPECT_EQ(question, Path("page.htm") +
                          "\n\nThis file has been changed by another program. Do you want to reload it?");
  EXPECT_EQ(Edit1().Text(), "<p>theirs");
  EXPECT_EQ(Saved(), "");

  ChangeOnDisk(Path("page.htm"), "<p>again");
  question.clear();
  AnswerBox("Keep", &question);
  BecomeActive();
  EXPECT_FALSE(question.isEmpty());
  EXPECT_EQ(Edit1().Text(), "<p>theirs");
  int asked = 0;
  WhenModalOpens([&](QWidget* box) { ++asked, box->close(); }, "QMessageBox");
  BecomeActive();  // the same change is not offered twice; an offer would be answered inside
  EXPECT_EQ(asked, 0);

  Type("mine ");
  ChangeOnDisk(Path("page.htm"), "<p>third");
  BecomeActive();  // a changed document is not offered a reload
  CancelModalAnswers();
  EXPECT_EQ(asked, 0);

  ASSERT_TRUE(QFile::remove(Path("page.htm")));
  AnswerBox("OK", &question);
  BecomeActive();
  EXPECT_EQ(question, Path("page.htm") +
                          "\n\nThis file has been deleted or moved by another program. The text stays in the "
                          "editor; save it to write the file again.");
  EXPECT_EQ(Edit1().Text(), "mine <p>theirs");
  EXPECT_EQ(Saved(), "1");
  Save();
  EXPECT_EQ(ReadFileBytes(Path("page.htm")), "mine <p>theirs");
}

}  // namespace
