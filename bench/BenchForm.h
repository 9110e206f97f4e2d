// The benchmark form: a form class of its own and the form data of fifty
// controls, shared by the framework and skin benchmarks so that both
// measure the same window.
#pragma once

#include <string>

#include "Application.h"
#include "TextUtils.h"

namespace benchform {

class TFmBench : public fw::TForm {
 public:
  static const fw::TClassInfo& StaticClass() {
    static const fw::TClassInfo info = fw::TClassInfo::Make<TFmBench>("TFmBench", &fw::TForm::StaticClass());
    return info;
  }
  const fw::TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TFmBench(fw::TComponent* owner) : fw::TForm(owner) {}
};

// Ten rows of five controls: label, edit, check box, drop-down list, button.
inline std::string BenchFormData() {
  std::string s =
      "object FmBench: TFmBench\n  BorderStyle = bsDialog\n  Caption = \"Bench\"\n"
      "  ClientWidth = 640\n  ClientHeight = 420\n  Position = poScreenCenter\n";
  for (int row = 0; row < 10; ++row) {
    int y = 8 + row * 40;
    s += fw::Format("  object lbl%d: TLabel\n    Left = 8\n    Top = %d\n    Caption = \"\\xD3\\xC3\\xBB\\xA7 %d\"\n  end\n",
                row, y, row);
    s += fw::Format("  object edt%d: TEdit\n    Left = 80\n    Top = %d\n    Width = 120\n    Text = \"%d\"\n  end\n", row,
                y, row);
    s += fw::Format("  object chk%d: TCheckBox\n    Left = 210\n    Top = %d\n    Caption = \"\\xBC\\xD3\\xC3\\xDC\"\n"
                "    Checked = True\n  end\n",
                row, y);
    s += fw::Format("  object cbb%d: TComboBox\n    Left = 320\n    Top = %d\n    Style = csDropDownList\n"
                "    Items = (\"a\" \"b\" \"c\")\n    ItemIndex = 1\n  end\n",
                row, y);
    s += fw::Format("  object btn%d: TButton\n    Left = 480\n    Top = %d\n    Caption = \"OK\"\n  end\n", row, y);
  }
  return s + "end\n";
}

}  // namespace benchform
