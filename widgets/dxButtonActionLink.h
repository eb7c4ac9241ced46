#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class TdxButton;

// Ties a button to an action: the button clicks the action, follows its changes and its
// "imageIndex" property, and repaints when the tie ends.
class TdxButtonActionLink : public QObject {
public:
  TdxButtonActionLink(TdxButton* client, QAction* action);
  ~TdxButtonActionLink() override;

  QAction* Action() const;

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  TdxButton* const FClient;
  QPointer<QAction> FAction;
};
