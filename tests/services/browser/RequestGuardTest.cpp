#include <gtest/gtest.h>

#include "RequestGuard.h"

namespace {

using Info = QWebEngineUrlRequestInfo;

const QUrl kPreview("vornfile:/home/u/site/page.htm");
const QUrl kRemote("http://example.com/page.html");

TRequestGuard::TRequest Request(const char* url, Info::ResourceType type, const QUrl& firstParty = kPreview,
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

TEST(RequestGuard, APreviewUsesLocalFilesOnlyAsWhatTheirTypeSays) {
  struct TCase {
    const char* Url;
    Info::ResourceType Type;
    bool Allowed;
  } cases[] = {
      {"vornfile:/home/u/site/a.png", Info::ResourceTypeImage, true},
      {"vornfile:/home/u/site/a.txt", Info::ResourceTypeImage, false},
      {"vornfile:/home/u/site/a.css", Info::ResourceTypeStylesheet, true},
      {"vornfile:/home/u/.netrc", Info::ResourceTypeStylesheet, false},
      {"vornfile:/home/u/site/a.js", Info::ResourceTypeScript, true},
      {"vornfile:/home/u/secret.txt", Info::ResourceTypeScript, false},
      {"vornfile:/home/u/site/a.woff2", Info::ResourceTypeFontResource, true},
      {"vornfile:/home/u/site/a.webm", Info::ResourceTypeMedia, true},
      {"vornfile:/home/u/site/a.ico", Info::ResourceTypeFavicon, true},
      {"vornfile:/home/u/secret.txt", Info::ResourceTypeSubFrame, true},
      {"vornfile:/home/u/site/other.htm", Info::ResourceTypeMainFrame, true},
      {"vornfile:/home/u/site/a.png", Info::ResourceTypeXhr, false},
      {"vornfile:/home/u/site/a.js", Info::ResourceTypeWorker, false},
      {"vornfile:/home/u/site/a.png", Info::ResourceTypePrefetch, false},
      {"vornfile:/home/u/site/a.png", Info::ResourceTypePing, false},
      {"vornfile:/home/u/site/a.png", Info::ResourceTypeSubResource, false},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(TRequestGuard::Allows(Request(c.Url, c.Type), false), c.Allowed) << c.Url << " " << c.Type;
}

TEST(RequestGuard, ARemotePageNeverReachesALocalFileButTheProgramAndTheHistoryDo) {
  EXPECT_FALSE(TRequestGuard::Allows(Request("vornfile:/a.png", Info::ResourceTypeImage, kRemote), false));
  EXPECT_FALSE(
      TRequestGuard::Allows(Request("vornfile:/a.png", Info::ResourceTypeImage, kPreview, kRemote), false));
  EXPECT_FALSE(TRequestGuard::Allows(
      Request("vornfile:/a.htm", Info::ResourceTypeMainFrame, kRemote, {}, Info::NavigationTypeLink), false));
  EXPECT_FALSE(TRequestGuard::Allows(
      Request("vornfile:/a.htm", Info::ResourceTypeMainFrame, kRemote, {}, Info::NavigationTypeFormSubmitted),
      false));
  for (Info::NavigationType own :
       {Info::NavigationTypeTyped, Info::NavigationTypeBackForward, Info::NavigationTypeReload})
    EXPECT_TRUE(TRequestGuard::Allows(
        Request("vornfile:/a.htm", Info::ResourceTypeMainFrame, kRemote, {}, own), true));
}

}  // namespace
