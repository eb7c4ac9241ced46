#include "widgets/ImageList.h"

#include <QAction>

TImageList::TImageList(QObject* parent) : QObject(parent) {}

int TImageList::Count() const { return int(FImages.size()); }

QImage TImageList::Image(int index) const {
  return index >= 0 && index < Count() ? FImages[index] : QImage();
}

void TImageList::Add(const QImage& image) {
  FImages.append(image);
  emit Change();
}

void TImageList::Clear() {
  FImages.clear();
  emit Change();
}

TImageList* TImageList::OfAction(const QAction* action) {
  const QObject* list = action ? action->parent() : nullptr;
  return list ? list->findChild<TImageList*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}
