#include <QMessageBox>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <random>

#include "app/HighlightingPass.h"
#include "highlight/hltHTML.h"
#include "pane/RichEditPane.h"
#include "services/Timer.h"
#include "tests/app/EditorFixture.h"

namespace {

const QColor Blue(0, 0, 255), Green(0, 128, 0), Black(0, 0, 0), Red(255, 0, 0);

class HighlightingTest : public EditorFixture {
protected:
  void SetUp() override {
    EditorFixture::SetUp();
    Start();
  }
  // The foreground colour the pane shows at a character of a line (black where none is set).
  QColor ColourAt(int line, int column) const {
    for (const QTextLayout::FormatRange& range :
         Edit1().document()->findBlockByNumber(line).layout()->formats())
      if (column >= range.start && column < range.start + range.length &&
          range.format.hasProperty(QTextFormat::ForegroundBrush))
        return range.format.foreground().color();
    return Black;
  }
  QList<QColor> MetaLineColours() const {
    QList<QColor> colours;
    for (int column : {0, 1, 6, 10, 11, 21, 23, 30, 31, 58}) colours << ColourAt(4, column);
    return colours;
  }
  void PutCaret(int position) {
    Edit1().SetSelStart(position);
    Edit1().setFocus();
  }
  QString GotoLineFailure(const QString& text) {
    QString message;
    AnswerErrorBox(&message);
    Control<QLineEdit>(Form1, "Edit2")->setText(text);
    QTest::mouseClick(Control<QPushButton>(Form1, "Button1"), Qt::LeftButton);
    return message;
  }
};

TEST_F(HighlightingTest, TypingOneCharacterRecoloursAndKeepsTheCaret) {
  Control<QLabel>(Form1, "lblsaved")->setText(QString());
  PutCaret(6);  // after "<html>"
  QTest::keyClicks(&Edit1(), "<b");
  EXPECT_EQ(Edit1().Text().substr(0, 10), "<html><b\r\n");
  EXPECT_EQ(Edit1().SelStart(), 8);
  EXPECT_EQ(Edit1().SelLength(), 0);
  EXPECT_EQ(Control<QLabel>(Form1, "lblsaved")->text(), "1");
  EXPECT_EQ(Control<QLineEdit>(Form1, "Edit2")->text(), "0");
  EXPECT_TRUE(Form1->Timer1().Enabled());
  EXPECT_GT(Form1->Timer1().RemainingTime(), 500);
  for (int column : {0, 1, 5, 6, 7}) EXPECT_EQ(ColourAt(0, column), Blue) << column;
  EXPECT_EQ(MetaLineColours(),
            QList<QColor>({Blue, Blue, Black, Blue, Green, Green, Black, Blue, Green, Blue}));
  QTest::keyClicks(&Edit1(), "x");  // "<bx" is no listed tag
  EXPECT_EQ(ColourAt(0, 7), Red);
}

TEST_F(HighlightingTest, ThePassGivesBackEveryByteOfTheText) {
  QByteArray bytes;
  for (int b = 1; b < 256; ++b)
    if (b != '\r' && b != '\n') bytes += char(b);
  bytes += "\r\nline two<b>\\{}</b>\r\n";
  WriteFileBytes(Path("all.htm"), bytes);
  Edit1().LoadFromFile(Path("all.htm"));
  EXPECT_EQ(Edit1().Text(), bytes.toStdString());
  const int a = bytes.indexOf('A');
  PutCaret(a);
  QTest::keyClick(&Edit1(), Qt::Key_Delete);
  QTest::keyClicks(&Edit1(), "A");
  EXPECT_EQ(Edit1().Text(), bytes.toStdString());
  EXPECT_EQ(Edit1().SelStart(), a + 1);
}

// Every line's text and colour runs, as the pane shows them.
QStringList PaneColours(const QTextDocument& document) {
  QStringList lines;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    QString line = block.text();
    for (const QTextLayout::FormatRange& range : block.layout()->formats())
      line += QStringLiteral(" %1+%2:%3")
                  .arg(range.start)
                  .arg(range.length)
                  .arg(range.format.foreground().color().name());
    lines << line;
  }
  return lines;
}

// The colours a pane of its own shows for text after a whole-document load.
QStringList FullPassColours(const std::string& text, TTextEncoding encoding = TTextEncoding::Windows1252) {
  TRichEditPane reference;
  reference.SetEncoding({encoding, false});
  reference.LoadFromStream(text);
  ThltHTMLRTF highlighter;
  highlighter.SetSource(text);
  reference.SetPlainTextMode(false);
  reference.LoadFromStream(highlighter.GetRTF());
  return PaneColours(*reference.document());
}

// After each edit a user makes (typing, Enter, deleting across lines, pasting lines, undo and
// redo), the pane holds what a full pass over its text gives it, though only the part each edit
// reached is laid over it, and its bytes are its characters in UTF-8. A long line puts piece
// ends inside lines; characters of two, three and four bytes come and go.
TEST_F(HighlightingTest, ThePaneRecolouredByPartsShowsWhatAFullPassShows) {
  const char* const typed[] = {"<!--",
                               "-->",
                               "<script>",
                               "</script>",
                               "<%",
                               "%>",
                               "\"",
                               "&",
                               "&amp;",
                               "\n",
                               "<b>",
                               "x",
                               " ",
                               "=",
                               ">",
                               "<",
                               "<p class=\"a\">",
                               "</p>\n<p>two\nthree <!-- \n",
                               "\u00E9",
                               "\u2014",
                               "\u65E5\u672C",
                               "\U0001F600",
                               "<p title=\"\u00E9\">\u2014\U0001F600</p>"};
  ASSERT_EQ(Edit1().Encoding(), TTextEncoding::Utf8);
  QString page;
  for (int line = 0; line < 300; ++line)
    page +=
        QString::fromUtf8("<p class=\"c%1\">t\u00E9xt &lt; %1 <!-- \u65E5 --> <%% code %%> \U0001F600</p>\n")
            .arg(line);
  page.insert(page.size() / 2, QStringLiteral("<b>long</b> <i a=\"1\">line</i> &amp; ").repeated(400));
  QTextCursor cursor(Edit1().document());
  cursor.select(QTextCursor::Document);
  cursor.insertText(page);
  std::mt19937 random(7);
  const auto pick = [&random](int below) { return std::uniform_int_distribution<int>(0, below - 1)(random); };
  // A position between the halves of a surrogate pair moves before the pair.
  const auto between = [this](int position) {
    return position > 0 && Edit1().document()->characterAt(position).isLowSurrogate() ? position - 1
                                                                                      : position;
  };
  for (int step = 0; step < 200; ++step) {
    const int length = Edit1().document()->characterCount() - 1;
    cursor.setPosition(between(pick(length + 1)));
    switch (pick(8)) {
      case 0:
      case 1:
        cursor.setPosition(between(std::min(cursor.position() + 1 + pick(200), length)),
                           QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        break;
      case 2: Edit1().document()->undo(&cursor); break;
      case 3: Edit1().document()->redo(&cursor); break;
      default: cursor.insertText(QString::fromUtf8(typed[pick(int(std::size(typed)))]));
    }
    const std::string text = Edit1().Text();
    ASSERT_EQ(text, Edit1().document()->toPlainText().replace(u'\n', QStringLiteral("\r\n")).toStdString())
        << "step " << step;
    ASSERT_EQ(PaneColours(*Edit1().document()), FullPassColours(text, TTextEncoding::Utf8))
        << "step " << step;
  }
}

// The pass on a pane of its own, no window around it: each change leaves the colours a full
// pass gives, the pane back in plain-text mode, and a text replaced as a whole is read afresh.
TEST(HighlightingPass, KeepsAPaneOfItsOwnInStepWithItsText) {
  TRichEditPane pane;
  THighlightingPass pass(pane);
  QObject::connect(&pane, &TRichEditPane::Change, [&pass] { pass.Run(); });
  QTextCursor cursor(pane.document());
  for (const char* typed : {"<p class=\"a\">", "text &amp; ", "<!-- open", "\n</p>", " -->"}) {
    cursor.insertText(QString::fromLatin1(typed));
    EXPECT_TRUE(pane.PlainTextMode()) << typed;
    ASSERT_EQ(PaneColours(*pane.document()), FullPassColours(pane.Text())) << typed;
  }
  pane.LoadFromStream("<b>bold</b>\r\n<i>new</i>");
  EXPECT_EQ(PaneColours(*pane.document()), FullPassColours(pane.Text()));
  cursor.setPosition(3);
  cursor.setPosition(7, QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  EXPECT_EQ(PaneColours(*pane.document()), FullPassColours(pane.Text()));
}

TEST_F(HighlightingTest, DeletingAllTextLeavesAnEmptyPane) {
  Edit1().selectAll();
  QTest::keyClick(&Edit1(), Qt::Key_Delete);
  EXPECT_EQ(Edit1().Text(), "");
  EXPECT_EQ(Edit1().LineCount(), 0);
  EXPECT_EQ(Control<QLabel>(Form1, "lblsaved")->text(), "1");
  EXPECT_EQ(Form1->StatusPanelText(1), "Line: 0 of 0");
}

TEST_F(HighlightingTest, CaretTrackingShowsTheZeroBasedLineAndTheCount) {
  PutCaret(0);
  EXPECT_EQ(Control<QLineEdit>(Form1, "Edit2")->text(), "0");
  EXPECT_EQ(Form1->StatusPanelText(1), "Line: 0 of 6");
  QTest::keyClick(&Edit1(), Qt::Key_Down);
  QTest::keyClick(&Edit1(), Qt::Key_Down);
  EXPECT_EQ(Form1->StatusPanelText(1), "Line: 2 of 6");
  QTest::keyClick(&Edit1(), Qt::Key_End, Qt::ControlModifier);
  EXPECT_EQ(Form1->StatusPanelText(1), "Line: 6 of 6");

  // Delete at a line's end joins two lines while the caret stays where it stood.
  PutCaret(6);  // the end of "<html>"
  QTest::keyClick(&Edit1(), Qt::Key_Delete);
  EXPECT_EQ(Form1->StatusPanelText(1), "Line: 0 of 5");
}

TEST_F(HighlightingTest, GotoLineMovesToTheStartOfTheZeroBasedLine) {
  Control<QLineEdit>(Form1, "Edit2")->setText("5");
  QTest::mouseClick(Control<QPushButton>(Form1, "Button1"), Qt::LeftButton);
  EXPECT_EQ(Edit1().SelStart(), Edit1().LineIndex(5));
  EXPECT_EQ(Edit1().CaretLine(), 5);
  EXPECT_EQ(Control<QLineEdit>(Form1, "Edit2")->text(), "5");
  EXPECT_EQ(Form1->StatusPanelText(1), "Line: 5 of 6");

  QTest::keyClick(&Edit1(), Qt::Key_End);
  Control<QLineEdit>(Form1, "Edit2")->setText("-1");
  QTest::mouseClick(Control<QPushButton>(Form1, "Button1"), Qt::LeftButton);
  EXPECT_EQ(Edit1().SelStart(), Edit1().LineIndex(5));

  EXPECT_EQ(GotoLineFailure("abc"), "'abc' is not a valid integer value.");
  EXPECT_EQ(Edit1().SelStart(), Edit1().LineIndex(5));

  Control<QLineEdit>(Form1, "Edit2")->setText("99");
  QTest::mouseClick(Control<QPushButton>(Form1, "Button1"), Qt::LeftButton);
  EXPECT_EQ(Edit1().SelStart(), static_cast<int>(Edit1().Text().size()));
}

TEST_F(HighlightingTest, WordWrapKeepsTheColoursMarksTheDocumentAndCancelsThePreview) {
  Control<QLabel>(Form1, "lblsaved")->setText(QString());
  const QList<QColor> before = MetaLineColours();
  Control<QCheckBox>(Form1, "CheckBox2")->click();
  EXPECT_TRUE(Edit1().WordWrap());
  EXPECT_EQ(MetaLineColours(), before);
  EXPECT_EQ(Control<QLabel>(Form1, "lblsaved")->text(), "1");
  EXPECT_FALSE(Form1->Timer1().Enabled());
  Control<QCheckBox>(Form1, "CheckBox2")->click();
  EXPECT_FALSE(Edit1().WordWrap());
}

}  // namespace
