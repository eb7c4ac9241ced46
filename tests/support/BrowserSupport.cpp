#include "tests/support/BrowserSupport.h"

#include <QEventLoop>
#include <QSignalSpy>
#include <QTimer>
#include <QWebEnginePage>

#include "browser/WebBrowser.h"

bool WaitForLoad(TWebBrowser& browser, int timeoutMs) {
  QSignalSpy finished(&browser, &QWebEngineView::loadFinished);
  if (!finished.wait(timeoutMs)) return false;
  return finished.takeFirst().at(0).toBool();
}

QVariant RunScript(TWebBrowser& browser, const QString& script) {
  QVariant result;
  QEventLoop loop;
  browser.page()->runJavaScript(script, [&](const QVariant& value) {
    result = value;
    loop.quit();
  });
  QTimer::singleShot(20000, &loop, &QEventLoop::quit);
  loop.exec();
  return result;
}
