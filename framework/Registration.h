// Registers the framework's own component classes for form data (done by
// the application object when it starts).
#pragma once

namespace fw {

void RegisterStandardClasses();

}  // namespace fw
