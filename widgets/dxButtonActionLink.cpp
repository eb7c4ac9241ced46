#include "widgets/dxButtonActionLink.h"

#include <QAction>
#include <QDynamicPropertyChangeEvent>

#include "widgets/dxButton.h"

TdxButtonActionLink::TdxButtonActionLink(TdxButton* client, QAction* action)
    : FClient(client), FAction(action) {
  connect(client, &TdxButton::Clicked, action, &QAction::trigger);
  connect(action, &QAction::changed, client, &TdxButton::ActionChange);
  connect(action, &QObject::destroyed, client, [client] { client->SetAction(nullptr); });
  action->installEventFilter(this);
}

TdxButtonActionLink::~TdxButtonActionLink() {
  if (FAction) {
    FAction->removeEventFilter(this);
    disconnect(FClient, nullptr, FAction, nullptr);
    disconnect(FAction, nullptr, FClient, nullptr);
  }
  FClient->update();
}

QAction* TdxButtonActionLink::Action() const { return FAction; }

// QAction has no signal for its dynamic properties; their changes arrive as events.
bool TdxButtonActionLink::eventFilter(QObject* watched, QEvent* event) {
  if (watched == FAction && event->type() == QEvent::DynamicPropertyChange &&
      static_cast<QDynamicPropertyChangeEvent*>(event)->propertyName() == "imageIndex")
    FClient->ActionImageIndexChanged(FAction->property("imageIndex").toInt());
  return false;
}
