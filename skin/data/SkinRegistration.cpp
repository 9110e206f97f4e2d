#include "SkinRegistration.h"

#include "SkinStore.h"

void RegisterSkinClasses() { fw::RegisterComponentClass(TSkinStore::StaticClass()); }
