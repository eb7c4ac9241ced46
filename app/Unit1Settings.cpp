// The settings file of the code window: three options and the bounds of both windows, read at
// the end of the start sequence and written at every close.
#include <QFileInfo>
#include <algorithm>

#include "app/Unit1.h"
#include "browser/WebBrowser.h"
#include "pane/RichEditPane.h"
#include "services/IniFile.h"
#include "services/SettingsLocation.h"
#include "services/WindowBounds.h"
#include "ui_Unit1.h"
#include "windows/Unit4.h"

namespace {

constexpr char Options[] = "Vorn options";
constexpr char Interface[] = "Vorn Interface";

// A window's keys, and the least client size that keeps it usable: the code window's menus, a
// few lines of the pane and the status bar, no wider than its side-by-side place; the preview's
// menu bar and a useful part of the page.
struct TBoundKeys {
  const char* Height;
  const char* Width;
  const char* Left;
  const char* Top;
  QSize Least;
};

const TBoundKeys CodeKeys{"Height", "Width", "Left", "Top", QSize(430, 160)};
const TBoundKeys PreviewKeys{"Height Pr", "Width Pr", "Left Pr", "Top Pr", QSize(320, 200)};

// Far beyond any screen, and small enough that a corner plus a size stays an integer.
int WithinReach(int value) { return std::clamp(value, -QWIDGETSIZE_MAX, QWIDGETSIZE_MAX); }

// A window's four values are applied together, once all are read: before the window is framed
// on the screen, only a position handed over with its size lands where it was asked.
void ReadBounds(const TIniFile& ini, const TBoundKeys& keys, QWidget& window) {
  const int height = WithinReach(ini.ReadInteger(Interface, keys.Height, 0));
  const int width = WithinReach(ini.ReadInteger(Interface, keys.Width, 0));
  const int left = WithinReach(ini.ReadInteger(Interface, keys.Left, 0));
  const int top = WithinReach(ini.ReadInteger(Interface, keys.Top, 0));
  SetOuterBounds(window, ReachableBounds(window, QRect(left, top, width, height), keys.Least));
}

void WriteBounds(TIniFile& ini, const TBoundKeys& keys, const QWidget& window) {
  const QRect bounds = OuterBounds(window);
  ini.WriteInteger(Interface, keys.Height, bounds.height());
  ini.WriteInteger(Interface, keys.Width, bounds.width());
  ini.WriteInteger(Interface, keys.Left, bounds.left());
  ini.WriteInteger(Interface, keys.Top, bounds.top());
}

QString OptionText(const QCheckBox& box) {
  return box.isChecked() ? QStringLiteral("1") : QStringLiteral("0");
}

}  // namespace

// A file that cannot be read whole counts as none, as it will not be written either. Only the
// exact text "1" checks a box. Each box's change runs its handler; the word wrap and
// the browser's offline state are then set explicitly, which changes nothing when they agree.
void TForm1::ReadSettings() {
  const QString path = ProgramSettingsLocation().ReadPath;
  if (!QFileInfo::exists(path)) return;
  QString preview, wordWrap, offline;
  {
    const TIniFile ini(path);
    if (!ini.IsReadable()) return;
    preview = ini.ReadString(Options, "Automatic Preview", QString());
    wordWrap = ini.ReadString(Options, "Word Wrap", QString());
    offline = ini.ReadString(Options, "Working Offline", QString());
    ReadBounds(ini, CodeKeys, *this);
    ReadBounds(ini, PreviewKeys, *Form4);
  }
  ui->Check1->setChecked(preview == QLatin1String("1"));
  ui->CheckBox2->setChecked(wordWrap == QLatin1String("1"));
  ui->Edit1->SetWordWrap(wordWrap == QLatin1String("1"));
  ui->CheckBox1->setChecked(offline == QLatin1String("1"));
  Form4->WebBrowser1().SetOffline(offline == QLatin1String("1"));
  MarkSaved();
}

// What the file read holds beyond these keys is kept, also when it was an administrator's
// defaults and the user's own file is written.
void TForm1::WriteSettings() const {
  const TSettingsLocation location = ProgramSettingsLocation();
  TIniFile ini(location.ReadPath);
  ini.SetWritePath(location.WritePath);
  ini.WriteString(Options, "Automatic Preview", OptionText(*ui->Check1));
  ini.WriteString(Options, "Word Wrap", OptionText(*ui->CheckBox2));
  ini.WriteString(Options, "Working Offline", OptionText(*ui->CheckBox1));
  WriteBounds(ini, CodeKeys, *this);
  WriteBounds(ini, PreviewKeys, *Form4);
  MakeSettingsFolder(location);
  ini.UpdateFile();
}
