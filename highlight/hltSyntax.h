#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "highlight/hltColors.h"
#include "highlight/hltFonts.h"
#include "highlight/hltRunBuffer.h"
#include "highlight/hltRunPrefix.h"
#include "highlight/hltStream.h"

// The base of the syntax highlighters: owns the fixed parts of the RTF
// document and writes a scanned text as one coloured run per token. A derived
// class supplies the scanner through the first seven virtual operations and
// its colours through SetColorTable.
class ThltRTFSyntax {
public:
  ThltRTFSyntax();
  ThltRTFSyntax(const ThltRTFSyntax&) = delete;
  ThltRTFSyntax& operator=(const ThltRTFSyntax&) = delete;

  // Makes a token text safe for RTF. The text is replaced in place; when
  // characters have to change, it ends up viewing scratch.
  virtual void EscapeText(std::string_view& text, std::string& scratch);
  // Appends the run for an escaped token text to run.
  virtual void FormatToken(int colorIndex, std::string_view text, ThltRunBuffer& run);
  virtual void NextToken();
  virtual bool AtEnd();
  // The current token, as a view that lives as long as the source text.
  virtual std::string_view TokenText();
  virtual int TokenColorIndex();
  virtual std::string ColorEntry(ThltColor color);
  // The scanner keeps a view of text, which must stay alive and unchanged
  // until WriteRTF has returned.
  virtual void BeginScan(const std::string& text, int lineNumber);
  virtual void SetSource(const std::string& text);
  // Appends the whole document at the stream's position.
  virtual void WriteRTF(ThltStream& stream);
  virtual std::string GetRTF();
  virtual ~ThltRTFSyntax();

  // A temporary would be gone before WriteRTF reads it.
  void SetSource(std::string&&) = delete;

  void SetColorTable(const ThltColor* colors, std::size_t count);
  void SetFontTable(const ThltFont* fonts, std::size_t count);

  // A document is its opening (header, font and colour tables, defaults), the runs of its
  // tokens and its closing.
  std::string Opening() const;
  static std::string_view Closing();

protected:
  // Writes the document of the text scanner has been given. The scanner's
  // static type picks how its per-token operations are called: a final
  // class that passes itself has them called directly, not through the
  // virtual table, so they can be inlined into the loop.
  template <class TScanner>
  static void WriteDocument(TScanner& scanner, ThltStream& stream);
  // Appends the run of the scanner's current token.
  template <class TScanner>
  static void WriteToken(TScanner& scanner, ThltRunBuffer& out, std::string& scratch);

  // Appends "\cf" + the index in decimal + a blank + the text. readable is
  // how many bytes may be read from the text's start, at least its size:
  // a short token that may read on into its source is copied as one block.
  static void AppendRun(ThltRunBuffer& run, int colorIndex, std::string_view text, std::size_t readable) {
    if (colorIndex < 0 || colorIndex >= RunPrefixCount) {
      AppendRareRun(run, colorIndex, text);
      return;
    }
    const ThltRunPrefix& prefix = RunPrefixes[colorIndex];
    char* out = run.Room(sizeof prefix.Bytes + text.size());
    std::memcpy(out, prefix.Bytes, sizeof prefix.Bytes);
    out += prefix.Size;
    if (text.size() <= ThltRunBuffer::Slack && readable >= ThltRunBuffer::Slack)
      std::memcpy(out, text.data(), ThltRunBuffer::Slack);
    else
      std::memcpy(out, text.data(), text.size());
    run.Commit(out + text.size());
  }

private:
  class TDocumentOutput;

  std::array<std::string_view, 6> OpeningPieces() const;
  // A run whose index has no prefix made in advance.
  static void AppendRareRun(ThltRunBuffer& run, int colorIndex, std::string_view text);

  std::string FHeader;
  std::string FFontTableEnd;
  std::string FDefaults;
  std::string FColorTable;
  std::string FFontTable;
  std::int32_t FCodePage;
  // The size of the text last given to SetSource, so that WriteRTF can
  // reserve room for the document at once.
  std::size_t FSourceSize = 0;
};

// Where a document's bytes go while it is written: the fixed opening at
// construction, the runs through Runs, the closing at Finish.
class ThltRTFSyntax::TDocumentOutput {
public:
  TDocumentOutput(const ThltRTFSyntax& syntax, ThltStream& stream);
  TDocumentOutput(const TDocumentOutput&) = delete;
  TDocumentOutput& operator=(const TDocumentOutput&) = delete;

  ThltRunBuffer& Runs() { return FOut; }
  void RunWritten() {
    if (FOut.Size() >= FFlushAt) Flush();
  }
  void Finish();

private:
  void Flush();

  ThltStream& FStream;
  ThltRunBuffer* FDirect;
  ThltRunBuffer FChunk;
  ThltRunBuffer& FOut;
  std::size_t FFlushAt;
};

template <class TScanner>
void ThltRTFSyntax::WriteDocument(TScanner& scanner, ThltStream& stream) {
  TDocumentOutput output(scanner, stream);
  ThltRunBuffer& out = output.Runs();
  std::string scratch;
  while (!scanner.AtEnd()) {
    WriteToken(scanner, out, scratch);
    output.RunWritten();
    scanner.NextToken();
  }
  output.Finish();
}

template <class TScanner>
void ThltRTFSyntax::WriteToken(TScanner& scanner, ThltRunBuffer& out, std::string& scratch) {
  std::string_view text = scanner.TokenText();
  const int colorIndex = scanner.TokenColorIndex();
  scanner.EscapeText(text, scratch);
  // No blank after "\par": the run that follows starts with a backslash.
  if (text == "\r\n") out.Append("\\par");
  scanner.FormatToken(colorIndex, text, out);
}
