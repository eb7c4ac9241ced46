#pragma once

#include <QString>
#include <QVariant>

class TWebBrowser;

// Waits (bounded) for the browser's next page load to finish; returns whether it succeeded.
bool WaitForLoad(TWebBrowser& browser, int timeoutMs = 20000);
// Runs script in the page and returns its result.
QVariant RunScript(TWebBrowser& browser, const QString& script);
