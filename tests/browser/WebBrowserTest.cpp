#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

#include "browser/WebBrowser.h"
#include "tests/support/BrowserSupport.h"
#include "tests/support/TestSupport.h"

namespace {

class WebBrowserTest : public testing::Test {
protected:
  QString Page(const QString& name, const QByteArray& html) {
    const QString path = FFolder.filePath(name);
    WriteFileBytes(path, html);
    return path;
  }
  QString Show(const QString& path) {
    FBrowser.Navigate(path);
    EXPECT_TRUE(WaitForLoad(FBrowser)) << path.toStdString();
    return FBrowser.title();
  }
  QString Script(const QString& script) { return RunScript(FBrowser, script).toString(); }

  QTemporaryDir FFolder;
  TWebBrowser FBrowser;
};

QByteArray TitledPage(const QByteArray& title, const QByteArray& body = {}) {
  return "<html><head><title>" + title + "</title></head><body>" + body + "</body></html>";
}

TEST_F(WebBrowserTest, RendersVnxFileAsHtmlAndReadsItAfreshAfterARewrite) {
  const QString path = Page("temp.vnx", TitledPage("First", "<p id=t>caf\xe9</p>"));
  EXPECT_EQ(Show(path), "First");
  EXPECT_EQ(Script("document.getElementById('t').innerText"), QString::fromUtf8("caf\xc3\xa9"));

  WriteFileBytes(path, TitledPage("Second"));
  EXPECT_EQ(Show(path), "Second");
}

// A page written from a document is read in the document's encoding, declared or not; a page
// such as the start page in the encoding its own bytes call for.
TEST_F(WebBrowserTest, APageIsReadInTheEncodingOfItsDocument) {
  const QByteArray utf8 = "Caf\xC3\xA9 \xE2\x80\x94 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80";
  const auto show = [this](const QByteArray& head, const QByteArray& text,
                           std::optional<TTextEncoding> encoding) {
    const QString path = Page("temp.vnx", "<html><head>" + head + "<title>T</title></head><body><p id=t>" +
                                              text + "</p></body></html>");
    if (encoding)
      FBrowser.Navigate(path, *encoding);
    else
      FBrowser.Navigate(path);
    EXPECT_TRUE(WaitForLoad(FBrowser));
    return (Script("document.characterSet") + ' ' + Script("document.getElementById('t').innerText"))
        .toStdString();
  };
  const std::string shown = "UTF-8 " + utf8.toStdString();
  EXPECT_EQ(show({}, utf8, TTextEncoding::Utf8), shown);
  EXPECT_EQ(show("<meta charset=\"utf-8\">", utf8, TTextEncoding::Utf8), shown);
  EXPECT_EQ(show({}, utf8, std::nullopt), shown);
  EXPECT_EQ(show({}, "Caf\xE9 \x97", TTextEncoding::Windows1252), "windows-1252 Caf\xC3\xA9 \xE2\x80\x94");
}

TEST_F(WebBrowserTest, ResolvesRelativeStyleSheetsAndPicturesAgainstThePagesFolder) {
  QDir(FFolder.path()).mkdir("img");
  Page("site.css", "body { color: rgb(1, 2, 3); }");
  QFile::copy(":/glyphs/glyph06.png", FFolder.filePath("img/new.png"));
  const QString path = Page("page.vnx",
                            "<html><head><title>P</title><link rel=stylesheet href='site.css'></head>"
                            "<body><img src='img/new.png'></body></html>");
  Show(path);
  EXPECT_EQ(Script("getComputedStyle(document.body).color"), "rgb(1, 2, 3)");
  EXPECT_EQ(Script("String(document.images[0].naturalWidth)"), "16");
}

TEST_F(WebBrowserTest, ScriptInAPageCannotReadOtherLocalFiles) {
  Page("secret.txt", "secret");
  Show(
      Page("page.vnx", TitledPage("P", "<iframe id=f src='secret.txt' onload='window.shown = 1'></iframe>")));
  const QString byRequest = Script(
      "(function(){try{var x=new XMLHttpRequest();x.open('GET','secret.txt',false);x.send();"
      "return x.responseText;}catch(e){return 'refused';}})()");
  EXPECT_EQ(byRequest, "refused");
  EXPECT_TRUE(QTest::qWaitFor([&] { return Script("String(window.shown)") == "1"; }, 10000));
  const QString byFrame = Script(
      "(function(){try{return document.getElementById('f').contentDocument.body.innerText;}"
      "catch(e){return 'refused';}})()");
  EXPECT_NE(byFrame, "secret");
}

TEST_F(WebBrowserTest, GoesBackAndForwardThroughItsHistory) {
  const QString first = Page("a.vnx", TitledPage("A"));
  const QString second = Page("b.vnx", TitledPage("B"));
  Show(first);
  Show(second);
  FBrowser.GoBack();
  ASSERT_TRUE(WaitForLoad(FBrowser));
  EXPECT_EQ(FBrowser.title(), "A");
  FBrowser.GoForward();
  ASSERT_TRUE(WaitForLoad(FBrowser));
  EXPECT_EQ(FBrowser.title(), "B");
}

TEST_F(WebBrowserTest, OfflineRefusesTheNetworkButStillShowsLocalFiles) {
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
  QSignalSpy connections(&server, &QTcpServer::newConnection);
  const QByteArray url = "http://127.0.0.1:" + QByteArray::number(server.serverPort()) + "/x.png";
  const QString page = Page("net.vnx", TitledPage("Local", "<img src='" + url + "'>"));

  FBrowser.SetOffline(true);
  EXPECT_TRUE(FBrowser.Offline());
  EXPECT_EQ(Show(page), "Local");
  FBrowser.load(QUrl(QString::fromLatin1(url)));
  EXPECT_FALSE(WaitForLoad(FBrowser));  // refused before any connection was made
  EXPECT_EQ(connections.count(), 0);

  FBrowser.SetOffline(false);
  FBrowser.load(QUrl(QString::fromLatin1(url + "?online")));
  EXPECT_TRUE(connections.wait(10000));
}

}  // namespace
