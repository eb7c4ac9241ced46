// html2rtf: writes the RTF document that the editor's highlighter produces
// for an HTML file, so that the pane's exact input can be checked from
// outside.

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <string>

#include "highlight/hltHTML.h"
#include "services/disk/FileStamp.h"
#include "services/disk/WholeFile.h"

namespace {

const char* const Usage =
    "usage: html2rtf FILE|- [-o OUT]\n"
    "Writes the highlighted RTF document for the HTML in FILE\n"
    "(- reads standard input) to standard output or OUT.\n";

struct TOptions {
  std::string Input;
  std::optional<std::string> Output;  // none: standard output
};

std::optional<TOptions> ParseArguments(int argc, char** argv) {
  TOptions options;
  bool haveInput = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-o" && i + 1 < argc && !options.Output && argv[i + 1][0] != '\0') {
      options.Output = argv[++i];
    } else if ((arg == "-" || (!arg.empty() && arg[0] != '-')) && !haveInput) {
      options.Input = arg;
      haveInput = true;
    } else {
      return std::nullopt;
    }
  }
  if (!haveInput) return std::nullopt;
  return options;
}

void ReportFailure(const char* action, const std::string& name) {
  std::fprintf(stderr, "html2rtf: cannot %s %s: %s\n", action, name.c_str(), std::strerror(errno));
}

bool ReadAll(std::FILE* file, std::string& bytes) {
  char buffer[1 << 16];
  std::size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, count);
  return !std::ferror(file);
}

// The input's text, and the file it came from, so that OUT is never that file.
bool ReadInput(const std::string& name, std::string& bytes, std::optional<TFileStamp>& source) {
  std::FILE* file = name == "-" ? stdin : std::fopen(name.c_str(), "rb");
  if (!file) return false;
  source = FileStampOf(::fileno(file));
  const bool ok = ReadAll(file, bytes);
  if (file != stdin) std::fclose(file);
  return ok;
}

bool WriteAll(std::FILE* file, std::string_view bytes) {
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return (std::fflush(file) == 0) && ok;
}

// A FIFO or a device named as OUT is a stream, and is written to directly.
bool WriteStream(const std::string& name, std::string_view bytes) {
  std::FILE* file = std::fopen(name.c_str(), "wb");
  if (!file) return false;
  const bool ok = WriteAll(file, bytes);
  return (std::fclose(file) == 0) && ok;
}

// OUT is replaced whole or not at all (a failed write, on a full disk say, leaves the old OUT as
// it was); a link is followed to the file it names.
bool WriteFile(const std::string& name, std::string_view bytes) {
  struct stat status {};
  if (::stat(name.c_str(), &status) == 0 && !S_ISREG(status.st_mode) && !S_ISDIR(status.st_mode))
    return WriteStream(name, bytes);
  errno = WriteWholeFile(name, bytes, wtNamed);
  return errno == 0;
}

bool IsSameFile(const std::optional<TFileStamp>& input, const std::string& output) {
  const std::optional<TFileStamp> existing = FileStampOf(output);
  return input && existing && input->Device == existing->Device && input->Inode == existing->Inode;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<TOptions> options = ParseArguments(argc, argv);
  if (!options) {
    std::fputs(Usage, stderr);
    return 2;
  }
  const std::string inputName = options->Input == "-" ? "standard input" : options->Input;
  std::string html;
  std::optional<TFileStamp> source;
  if (!ReadInput(options->Input, html, source)) {
    ReportFailure("read", inputName);
    return 1;
  }
  if (options->Output && IsSameFile(source, *options->Output)) {
    std::fprintf(stderr, "html2rtf: %s is the input; the RTF would replace it\n", options->Output->c_str());
    return 1;
  }
  if (html.find('\0') != std::string::npos)
    std::fprintf(stderr, "html2rtf: warning: %s holds a NUL byte; the document stops there\n",
                 inputName.c_str());

  ThltMemoryStream stream;
  try {
    ThltHTMLRTF highlighter;
    highlighter.SetSource(html);
    highlighter.WriteRTF(stream);
  } catch (const std::exception& failure) {
    // Too long a text, or no memory for the document.
    std::fprintf(stderr, "html2rtf: cannot highlight %s: %s\n", inputName.c_str(), failure.what());
    return 1;
  }
  if (!(options->Output ? WriteFile(*options->Output, stream.Bytes()) : WriteAll(stdout, stream.Bytes()))) {
    ReportFailure("write", options->Output ? *options->Output : "standard output");
    return 1;
  }
  return 0;
}
