#pragma once

#include <QImage>
#include <QList>
#include <QObject>

class QAction;

// Pictures shared by the actions of one window, taken by index. An action belongs to the
// action list of the object that owns it, and that list's images are the image list it owns.
class TImageList : public QObject {
  Q_OBJECT

public:
  explicit TImageList(QObject* parent = nullptr);

  int Count() const;
  QImage Image(int index) const;  // a null image outside 0 to Count() - 1
  void Add(const QImage& image);
  void Clear();

  // The image list of the action's list, or none.
  static TImageList* OfAction(const QAction* action);

signals:
  void Change();

private:
  QList<QImage> FImages;
};
