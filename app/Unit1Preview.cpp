// The preview coordination of the code window.
#include "Unit1.h"
#include "Unit4.h"
#include "WebBrowser.h"
#include "ui_Unit1.h"

void TForm1::CheckBox1Click() { Form4->WebBrowser1().SetOffline(ui->CheckBox1->isChecked()); }
