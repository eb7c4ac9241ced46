#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <functional>

class TWebBrowser;

// Writes bytes to a file, replacing it.
void WriteFileBytes(const QString& path, const QByteArray& bytes);
QByteArray ReadFileBytes(const QString& path);

// Waits (bounded) for the browser's next page load to finish; returns whether it succeeded.
bool WaitForLoad(TWebBrowser& browser, int timeoutMs = 20000);
// Runs script in the page and returns its result.
QVariant RunScript(TWebBrowser& browser, const QString& script);

// Answers the next modal window of the given class (any class when null) that becomes the
// active modal window, from a timer; gives up after timeoutMs.
void WhenModalOpens(const std::function<void(QWidget*)>& answer, const char* className = nullptr,
                    int timeoutMs = 20000);
