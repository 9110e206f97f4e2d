#include "KvRegistration.h"

#include "CheckedComboBox.h"
#include "Component.h"
#include "KvFrameController.h"
#include "KvLine.h"
#include "KvPanel.h"

namespace kv {

void RegisterKvClasses() {
  fw::RegisterComponentClass(TKvFrameController::StaticClass());
  fw::RegisterComponentClass(TKvRegIniFile::StaticClass());
  fw::RegisterComponentClass(TKvLine::StaticClass());
  fw::RegisterComponentClass(TKvPanel::StaticClass());
  fw::RegisterComponentClass(TKvGroupBox::StaticClass());
  fw::RegisterComponentClass(TCheckedComboBox::StaticClass());
}

}  // namespace kv
