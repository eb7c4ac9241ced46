#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>
#include <optional>

#include "services/disk/FileStamp.h"

class QLabel;
class QMenu;
class TEditActions;
class TFileDialogAction;
class TFindAction;
class THighlightingPass;
class TRichEditPane;
class TTimer;
namespace Ui {
class TForm1;
}

// The code window: menu bar and option strip, the editing pane and the status bar.
class TForm1 : public QMainWindow {
  Q_OBJECT

public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  TTimer& Timer1() const { return *FTimer1; }
  QMenu& PopupMenu1() const { return *FPopupMenu1; }
  TFileDialogAction& FileOpen1() const { return *FFileOpen1; }
  TFileDialogAction& FileSaveAs1() const { return *FFileSaveAs1; }
  TFindAction& SearchFind1() const { return *FSearchFind1; }
  QString StatusPanelText(int panel) const;
  void SetStatusPanelText(int panel, const QString& text);
  const QString& CurrentFileName() const { return FCurrentFileName; }

  // Offers the shortcuts of this window's actions to another window of the program, for every
  // key that window does not take as one of its own.
  void OfferShortcutsTo(QWidget* window);

  // Start-up and shutdown.
  void FormShow();
  void FormClose();
  // Document commands.
  void Action1Execute();
  void Action2Execute();
  void FileOpen1Accept();
  void FileSaveAs1BeforeExecute();
  void FileSaveAs1Accept();
  // The program became active again: the document's file may have been changed or removed by
  // another program meanwhile.
  void ApplicationEvents1Activate();
  // Highlighting cycle and caret tracking.
  void Edit1Change();
  // Off: every pass scans and writes the whole document afresh; on (the default): the pass
  // re-scans what the change can reach, for the same document.
  void Edit1SelectionChange();
  void Button1Click();
  void CheckBox2Click();
  // Help and About.
  void Action3Execute();
  void Action4Execute();
  // Preview coordination.
  void Timer1Timer();
  void dxButton1Click();
  void CheckBox1Click();
  void Action5Execute();
  void check3Click();
  QString ScratchPath() const;
  // Settings file.
  void ReadSettings();
  void WriteSettings() const;

protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

private:
  void BuildStatusPanels();
  void BuildPopupMenu1();
  void BuildStandardActions();
  void ConnectHandlers();
  void AppendTemplate();
  void ShowEncoding();
  QString StartPagePath() const;
  void SetCurrentFileName(const QString& name);
  void MarkSaved();
  void LoadDocument(const QString& path);
  void SaveDocument(const QString& path);
  void KeepDiskStamp();
  void ConfirmOverwrite() const;
  bool DiskHoldsText() const;
  void RefreshPreview();
  void ShowCaretLine();

  std::unique_ptr<Ui::TForm1> ui;
  TTimer* FTimer1;
  QMenu* FPopupMenu1;
  QLabel* FPanels[3];
  TEditActions* FEditActions;
  TFileDialogAction* FFileOpen1;
  TFileDialogAction* FFileSaveAs1;
  TFindAction* FSearchFind1;
  QString FCurrentFileName;
  std::optional<TFileStamp> FDiskStamp;      // the document's file as last opened or saved
  std::optional<TFileStamp> FDeclinedStamp;  // a change on disk the user chose not to reload
  std::unique_ptr<THighlightingPass> FHighlighting;
  bool FShown = false;
};

extern TForm1* Form1;
