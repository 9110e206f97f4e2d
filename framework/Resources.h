// Data kept as resources in the executable (RCDATA): form data texts and
// pictures, looked up by name.
#pragma once

#include <string>

namespace fw {

// The bytes of the RCDATA resource of that name in the program; false when
// there is none.
bool LoadResourceText(const std::string& name, std::string& data);

}  // namespace fw
