// The form data parser and reader (framework/FormData, FormReader,
// PropertyText): the text format, then the reading into a root whose
// objects publish a property of every kind (integer, Boolean, enumeration,
// set, string, colour, owned sub-object, string list, reference, event),
// custom binary and obsolete properties, and the skin store's collection of
// skin items with their binary data.
//
// Checked besides the absence of faults (and of leaks, as the components
// are freed): a refusal always comes with an error message, the parser's
// naming the line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FormData.h"
#include "FormReader.h"
#include "SampleComponent.h"
#include "SkinRegistration.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  static const bool registered = [] {
    sample::RegisterSampleClasses();
    RegisterSkinClasses();
    return true;
  }();
  (void)registered;

  const std::string text(reinterpret_cast<const char*>(data), size);
  fw::TFormObject parsed;
  std::string error;
  if (!fw::ParseFormData(text, parsed, error)) {
    if (error.find("line") == std::string::npos) abort();
    return 0;
  }
  sample::TSampleRoot root(nullptr);
  if (!fw::ReadFormObject(&root, parsed, error) && error.empty()) abort();
  return 0;
}
