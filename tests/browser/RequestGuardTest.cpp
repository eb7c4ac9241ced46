#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "browser/LocalFileScheme.h"
#include "browser/RequestGuard.h"
#include "tests/support/TestSupport.h"

namespace {

using Info = QWebEngineUrlRequestInfo;

const QUrl Preview("vornfile:/home/u/site/page.htm");
const QUrl Remote("http://example.com/page.html");

TRequestGuard::TRequest Request(const char* url, Info::ResourceType type, const QUrl& firstParty = Preview,
                                const QUrl& initiator = {},
                                Info::NavigationType navigation = Info::NavigationTypeOther) {
  return {QUrl(QString::fromLatin1(url)), type, navigation, initiator, firstParty};
}

TEST(RequestGuard, TheNetworkIsRefusedOnlyOfflineAndFileUrlsAlways) {
  for (const char* url :
       {"http://h/x.png", "https://h/x.png", "ws://h/s", "wss://h/s", "ftp://h/x", "HTTP://h/x"}) {
    EXPECT_TRUE(TRequestGuard::Allows(Request(url, Info::ResourceTypeImage), false)) << url;
    EXPECT_FALSE(TRequestGuard::Allows(Request(url, Info::ResourceTypeImage), true)) << url;
  }
  for (bool offline : {false, true}) {
    EXPECT_FALSE(TRequestGuard::Allows(Request("file:///etc/passwd", Info::ResourceTypeImage), offline));
    EXPECT_FALSE(TRequestGuard::Allows(Request("file:///etc/", Info::ResourceTypeMainFrame), offline));
    EXPECT_TRUE(TRequestGuard::Allows(Request("data:image/png;base64,AA", Info::ResourceTypeImage), offline));
  }
}

// A preview's files, real ones, since a file's type is read from the file itself: a site with
// its page in a folder of its own, and a folder outside it.
class RequestGuardFilesTest : public testing::Test {
protected:
  void SetUp() override {
    for (const char* folder : {"site/pages", "site/css", "site/.git", "outside"})
      QDir(Path("")).mkpath(folder);
    WritePicture(Path("site/pages/a.png"));
    WriteFileBytes(Path("site/pages/temp.vnx"), "<p>page");
    WriteFileBytes(Path("site/pages/other.htm"), "<p>other");
    WriteFileBytes(Path("site/pages/a.txt"), "plain text");
    WriteFileBytes(Path("site/pages/a.json"), "{}");
    WriteFileBytes(Path("site/pages/a.vtt"), "WEBVTT\n\n00:00.000 --> 00:01.000\nsecret cue\n");
    WriteFileBytes(Path("site/pages/a.js"), "window.x = 1;");
    WriteFileBytes(Path("site/pages/a.woff2"), "wOF2");
    WriteFileBytes(Path("site/pages/a.webm"), "\x1a\x45\xdf\xa3");
    WriteFileBytes(Path("site/css/site.css"), "p { color: red }");
    WriteFileBytes(Path("site/.env"), "KEY=sk_live_SECRET");
    WriteFileBytes(Path("site/.git/config"), "[core]");
    WriteFileBytes(Path("outside/notes.txt"), "private");
    WriteFileBytes(Path("outside/page.htm"), "<p>elsewhere");
    WriteFileBytes(Path("outside/style.css"), "p { color: blue }");
    QFile::link(Path("site/.env"), Path("site/pages/env.js"));
    QFile::link(Path("outside/style.css"), Path("site/pages/linked.css"));
  }
  QString Path(const QString& name) const { return FFolder.filePath(name); }
  bool Allows(const QString& path, Info::ResourceType type) const {
    const QUrl page = TLocalFileScheme::UrlForPath(FFolder.filePath("site/pages/temp.vnx"));
    return TRequestGuard::Allows(
        {TLocalFileScheme::UrlForPath(path), type, Info::NavigationTypeOther, {}, page}, false);
  }

  QTemporaryDir FFolder;
};

TEST_F(RequestGuardFilesTest, APreviewUsesFilesOfItsSiteOnlyAsWhatTheirOwnTypeSays) {
  struct TCase {
    const char* Name;
    Info::ResourceType Type;
    bool Allowed;
  } cases[] = {
      {"site/pages/a.png", Info::ResourceTypeImage, true},
      {"site/pages/a.txt", Info::ResourceTypeImage, false},
      {"site/css/site.css", Info::ResourceTypeStylesheet, true},
      {"site/pages/a.js", Info::ResourceTypeScript, true},
      {"site/pages/env.js", Info::ResourceTypeScript, false},  // a link to .env: a text file
      {"site/pages/a.txt", Info::ResourceTypeScript, false},
      {"site/pages/a.woff2", Info::ResourceTypeFontResource, true},
      {"site/pages/a.webm", Info::ResourceTypeMedia, true},
      {"site/pages/a.vtt", Info::ResourceTypeMedia, false},
      {"site/pages/a.json", Info::ResourceTypeScript, false},
      {"site/pages/other.htm", Info::ResourceTypeSubFrame, true},
      {"site/pages/a.png", Info::ResourceTypeObject, true},
      {"site/pages/a.txt", Info::ResourceTypeSubFrame, false},
      {"site/pages/a.txt", Info::ResourceTypeObject, false},
      {"site/pages/a.txt", Info::ResourceTypeMainFrame, false},
      {"site/pages/other.htm", Info::ResourceTypeMainFrame, true},
      {"site/.git/config", Info::ResourceTypeSubFrame, false},
      {"site/.env", Info::ResourceTypeSubFrame, false},
      {"outside/page.htm", Info::ResourceTypeSubFrame, false},
      {"outside/notes.txt", Info::ResourceTypeObject, false},
      {"outside/style.css", Info::ResourceTypeStylesheet, false},
      {"site/pages/linked.css", Info::ResourceTypeStylesheet, false},  // leads outside
      {"site/pages/missing.png", Info::ResourceTypeImage, false},
      {"site/pages/a.png", Info::ResourceTypeXhr, false},
      {"site/pages/a.js", Info::ResourceTypeWorker, false},
      {"site/pages/a.png", Info::ResourceTypePrefetch, false},
      {"site/pages/a.png", Info::ResourceTypePing, false},
      {"site/pages/a.png", Info::ResourceTypeSubResource, false},
  };
  for (const TCase& c : cases) EXPECT_EQ(Allows(Path(c.Name), c.Type), c.Allowed) << c.Name << " " << c.Type;
  EXPECT_FALSE(Allows("/etc/passwd", Info::ResourceTypeSubFrame));
}

TEST(RequestGuard, ARemotePageNeverReachesALocalFileButTheProgramAndTheHistoryDo) {
  EXPECT_FALSE(TRequestGuard::Allows(Request("vornfile:/a.png", Info::ResourceTypeImage, Remote), false));
  EXPECT_FALSE(
      TRequestGuard::Allows(Request("vornfile:/a.png", Info::ResourceTypeImage, Preview, Remote), false));
  EXPECT_FALSE(TRequestGuard::Allows(
      Request("vornfile:/a.htm", Info::ResourceTypeMainFrame, Remote, {}, Info::NavigationTypeLink), false));
  EXPECT_FALSE(TRequestGuard::Allows(
      Request("vornfile:/a.htm", Info::ResourceTypeMainFrame, Remote, {}, Info::NavigationTypeFormSubmitted),
      false));
  for (Info::NavigationType own :
       {Info::NavigationTypeTyped, Info::NavigationTypeBackForward, Info::NavigationTypeReload})
    EXPECT_TRUE(TRequestGuard::Allows(
        Request("vornfile:/a.htm", Info::ResourceTypeMainFrame, Remote, {}, own), true));
}

}  // namespace
