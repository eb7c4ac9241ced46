// The settings file of the code window: three options and the bounds of both windows, read at
// the end of the start sequence and written at every close.
#include <QFileInfo>

#include "app/Unit1.h"
#include "browser/WebBrowser.h"
#include "pane/RichEditPane.h"
#include "services/IniFile.h"
#include "services/ProgramFolder.h"
#include "services/WindowBounds.h"
#include "ui_Unit1.h"
#include "windows/Unit4.h"

namespace {

constexpr char kOptions[] = "Vorn options";
constexpr char kInterface[] = "Vorn Interface";

struct TBoundKeys {
  const char* Height;
  const char* Width;
  const char* Left;
  const char* Top;
};

constexpr TBoundKeys kCodeKeys{"Height", "Width", "Left", "Top"};
constexpr TBoundKeys kPreviewKeys{"Height Pr", "Width Pr", "Left Pr", "Top Pr"};

// A window's four values are applied together, once all are read: before the window is framed
// on the screen, only a position handed over with its size lands where it was asked.
void ReadBounds(const TIniFile& ini, const TBoundKeys& keys, QWidget& window) {
  const int height = ini.ReadInteger(kInterface, keys.Height, 0);
  const int width = ini.ReadInteger(kInterface, keys.Width, 0);
  const int left = ini.ReadInteger(kInterface, keys.Left, 0);
  const int top = ini.ReadInteger(kInterface, keys.Top, 0);
  SetOuterBounds(window, ReachableBounds(window, QRect(left, top, width, height)));
}

void WriteBounds(TIniFile& ini, const TBoundKeys& keys, const QWidget& window) {
  const QRect bounds = OuterBounds(window);
  ini.WriteInteger(kInterface, keys.Height, bounds.height());
  ini.WriteInteger(kInterface, keys.Width, bounds.width());
  ini.WriteInteger(kInterface, keys.Left, bounds.left());
  ini.WriteInteger(kInterface, keys.Top, bounds.top());
}

QString OptionText(const QCheckBox& box) {
  return box.isChecked() ? QStringLiteral("1") : QStringLiteral("0");
}

}  // namespace

QString TForm1::SettingsPath() const { return ProgramFolder() + QStringLiteral("vorn.ini"); }

// A file that cannot be read whole counts as none, as it will not be written either. Only the
// exact text "1" checks a box. Each box's change runs its handler; the word wrap and
// the browser's offline state are then set explicitly, which changes nothing when they agree.
void TForm1::ReadSettings() {
  const QString path = SettingsPath();
  if (!QFileInfo::exists(path)) return;
  QString preview, wordWrap, offline;
  {
    const TIniFile ini(path);
    if (!ini.IsReadable()) return;
    preview = ini.ReadString(kOptions, "Automatic Preview", QString());
    wordWrap = ini.ReadString(kOptions, "Word Wrap", QString());
    offline = ini.ReadString(kOptions, "Working Offline", QString());
    ReadBounds(ini, kCodeKeys, *this);
    ReadBounds(ini, kPreviewKeys, *Form4);
  }
  ui->Check1->setChecked(preview == QLatin1String("1"));
  ui->CheckBox2->setChecked(wordWrap == QLatin1String("1"));
  ui->Edit1->SetWordWrap(wordWrap == QLatin1String("1"));
  ui->CheckBox1->setChecked(offline == QLatin1String("1"));
  Form4->WebBrowser1().SetOffline(offline == QLatin1String("1"));
  MarkSaved();
}

void TForm1::WriteSettings() const {
  TIniFile ini(SettingsPath());
  ini.WriteString(kOptions, "Automatic Preview", OptionText(*ui->Check1));
  ini.WriteString(kOptions, "Word Wrap", OptionText(*ui->CheckBox2));
  ini.WriteString(kOptions, "Working Offline", OptionText(*ui->CheckBox1));
  WriteBounds(ini, kCodeKeys, *this);
  WriteBounds(ini, kPreviewKeys, *Form4);
  ini.UpdateFile();
}
