#include "Registration.h"

#include "Button.h"
#include "Buttons.h"
#include "ComboBox.h"
#include "Edit.h"
#include "Form.h"
#include "Image.h"
#include "ImageList.h"
#include "Label.h"
#include "ListBox.h"
#include "ListView.h"
#include "MaskEdit.h"
#include "Menus.h"
#include "Panel.h"
#include "SpinEdit.h"
#include "Timer.h"

namespace fw {

void RegisterStandardClasses() {
  for (const TClassInfo* c :
       {&TForm::StaticClass(), &TPopupMenu::StaticClass(), &TMenuItem::StaticClass(), &TTimer::StaticClass(),
        &TEdit::StaticClass(), &TMaskEdit::StaticClass(), &TLabel::StaticClass(), &TButton::StaticClass(),
        &TBitBtn::StaticClass(), &TSpeedButton::StaticClass(), &TCheckBox::StaticClass(),
        &TComboBox::StaticClass(), &TSpinEdit::StaticClass(), &TUpDown::StaticClass(), &TListBox::StaticClass(),
        &TCheckListBox::StaticClass(), &TListView::StaticClass(), &TImage::StaticClass(),
        &TImageList::StaticClass(), &TPanel::StaticClass(), &TMainMenu::StaticClass()})
    RegisterComponentClass(*c);
}

}  // namespace fw
