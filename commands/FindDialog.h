#pragma once

#include <QDialog>

#include "text/TextSearch.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

// The modeless find dialog: a find text of up to 255 characters, whole word, match case, up or
// down, Find Next (also Enter) and Cancel (also Escape). It keeps its text, options and place
// from one opening to the next.
class TFindDialog : public QDialog {
  Q_OBJECT

public:
  explicit TFindDialog(QWidget* parent = nullptr);

  QString FindText() const;
  void SetFindText(const QString& text);
  TSearchOptions Options() const;
  // Shown where it was last closed, or at first across the active window's monitor.
  void Open();

signals:
  void FindNext();

protected:
  void hideEvent(QHideEvent* event) override;

private:
  QLineEdit* FFindText;
  QCheckBox* FWholeWord;
  QCheckBox* FMatchCase;
  QRadioButton* FUp;
  QRadioButton* FDown;
  bool FHasPlace = false;
  QPoint FPlace;
};
