// Reads form data into a root component (a form): sets the root's
// properties, creates every nested object (owned by the root, placed in
// its enclosing object with SetParentComponent), stores each in the
// root's published field of the same name, resolves references to other
// components and event handlers named after the root's published methods,
// and finally calls Loaded on every component read, root first.
//
// Properties that are not published can still be read through the
// component's DefineProperties: custom binary properties and the names of
// obsolete properties (read and dropped, or mapped onto new ones).
//
// Errors name the object and the property: "FmMain.btnClose.Caption
// (line 12): a string is expected".
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Component.h"
#include "FormData.h"

namespace fw {

class TFiler {
 public:
  using TReadProc = std::function<bool(const TFormValue& value, std::string& error)>;

  void DefineProperty(const std::string& name, TReadProc read);
  // A property given as binary data ({...}).
  void DefineBinaryProperty(const std::string& name,
                            std::function<bool(const std::vector<uint8_t>& data, std::string& error)> read);
  const TReadProc* Find(const std::string& name) const;

 private:
  std::vector<std::pair<std::string, TReadProc>> defs_;
};

// Readers that accept an obsolete property's value and drop it.
TFiler::TReadProc DropBoolean();
TFiler::TReadProc DropIdent();
TFiler::TReadProc DropSet();
// True/False of a Boolean value; false with an error for anything else.
bool ReadBooleanValue(const TFormValue& value, bool& result, std::string& error);

bool ReadFormData(TComponent* root, const std::string& text, std::string& error);
bool ReadFormObject(TComponent* root, const TFormObject& data, std::string& error);

}  // namespace fw
