#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <climits>
#include <random>

#include "pane/ColourRuns.h"
#include "pane/EncodedText.h"
#include "pane/NearViewLayouts.h"
#include "pane/RichEditPane.h"
#include "services/VornError.h"
#include "tests/text/HighlighterRtf.h"
#include "text/RtfReader.h"

namespace {

class RichEditPaneTest : public testing::Test {
protected:
  RichEditPaneTest() {
    Pane.resize(400, 300);
    Pane.show();
  }

  void LoadText(const std::string& text) { Pane.LoadFromStream(text); }

  void LoadRtf(const std::string& rtf) {
    Pane.SetPlainTextMode(false);
    Pane.LoadFromStream(rtf);
    Pane.SetPlainTextMode(true);
  }

  // The foreground colours laid over one block, as "start+length:#rrggbb" items.
  std::string ColoursOf(int block) const {
    std::string colours;
    for (const QTextLayout::FormatRange& range :
         Pane.document()->findBlockByNumber(block).layout()->formats())
      colours += std::to_string(range.start) + '+' + std::to_string(range.length) + ':' +
                 range.format.foreground().color().name().toStdString() + ' ';
    return colours;
  }

  QString Failure(const std::function<void()>& action) const {
    try {
      action();
    } catch (const EVornError& error) {
      return error.Message();
    }
    return {};
  }

  // One key press for each character, as a keyboard or input method delivers it.
  void Type(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
      const qsizetype length = text[i].isHighSurrogate() ? 2 : 1;
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text.mid(i, length));
      QApplication::sendEvent(&Pane, &press);
      i += length - 1;
    }
  }

  QString WriteFile(const QString& name, const QByteArray& bytes) const {
    const QString path = Folder.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }

  static QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  TRichEditPane Pane;
  QSignalSpy Changes{&Pane, &TRichEditPane::Change};
  QTemporaryDir Folder;
};

const char* const Template[] = {"<html>", "<head>", "<title></title>", "</head>", "<body>", "</html>"};

}  // namespace

TEST_F(RichEditPaneTest, PositionsCountCrLfAsTwo) {
  Pane.SetWordWrap(false);
  LoadText("ab\r\ncd\r\n\r\nef");
  EXPECT_EQ(Pane.LineIndex(0), 0);
  EXPECT_EQ(Pane.LineIndex(1), 4);
  EXPECT_EQ(Pane.LineIndex(2), 8);
  EXPECT_EQ(Pane.LineIndex(3), 10);
  EXPECT_EQ(Pane.LineIndex(4), -1);
  EXPECT_EQ(Pane.LineIndex(-2), -1);
  Pane.SetSelStart(10);
  EXPECT_EQ(Pane.SelStart(), 10);
  EXPECT_EQ(Pane.SelLength(), 0);
  EXPECT_EQ(Pane.CaretLine(), 3);
  EXPECT_EQ(Pane.LineIndex(-1), 10);
  Pane.SetSelStart(3);  // between CR and LF: the end of the line
  EXPECT_EQ(Pane.SelStart(), 2);
  Pane.SetSelStart(1);
  Pane.SetSelLength(5);
  EXPECT_EQ(Pane.SelStart(), 1);
  EXPECT_EQ(Pane.SelLength(), 5);
  EXPECT_EQ(Pane.textCursor().selectedText(), QString("b") + QChar::ParagraphSeparator + "cd");
  EXPECT_EQ(Pane.CaretLine(), 1);
  EXPECT_EQ(Pane.LineIndex(-1), 4);
  Pane.SetSelStart(-1);
  EXPECT_EQ(Pane.SelStart(), 12);
  Pane.SetSelStart(1000);
  EXPECT_EQ(Pane.SelStart(), 12);
}

TEST_F(RichEditPaneTest, AddLineAppendsByItsRulesWithOneChangeEach) {
  for (const char* line : Template) Pane.AddLine(line);
  EXPECT_EQ(Pane.Text(), "<html>\r\n<head>\r\n<title></title>\r\n</head>\r\n<body>\r\n</html>\r\n");
  EXPECT_EQ(Changes.count(), 6);
  EXPECT_EQ(Pane.LineCount(), 6);
  LoadText("x");
  Pane.AddLine("y");
  EXPECT_EQ(Pane.Text(), "x\r\ny");
  Changes.clear();
  EXPECT_EQ(Failure([this] { Pane.AddLine(std::string("a\0b", 3)); }), "RichEdit line insertion error");
  EXPECT_EQ(Pane.Text(), "x\r\ny");
  EXPECT_EQ(Changes.count(), 0);
}

TEST_F(RichEditPaneTest, LineCountLeavesOutAnEmptyLastLine) {
  EXPECT_EQ(Pane.LineCount(), 0);
  LoadText("a");
  EXPECT_EQ(Pane.LineCount(), 1);
  LoadText("a\r\nb");
  EXPECT_EQ(Pane.LineCount(), 2);
  LoadText("a\r\nb\r\n");
  EXPECT_EQ(Pane.LineCount(), 2);
  EXPECT_EQ(Pane.LineIndex(2), 6);  // the empty line after the final break still exists
  EXPECT_EQ(Pane.LineIndex(3), -1);
  Pane.Clear();
  EXPECT_EQ(Pane.LineCount(), 0);
  EXPECT_EQ(Pane.Text(), "");
}

TEST_F(RichEditPaneTest, WrappedLinesCountAsDisplayed) {
  Pane.SetWordWrap(true);
  std::string line;
  for (int i = 0; i < 100; ++i) line += "word ";
  LoadText(line + "\r\nend");
  const int count = Pane.LineCount();
  EXPECT_GT(count, 3);
  Pane.SetSelStart(-1);
  EXPECT_EQ(Pane.CaretLine(), count - 1);
  EXPECT_EQ(Pane.LineIndex(count - 1), int(line.size()) + 2);
  const int second = Pane.LineIndex(1);
  EXPECT_GT(second, 0);
  EXPECT_LT(second, int(line.size()));
  EXPECT_EQ(Pane.LineIndex(count), -1);
  Pane.SetWordWrap(false);
  EXPECT_EQ(Pane.LineCount(), 2);
}

TEST_F(RichEditPaneTest, ChangeHandlerChangesRaiseNoSecondChange) {
  int handled = 0;
  QObject::connect(&Pane, &TRichEditPane::Change, [this, &handled] {
    ++handled;
    Pane.AddLine("again");
    LoadText("reloaded");
    Pane.SetWordWrap(!Pane.WordWrap());
  });
  Pane.AddLine("first");
  EXPECT_EQ(handled, 1);
  EXPECT_EQ(Pane.Text(), "reloaded");
  QTest::keyClicks(&Pane, "ab");
  EXPECT_EQ(handled, 3);
}

TEST_F(RichEditPaneTest, HighlightingPassKeepsTextCaretAndUndo) {
  int passes = 0;
  QObject::connect(&Pane, &TRichEditPane::Change, [this, &passes] {
    ++passes;
    const int start = Pane.SelStart();
    LoadRtf(RtfOfLines(Pane.Text(), passes % 2 == 0 ? 4 : 9));
    Pane.SetSelStart(start);
  });
  QTest::keyClicks(&Pane, "<p>");
  QTest::keyClick(&Pane, Qt::Key_Return);
  QTest::keyClicks(&Pane, "{\\}");
  EXPECT_EQ(passes, 7);
  EXPECT_EQ(Pane.Text(), "<p>\r\n{\\}");
  EXPECT_EQ(Pane.SelStart(), 8);
  EXPECT_EQ(ColoursOf(1), "0+3:#ff0000 ");
  Pane.undo();
  EXPECT_EQ(Pane.Text(), "<p>\r\n");
  EXPECT_EQ(passes, 8);
}

TEST_F(RichEditPaneTest, WorkedExamplesReadBackExactlyWithTheirColours) {
  LoadRtf(HighlighterRtf("\\cf7 <\\cf4 b\\cf7 >\\cf8 x\\cf7 <\\cf4 /b\\cf7 >"));
  EXPECT_EQ(Pane.Text(), "<b>x</b>");
  EXPECT_EQ(ColoursOf(0), "0+3:#0000ff 3+1:#000000 4+4:#0000ff ");
  EXPECT_EQ(Pane.font().pointSizeF(), 10.0);
  EXPECT_EQ(QFontInfo(Pane.font()).fixedPitch(), true);
  LoadRtf(HighlighterRtf("\\cf7 <\\cf4 p\\cf7 >\\par\\cf5 \r\n\\cf7 <\\cf4 /p\\cf7 >"));
  EXPECT_EQ(Pane.Text(), "<p>\r\n</p>");
  LoadRtf(RtfOfLines("caf\xE9 \x80 {x}\r\n\\\r\n", 9));
  EXPECT_EQ(Pane.Text(), "caf\xE9 \x80 {x}\r\n\\\r\n");
  EXPECT_EQ(Pane.LineCount(), 2);
  EXPECT_EQ(ColoursOf(1), "0+1:#ff0000 ");
}

TEST_F(RichEditPaneTest, SameTextRecoloursOnlyChangedBlocksWithoutChange) {
  QTest::keyClicks(&Pane, "one");
  QTest::keyClick(&Pane, Qt::Key_Return);
  QTest::keyClicks(&Pane, "two");
  LoadRtf(RtfOfLines("one\r\ntwo", 4));
  const int changes = Changes.count();
  const QTextBlockUserData* first = Pane.document()->firstBlock().userData();
  LoadRtf(HighlighterRtf("\\cf4 one\\par\\cf5 \r\n\\cf4 t\\cf9 wo"));
  EXPECT_EQ(Changes.count(), changes);
  EXPECT_EQ(Pane.document()->firstBlock().userData(), first);
  EXPECT_EQ(ColoursOf(0), "0+3:#0000ff ");
  EXPECT_EQ(ColoursOf(1), "0+1:#0000ff 1+2:#ff0000 ");
  EXPECT_TRUE(Pane.document()->isUndoAvailable());
  Pane.undo();
  EXPECT_EQ(Changes.count(), changes + 1);
  EXPECT_NE(Pane.Text(), "one\r\ntwo");

  // Another text is a full reload.
  LoadRtf(RtfOfLines(Pane.Text() + "\r\nthree", 4));
  EXPECT_EQ(Changes.count(), changes + 2);
  EXPECT_FALSE(Pane.document()->isUndoAvailable());
}

TEST_F(RichEditPaneTest, StreamsThatAreNotRtfLoadAsPlainText) {
  LoadRtf("<p>hi</p>\r\n");
  EXPECT_EQ(Pane.Text(), "<p>hi</p>\r\n");
  LoadRtf("{\\rtf1 never closed");
  EXPECT_EQ(Pane.Text(), "{\\rtf1 never closed");
  const int changes = Changes.count();
  EXPECT_EQ(Failure([this] { LoadRtf(std::string("{\\rtf1 a\0}", 10)); }), "Failed to Load Stream");
  EXPECT_EQ(Failure([this] { LoadText(std::string("a\0", 2)); }), "Failed to Load Stream");
  EXPECT_EQ(Pane.Text(), "{\\rtf1 never closed");
  EXPECT_EQ(Changes.count(), changes);
}

TEST_F(RichEditPaneTest, FileLoadTakesEveryLineBreakAndRefusesNul) {
  Pane.LoadFromFile(WriteFile("breaks.htm", "a\rb\nc\r\nd\xE9"));
  EXPECT_EQ(Pane.Text(), "a\r\nb\r\nc\r\nd\xE9");
  EXPECT_EQ(Changes.count(), 1);
  const QString nul = WriteFile("nul.htm", QByteArray("x\0y", 3));
  EXPECT_EQ(Failure([&] { Pane.LoadFromFile(nul); }), "Cannot open file " + nul);
  const QString missing = Folder.filePath("missing.htm");
  EXPECT_EQ(Failure([&] { Pane.LoadFromFile(missing); }), "Cannot open file " + missing);
  EXPECT_EQ(Pane.Text(), "a\r\nb\r\nc\r\nd\xE9");
  EXPECT_EQ(Changes.count(), 1);
  Pane.SetPlainTextMode(false);
  Pane.LoadFromFile(WriteFile("doc.rtf", QByteArray::fromStdString(RtfOfLines("r", 9))));
  EXPECT_EQ(Pane.Text(), "r");
  EXPECT_EQ(ColoursOf(0), "0+1:#ff0000 ");
}

TEST_F(RichEditPaneTest, SaveWritesTheTextOrKeepsTheOldFile) {
  LoadText("a\r\n\xE9\r\n");
  const QString path = Folder.filePath("page.htm");
  Pane.SaveToFile(path);
  EXPECT_EQ(ReadFile(path), "a\r\n\xE9\r\n");
  const QString missing = Folder.filePath("no/such/page.htm");
  EXPECT_EQ(Failure([&] { Pane.SaveToFile(missing); }), "Cannot create file " + missing);
  ASSERT_TRUE(QDir(Folder.path()).mkdir("folder"));
  const QString folder = Folder.filePath("folder");
  EXPECT_EQ(Failure([&] { Pane.SaveToFile(folder); }), "Cannot create file " + folder);
  EXPECT_TRUE(QFileInfo(folder).isDir());
  if (geteuid() != 0) {
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    QFile::setPermissions(Folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    LoadText("new");
    EXPECT_EQ(Failure([&] { Pane.SaveToFile(path); }), "Cannot create file " + path);
    QFile::setPermissions(Folder.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(ReadFile(path), "a\r\n\xE9\r\n");
  }
}

TEST_F(RichEditPaneTest, RtfSaveLoadsBackWithTheSameColours) {
  LoadRtf(HighlighterRtf("\\cf7 <\\cf4 b\\cf7 >\\par\\cf5 \r\n\\cf9 \\{\\\\\\}\xE9"));
  const QString path = Folder.filePath("page.rtf");
  Pane.SetPlainTextMode(false);
  Pane.SaveToFile(path);
  EXPECT_TRUE(ReadFile(path).startsWith("{\\rtf"));
  TRichEditPane copy;
  copy.SetPlainTextMode(false);
  copy.LoadFromFile(path);
  EXPECT_EQ(copy.Text(), "<b>\r\n{\\}\xE9");
  EXPECT_EQ(copy.font(), Pane.font());
  for (int block = 0; block < 2; ++block)
    EXPECT_EQ(copy.document()->findBlockByNumber(block).layout()->formats(),
              Pane.document()->findBlockByNumber(block).layout()->formats());
}

TEST_F(RichEditPaneTest, InputTheCodePageCannotHoldBecomesReferences) {
  Type(QString::fromUtf8("\u20AC\u4E2D\U0001F600"));
  EXPECT_EQ(Pane.Text(), "\x80&#20013;&#128512;");
  EXPECT_EQ(Pane.SelStart(), 18);
  Pane.undo();  // a reference goes with the key press that brought it
  EXPECT_EQ(Pane.Text(), "\x80&#20013;");
  Pane.Clear();
  QTest::keyClicks(&Pane, "a");
  QTest::keyClick(&Pane, Qt::Key_Return, Qt::ShiftModifier);
  QTest::keyClicks(&Pane, "b");
  EXPECT_EQ(Pane.Text(), "a\r\nb");
  EXPECT_EQ(Pane.LineCount(), 2);
  Pane.Clear();
  Pane.insertPlainText(QString::fromUtf8("1\r\n2\r3\n4") + QChar(0) + QString::fromUtf8("\u0100"));
  EXPECT_EQ(Pane.Text(), "1\r\n2\r\n3\r\n4&#0;&#256;");
}

TEST_F(RichEditPaneTest, PasteGivesLineBreaksAndReferences) {
  QApplication::clipboard()->setText(QString::fromUtf8("x\r\ny\u4E2D"));
  Changes.clear();
  Pane.paste();
  EXPECT_EQ(Pane.Text(), "x\r\ny&#20013;");
  EXPECT_EQ(Changes.count(), 1);
}

TEST_F(RichEditPaneTest, WordWrapSwitchKeepsContentAndColoursWithOneChange) {
  Pane.SetWordWrap(true);
  LoadRtf(HighlighterRtf("\\cf7 <\\cf4 b\\cf7 >\\cf8 x"));
  Changes.clear();
  Pane.SetWordWrap(false);
  EXPECT_FALSE(Pane.WordWrap());
  EXPECT_EQ(Pane.lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_EQ(Changes.count(), 1);
  EXPECT_EQ(Pane.Text(), "<b>x");
  EXPECT_EQ(ColoursOf(0), "0+3:#0000ff 3+1:#000000 ");
  Pane.SetWordWrap(false);
  EXPECT_EQ(Changes.count(), 1);
  Pane.SetWordWrap(true);
  EXPECT_EQ(Changes.count(), 2);
  EXPECT_EQ(ColoursOf(0), "0+3:#0000ff 3+1:#000000 ");
}

TEST_F(RichEditPaneTest, SelectionChangeFollowsCaretMoves) {
  LoadText("abc\r\ndef");
  QSignalSpy moves(&Pane, &TRichEditPane::SelectionChange);
  Pane.SetSelStart(5);
  EXPECT_EQ(moves.count(), 1);
  Pane.SetSelStart(5);
  EXPECT_EQ(moves.count(), 1);
  Pane.SetSelLength(2);
  EXPECT_EQ(moves.count(), 2);
  QTest::keyClick(&Pane, Qt::Key_Left);
  EXPECT_EQ(moves.count(), 3);
  EXPECT_EQ(Pane.SelLength(), 0);
}

TEST_F(RichEditPaneTest, RecolouringFollowsEditsOfLinesTakenUnchanged) {
  const auto colourOf = [](const std::string& line) { return line.empty() || line[0] != 't' ? 9 : 4; };
  QObject::connect(&Pane, &TRichEditPane::Change, [this, &colourOf] {
    const int start = Pane.SelStart();
    LoadRtf(RtfOfLines(Pane.Text(), colourOf));
    Pane.SetSelStart(start);
  });
  Pane.AddLine("one");
  Pane.AddLine("two");
  Pane.AddLine("three");
  Pane.SetSelStart(5);  // the start of "two"
  QTest::keyClick(&Pane, Qt::Key_Return);
  EXPECT_EQ(Pane.Text(), "one\r\n\r\ntwo\r\nthree\r\n");
  EXPECT_EQ(ColoursOf(0), "0+3:#ff0000 ");
  EXPECT_EQ(ColoursOf(1), "");
  EXPECT_EQ(ColoursOf(2), "0+3:#0000ff ");
  EXPECT_EQ(ColoursOf(3), "0+5:#0000ff ");
  QTest::keyClick(&Pane, Qt::Key_Backspace);
  QTest::keyClicks(&Pane, "x");
  EXPECT_EQ(Pane.Text(), "one\r\nxtwo\r\nthree\r\n");
  EXPECT_EQ(ColoursOf(1), "0+4:#ff0000 ");
  EXPECT_EQ(ColoursOf(2), "0+5:#0000ff ");
}

TEST_F(RichEditPaneTest, EditedTextIsReloadedEvenWhenItsLinesWereTakenUnchanged) {
  const std::string rtf = RtfOfLines("a\r\nb\r\nc", 9);
  LoadRtf(rtf);
  LoadRtf(rtf);
  Pane.SetSelStart(4);
  QTest::keyClicks(&Pane, "x");
  ASSERT_EQ(Pane.Text(), "a\r\nbx\r\nc");
  const int changes = Changes.count();
  LoadRtf(rtf);
  EXPECT_EQ(Pane.Text(), "a\r\nb\r\nc");
  EXPECT_EQ(Changes.count(), changes + 1);
}

// Edits of every kind at random places, each followed by a recolouring pass whose colours carry
// from line to line: the text always equals the document's own, and the colours always equal
// those a full reload of the same document gives.
TEST_F(RichEditPaneTest, RandomEditsKeepTextAndColoursOfAFullReload) {
  // A line starting with '<' switches the colour of the lines after it.
  const auto rtfOf = [](const std::string& text) {
    bool inside = false;
    return RtfOfLines(text, [&inside](const std::string& line) {
      if (!line.empty() && line[0] == '<') inside = !inside;
      return inside ? 4 : 9;
    });
  };
  QObject::connect(&Pane, &TRichEditPane::Change, [this, &rtfOf] {
    const int start = Pane.SelStart();
    LoadRtf(rtfOf(Pane.Text()));
    Pane.SetSelStart(start);
  });
  const auto coloursOf = [](const TRichEditPane& pane) {
    std::string colours;
    for (QTextBlock block = pane.document()->firstBlock(); block.isValid(); block = block.next()) {
      for (const QTextLayout::FormatRange& range : block.layout()->formats())
        colours += std::to_string(range.start) + '+' + std::to_string(range.length) + ':' +
                   range.format.foreground().color().name().toStdString() + ' ';
      colours += '\n';
    }
    return colours;
  };
  const QString pieces[] = {"a",        "<b", "\n", "x\ny\n<z", "\xE9", QString::fromUtf8("\u4E2D"),
                            "\r\n\r\n", "q"};
  std::mt19937 random(7);
  const auto below = [&random](int n) { return n <= 0 ? 0 : int(random() % unsigned(n + 1)); };
  for (int step = 0; step < 300; ++step) {
    QTextCursor cursor = Pane.textCursor();
    const int length = Pane.document()->characterCount() - 1;
    switch (random() % 6) {
      case 0:
      case 1:
        cursor.setPosition(below(length));
        Pane.setTextCursor(cursor);
        Type(pieces[random() % std::size(pieces)]);
        break;
      case 2: {
        const int from = below(length);
        cursor.setPosition(from);
        cursor.setPosition(std::min(length, from + below(12)), QTextCursor::KeepAnchor);
        Pane.setTextCursor(cursor);
        QTest::keyClick(&Pane, Qt::Key_Delete);
        break;
      }
      case 3:
        cursor.setPosition(below(length));
        Pane.setTextCursor(cursor);
        QTest::keyClick(&Pane, random() % 2 ? Qt::Key_Backspace : Qt::Key_Return);
        break;
      case 4:
        Pane.insertPlainText(pieces[random() % std::size(pieces)] + pieces[random() % std::size(pieces)]);
        break;
      default:
        if (random() % 2)
          Pane.undo();
        else
          Pane.redo();
    }
    const std::string text = Pane.Text();
    ASSERT_EQ(text, TEncodedText::Encode(Pane.document()->toRawText(), TTextEncoding::Windows1252))
        << "step " << step;
    TRichEditPane reference;  // a pane that has read nothing before
    reference.SetPlainTextMode(false);
    reference.LoadFromStream(rtfOf(text));
    ASSERT_EQ(coloursOf(Pane), coloursOf(reference)) << "step " << step;
  }
}

// What changed since the last call, in bytes of the text: whole at first and after a load; the
// span between an unchanged start and end after edits, however many; nothing when nothing did.
TEST_F(RichEditPaneTest, TakeEditReportsTheBytesChangedSinceTheLastCall) {
  LoadText("<p>one</p>\r\n<p>two</p>");
  EXPECT_TRUE(Pane.TakeEdit().Whole);
  const auto expectEdit = [this](std::size_t start, std::size_t removed, std::size_t added) {
    const TPaneText::TEdit edit = Pane.TakeEdit();
    EXPECT_FALSE(edit.Whole);
    EXPECT_EQ(edit.Start, start);
    EXPECT_EQ(edit.Removed, removed);
    EXPECT_EQ(edit.Added, added);
  };
  Pane.SetSelStart(4);
  Type("x");
  expectEdit(4, 0, 1);
  expectEdit(23, 0, 0);
  Pane.SetSelStart(2);
  Type("y");
  Pane.SetSelStart(20);
  Type("z");
  QTest::keyClick(&Pane, Qt::Key_Return);  // a line break is CR LF: two bytes
  expectEdit(2, 17, 21);
  // A character the code page cannot hold is typed, then replaced by "&#20013;": while it
  // stood, bytes and positions did not map one to one.
  Type(QString::fromUtf8("\u4E2D"));
  const TPaneText::TEdit reference = Pane.TakeEdit();
  EXPECT_TRUE(reference.Whole);
  EXPECT_EQ(reference.Added, Pane.Text().size());
  EXPECT_EQ(Pane.Text().substr(23, 8), "&#20013;");
  LoadText("new");
  EXPECT_TRUE(Pane.TakeEdit().Whole);
}

// Any part of the text read alone is that part of the whole: parts that start or end between a
// CR and its LF, at an empty line, at the end; after a load and after edits.
TEST_F(RichEditPaneTest, APartOfTheTextReadAloneIsThatPartOfTheWhole) {
  const auto expectEveryPart = [this](const char* when) {
    const std::string text = Pane.Text();
    ASSERT_EQ(Pane.TextSize(), text.size()) << when;
    for (std::size_t from = 0; from <= text.size(); ++from)
      for (std::size_t count = 0; from + count <= text.size(); ++count) {
        std::string part = "kept";
        Pane.ReadText(from, count, part);
        ASSERT_EQ(part, "kept" + text.substr(from, count)) << when << ": " << from << " " << count;
      }
  };
  LoadText("<p>one</p>\r\n\r\nx\r\n<b>");
  expectEveryPart("loaded");
  Pane.TakeEdit();
  Pane.SetSelStart(14);
  QTest::keyClick(&Pane, Qt::Key_Return);
  Type("ab");
  expectEveryPart("edited");
  Pane.SetSelStart(0);
  Type(QString::fromUtf8("\u4E2D"));
  expectEveryPart("a reference typed");
}

// A part of the text recoloured: the lines it covers take its colours, the rest keep theirs; an
// edit inside a line moves that line's colours with its text; a line split since the last
// colours must be given whole, and a document that does not match the text changes nothing.
TEST_F(RichEditPaneTest, RecolourFromStreamLaysAPartOverTheLinesItCovers) {
  LoadRtf(RtfOfLines("aaaa\r\nbbbb\r\ncccc\r\ndddd", 1));
  Pane.SetPlainTextMode(false);
  EXPECT_TRUE(Pane.RecolourFromStream(RtfOfLines("bbbb\r\ncc", 4), 6));
  EXPECT_EQ(ColoursOf(0), "0+4:#008000 ");
  EXPECT_EQ(ColoursOf(1), "0+4:#0000ff ");
  EXPECT_EQ(ColoursOf(2), "0+2:#0000ff 2+2:#008000 ");
  EXPECT_EQ(ColoursOf(3), "0+4:#008000 ");

  Pane.SetSelStart(2);
  Type("xx");  // "aaxxaa": the typed text takes the colour before it until the part comes
  EXPECT_TRUE(Pane.RecolourFromStream(RtfOfLines("xx", 9), 2));
  EXPECT_EQ(ColoursOf(0), "0+2:#008000 2+2:#ff0000 4+2:#008000 ");

  EXPECT_FALSE(Pane.RecolourFromStream(RtfOfLines("zz", 9), 2));  // not the text there
  EXPECT_FALSE(Pane.RecolourFromStream("plain", 0));
  EXPECT_EQ(ColoursOf(0), "0+2:#008000 2+2:#ff0000 4+2:#008000 ");

  Pane.SetSelStart(10);
  QTest::keyClick(&Pane, Qt::Key_Return);  // "bb" and "bb": neither holds known colours
  EXPECT_EQ(Pane.RecolourRange(11, 12), std::make_pair(std::size_t(8), std::size_t(14)));
  EXPECT_FALSE(Pane.RecolourFromStream(RtfOfLines("b", 4), 11));
  EXPECT_TRUE(Pane.RecolourFromStream(RtfOfLines("bb\r\nbb", 4), 8));
  EXPECT_EQ(ColoursOf(1), "0+2:#0000ff ");
  EXPECT_EQ(ColoursOf(2), "0+2:#0000ff ");

  Pane.SetPlainTextMode(true);
  EXPECT_FALSE(Pane.RecolourFromStream(RtfOfLines("bb", 4), 8));
}

// A long line's layout holds the formats near what is in view; the pane's own document (an
// RTF save) keeps all of them, and scrolling to the line's end brings its formats there.
TEST_F(RichEditPaneTest, ALongLineIsGivenTheFormatsInView) {
  std::string line;
  while (line.size() < 4 * TNearViewLayouts::LongLine) line += "<b>bold</b> ";
  int index = 0;
  std::string runs;
  for (std::size_t at = 0; at < line.size(); at += 12)
    runs += "\\cf" + std::to_string(index++ % 2 ? 4 : 9) + ' ' + line.substr(at, 12);
  Pane.SetWordWrap(false);
  LoadRtf(HighlighterRtf(runs));
  QApplication::processEvents();
  const auto formatsReach = [this] {
    int end = 0;
    for (const QTextLayout::FormatRange& range : Pane.document()->firstBlock().layout()->formats())
      end = std::max(end, range.start + range.length);
    return end;
  };
  EXPECT_LE(formatsReach(), TNearViewLayouts::LongLine);
  Pane.SetSelStart(int(line.size()));
  Pane.ScrollCaret();
  QApplication::processEvents();
  EXPECT_EQ(formatsReach(), int(line.size()));
  const QString path = Folder.filePath("long.rtf");
  Pane.SetPlainTextMode(false);
  Pane.SaveToFile(path);
  const std::string saved = ReadFile(path).toStdString();
  TRtfDocument document;
  ASSERT_TRUE(TRtfReader(saved).Read(document));
  EXPECT_EQ(document.Text, line);
  EXPECT_EQ(document.Runs.size(), line.size() / 12);
}

// A long line given all its formats while the whole of it counted as in view (its layout could
// not measure it) has them cut down to the part near view once that is known, though they cover
// it already.
TEST(NearViewLayoutsTest, ALongLineGivenAllItsFormatsKeepsOnlyThoseNearViewOnceViewIsKnown) {
  std::string line;
  while (line.size() < 8 * TNearViewLayouts::LongLine) line += "<b>bold</b> ";
  std::string runs;
  for (std::size_t at = 0; at < line.size(); at += 12)
    runs += "\\cf4 " + line.substr(at, 6) + "\\cf9 " + line.substr(at + 6, 6);
  TRtfDocument rtf;
  ASSERT_TRUE(TRtfReader(HighlighterRtf(runs)).Read(rtf));
  QTextDocument document(TEncodedText::Decode(line, TTextEncoding::Windows1252));
  TNearViewLayouts layouts(document);
  const TPanePositions positions(document);
  TColourRuns colours(document, positions, layouts);
  colours.Reset(TColourRuns::StyleOf(rtf, 0));
  const QTextLayout& layout = *document.firstBlock().layout();
  const auto reach = [&layout] {
    std::pair<int, int> span{INT_MAX, 0};
    for (const QTextLayout::FormatRange& range : layout.formats())
      span = {std::min(span.first, range.start), std::max(span.second, range.start + range.length)};
    return span;
  };
  layouts.SetVisible(0, int(line.size()));
  colours.Apply(rtf);
  EXPECT_LE(reach().first, 12);
  EXPECT_EQ(reach().second, int(line.size()));
  const int middle = int(line.size()) / 2;
  layouts.SetVisible(middle, middle + 100);
  layouts.ShowVisible();
  const auto [first, last] = reach();
  EXPECT_GE(first, middle - TNearViewLayouts::LongLineMargin);
  EXPECT_LE(last, middle + 100 + TNearViewLayouts::LongLineMargin);
  EXPECT_LE(first, middle);
  EXPECT_GE(last, middle + 100);
}

// Lines far from view keep their colours without a layout holding them; scrolling there gives
// them to the layouts, and a save writes all of them either way.
TEST_F(RichEditPaneTest, LinesFarFromViewGetTheirFormatsWhenTheyComeNear) {
  std::string text;
  for (int line = 0; line < 4 * TNearViewLayouts::NearBlocks; ++line)
    text += "<p>" + std::to_string(line) + "</p>\r\n";
  Pane.SetWordWrap(false);
  LoadRtf(RtfOfLines(text, 4));
  QApplication::processEvents();
  const int far = 3 * TNearViewLayouts::NearBlocks;
  const std::string farColours = "0+" + std::to_string(7 + std::to_string(far).size()) + ":#0000ff ";
  EXPECT_EQ(ColoursOf(0), "0+8:#0000ff ");
  EXPECT_EQ(ColoursOf(far), "");

  const QString path = Folder.filePath("far.rtf");
  Pane.SetPlainTextMode(false);
  Pane.SaveToFile(path);
  TRtfDocument saved;
  ASSERT_TRUE(TRtfReader(ReadFile(path).toStdString()).Read(saved));
  const std::size_t farStart = std::size_t(Pane.LineIndex(far));
  const auto run = std::find_if(saved.Runs.begin(), saved.Runs.end(),
                                [farStart](const TRtfRun& r) { return r.Start + r.Length > farStart; });
  ASSERT_NE(run, saved.Runs.end());
  EXPECT_EQ(saved.Formats[std::size_t(run->Format)].Colour, 0x0000FF);

  Pane.SetSelStart(int(farStart));
  Pane.ScrollCaret();
  QApplication::processEvents();
  EXPECT_EQ(ColoursOf(far), farColours);
}

// A long line between short ones is given the formats of its part in view, wherever the view
// stands along it: the lines first and last in view say nothing of where the view cuts it.
TEST_F(RichEditPaneTest, ALongLineBetweenShortOnesIsGivenTheFormatsOfItsPartInView) {
  std::string line;
  while (line.size() < 16 * TNearViewLayouts::LongLine) line += "<b>bold</b> ";
  std::string runs = "\\cf4 first\\par ";
  for (std::size_t at = 0; at < line.size(); at += 12)
    runs += "\\cf4 " + line.substr(at, 6) + "\\cf9 " + line.substr(at + 6, 6);
  runs += "\\par \\cf4 last";
  Pane.SetWordWrap(false);
  Pane.resize(600, 300);
  Pane.show();
  LoadRtf(HighlighterRtf(runs));
  QApplication::processEvents();
  const QTextBlock block = Pane.document()->findBlockByNumber(1);
  for (const int column : {int(line.size()) - 1200, int(line.size()) / 2, 3 * TNearViewLayouts::LongLine}) {
    Pane.SetSelStart(int(std::string_view("first\r\n").size()) + column);
    Pane.ScrollCaret();
    QApplication::processEvents();
    ASSERT_EQ(Pane.cursorForPosition(QPoint(1, 1)).blockNumber(), 0);  // all three lines in view
    bool covered = false;
    for (const QTextLayout::FormatRange& range : block.layout()->formats())
      covered = covered || (range.start <= column && column < range.start + range.length);
    EXPECT_TRUE(covered) << "column " << column;
  }
}

// A page's bytes come back exactly as they went in: UTF-8 of every length, a byte-order mark,
// and every byte 1-255 of a Windows-1252 page, where a CR or LF standing alone is a line break
// like any other and comes back as CR LF. The text the pane gives out holds no mark.
TEST_F(RichEditPaneTest, EveryPageIsSavedAsTheBytesItWasOpenedFrom) {
  const std::string utf8 =
      "<p>Caf\xC3\xA9 \xE2\x80\x94 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80</p>\r\n\xC2\x80\xDF\xBF"
      "\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF";
  std::string everyByte = "\r\n";
  for (int byte = 1; byte < 256; ++byte)
    if (byte != '\r' && byte != '\n') everyByte += char(byte);
  const struct {
    std::string Bytes;
    TTextEncoding Encoding;
    std::string Text;
  } pages[] = {{utf8, TTextEncoding::Utf8, utf8},
               {"\xEF\xBB\xBF" + utf8, TTextEncoding::Utf8, utf8},
               {everyByte, TTextEncoding::Windows1252, everyByte},
               {"<meta charset=\"utf-8\"><p>\xE9t\xE9</p>", TTextEncoding::Windows1252,
                "<meta charset=\"utf-8\"><p>\xE9t\xE9</p>"}};
  for (const auto& page : pages) {
    const QString path = WriteFile("page.htm", QByteArray::fromStdString(page.Bytes));
    Pane.LoadFromFile(path);
    EXPECT_EQ(Pane.Encoding(), page.Encoding) << page.Bytes;
    EXPECT_EQ(Pane.Text(), page.Text);
    Pane.SaveToFile(Folder.filePath("saved.htm"));
    EXPECT_EQ(ReadFile(Folder.filePath("saved.htm")).toStdString(), page.Bytes);
  }
  Pane.LoadFromFile(WriteFile("page.htm", QByteArray::fromStdString(utf8)));
  EXPECT_EQ(Pane.document()->firstBlock().text(),
            QString::fromUtf8("<p>Caf\u00E9 \u2014 \u65E5\u672C \U0001F600</p>"));
}

// What the user types or pastes goes in as the document's encoding: UTF-8 holds every
// character, and Windows-1252 its own, a reference for the rest.
TEST_F(RichEditPaneTest, TypedCharactersGoInAsTheDocumentsEncoding) {
  const QString typed = QString::fromUtf8("\u00E9 \u2014 \u65E5 \U0001F600");
  Pane.LoadFromFile(WriteFile("utf8.htm", "<p></p>"));
  ASSERT_EQ(Pane.Encoding(), TTextEncoding::Utf8);
  Pane.SetSelStart(3);
  Type(typed);
  QApplication::clipboard()->setText(QString::fromUtf8("|\u00E9\U0001F600"));
  Pane.paste();
  Pane.SaveToFile(Folder.filePath("utf8.htm"));
  EXPECT_EQ(ReadFile(Folder.filePath("utf8.htm")).toStdString(),
            "<p>\xC3\xA9 \xE2\x80\x94 \xE6\x97\xA5 \xF0\x9F\x98\x80|\xC3\xA9\xF0\x9F\x98\x80</p>");
  Pane.LoadFromFile(WriteFile("ansi.htm", "<p>\xE9</p>"));
  ASSERT_EQ(Pane.Encoding(), TTextEncoding::Windows1252);
  Pane.SetSelStart(4);
  Type(typed);
  Pane.SaveToFile(Folder.filePath("ansi.htm"));
  EXPECT_EQ(ReadFile(Folder.filePath("ansi.htm")).toStdString(), "<p>\xE9\xE9 \x97 &#26085; &#128512;</p>");
}

// In UTF-8 a position counts bytes: the caret stands after a character of four, Backspace takes
// it whole, a position inside a character stands at its start, lines of CJK text start where
// their bytes say, a selection reads back as it was set, and any part of the text read alone is
// that part of the whole.
TEST_F(RichEditPaneTest, PositionsInUtf8CountBytesAndFallBetweenCharacters) {
  Pane.SetWordWrap(false);
  const std::string text =
      "a\xF0\x9F\x98\x80"
      "b\r\n\xE6\x97\xA5\xE6\x9C\xAC\r\n\xC3\xA9x";
  Pane.LoadFromFile(WriteFile("page.htm", QByteArray::fromStdString(text)));
  ASSERT_EQ(Pane.Encoding(), TTextEncoding::Utf8);
  EXPECT_EQ(Pane.LineIndex(1), 8);
  EXPECT_EQ(Pane.LineIndex(2), 16);
  Pane.SetSelStart(5);
  EXPECT_EQ(Pane.SelStart(), 5);
  EXPECT_EQ(Pane.textCursor().position(), 3);
  Pane.SetSelStart(3);  // inside the emoji
  EXPECT_EQ(Pane.SelStart(), 1);
  Pane.SetSelStart(12);  // inside the second CJK character
  EXPECT_EQ(Pane.SelStart(), 11);
  Pane.SetSelStart(8);
  Pane.SetSelLength(6);
  EXPECT_EQ(Pane.SelStart(), 8);
  EXPECT_EQ(Pane.SelLength(), 6);
  EXPECT_EQ(Pane.textCursor().selectedText(), QString::fromUtf8("\u65E5\u672C"));
  for (std::size_t from = 0; from <= text.size(); ++from)
    for (std::size_t count = 0; from + count <= text.size(); ++count) {
      std::string part;
      Pane.ReadText(from, count, part);
      ASSERT_EQ(part, text.substr(from, count)) << from << " " << count;
    }
  Pane.SetSelStart(5);
  QTest::keyClick(&Pane, Qt::Key_Backspace);
  EXPECT_EQ(Pane.Text(), "ab\r\n\xE6\x97\xA5\xE6\x9C\xAC\r\n\xC3\xA9x");
  EXPECT_EQ(Pane.SelStart(), 1);
  EXPECT_EQ(Pane.LineIndex(2), 12);
}

// The blink repaints the caret's line, which is shaped and drawn whole: in a long line the caret
// stands still while the pane has the focus, and the application's blink comes back as soon as
// the caret or the focus leaves it.
TEST_F(RichEditPaneTest, TheCaretStandsStillInALongLineWhileThePaneHasTheFocus) {
  QStyleHints& hints = *QGuiApplication::styleHints();
  const int blink = hints.cursorFlashTime();
  ASSERT_GT(blink, 0);
  QLineEdit other;
  other.show();
  LoadText("short\r\n" + std::string(TNearViewLayouts::LongLine + 1, 'x') + "\r\nshort");
  Pane.activateWindow();
  Pane.setFocus();
  ASSERT_TRUE(QTest::qWaitFor([this] { return Pane.hasFocus(); }));
  EXPECT_EQ(hints.cursorFlashTime(), blink);  // on the first line
  const int longLine = 7, lastLine = longLine + TNearViewLayouts::LongLine + 1 + 2;
  Pane.SetSelStart(longLine + 10);
  EXPECT_EQ(hints.cursorFlashTime(), 0);
  Pane.SetSelStart(lastLine);
  EXPECT_EQ(hints.cursorFlashTime(), blink);

  Pane.SetSelStart(longLine);
  QTest::keyClick(&Pane, Qt::Key_Backspace);  // the long line joins the first
  EXPECT_EQ(hints.cursorFlashTime(), 0);
  other.activateWindow();
  other.setFocus();
  ASSERT_TRUE(QTest::qWaitFor([&other] { return other.hasFocus(); }));
  EXPECT_EQ(hints.cursorFlashTime(), blink);
  Pane.activateWindow();
  Pane.setFocus();
  ASSERT_TRUE(QTest::qWaitFor([this] { return Pane.hasFocus(); }));
  EXPECT_EQ(hints.cursorFlashTime(), 0);
  Pane.Clear();
  EXPECT_EQ(hints.cursorFlashTime(), blink);
}
