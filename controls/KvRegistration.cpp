#include "KvRegistration.h"

#include "Component.h"
#include "KvFrameController.h"
#include "KvLine.h"

namespace kv {

void RegisterKvClasses() {
  fw::RegisterComponentClass(TKvFrameController::StaticClass());
  fw::RegisterComponentClass(TKvRegIniFile::StaticClass());
  fw::RegisterComponentClass(TKvLine::StaticClass());
}

}  // namespace kv
