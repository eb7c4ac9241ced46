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

#include "hltHTML.h"

namespace {

const char* const Usage =
    "usage: html2rtf FILE|- [-o OUT]\n"
    "Writes the highlighted RTF document for the HTML in FILE\n"
    "(- reads standard input) to standard output or OUT.\n";

struct TOptions {
  std::string Input;
  std::string Output;  // empty: standard output
};

std::optional<TOptions> ParseArguments(int argc, char** argv) {
  TOptions options;
  bool haveInput = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "-o" && i + 1 < argc && options.Output.empty()) {
      options.Output = argv[++i];
    } else if ((arg == "-" || arg[0] != '-') && !haveInput) {
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

bool ReadInput(const std::string& name, std::string& bytes) {
  if (name == "-") return ReadAll(stdin, bytes);
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (!file) return false;
  const bool ok = ReadAll(file, bytes);
  std::fclose(file);
  return ok;
}

bool WriteAll(std::FILE* file, std::string_view bytes) {
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return (std::fflush(file) == 0) && ok;
}

// The mode a newly created file would get, or the replaced file's own.
mode_t ModeFor(const struct stat* existing) {
  if (existing) return existing->st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// OUT is written to a temporary file beside it and renamed over it only once the whole document
// is on disk, so a failed write (a full disk, say) leaves the old OUT as it was. A FIFO or a
// device named as OUT is a stream, and is written to directly.
bool WriteFile(const std::string& name, std::string_view bytes) {
  struct stat status {};
  const bool exists = ::stat(name.c_str(), &status) == 0;
  if (exists && !S_ISREG(status.st_mode)) {
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (!file) return false;
    const bool ok = WriteAll(file, bytes);
    return (std::fclose(file) == 0) && ok;
  }
  std::string temporary = name + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) return false;
  std::FILE* file = ::fdopen(fd, "wb");
  bool ok = file && WriteAll(file, bytes) && ::fchmod(fd, ModeFor(exists ? &status : nullptr)) == 0 &&
            ::fsync(fd) == 0;
  ok = (file ? std::fclose(file) == 0 : ::close(fd) == 0) && ok;
  if (ok && ::rename(temporary.c_str(), name.c_str()) == 0) return true;
  const int failure = errno;
  ::unlink(temporary.c_str());
  errno = failure;
  return false;
}

bool WriteOutput(const std::string& name, std::string_view bytes) {
  return name.empty() ? WriteAll(stdout, bytes) : WriteFile(name, bytes);
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
  if (!ReadInput(options->Input, html)) {
    ReportFailure("read", inputName);
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
  if (!WriteOutput(options->Output, stream.Bytes())) {
    ReportFailure("write", options->Output.empty() ? "standard output" : options->Output);
    return 1;
  }
  return 0;
}
