// The text format of form data and its parser.
//
//   // a comment runs to the end of the line
//   object FmMain: TFmMain
//     Left = 120                      integer (decimal or $hex)
//     Caption = "Tavrin"              string: "\xCC\xE1" escapes, \" \\ \n \r \t;
//                                     "a" + "b" joins pieces
//     BorderStyle = bsDialog          identifier (enumeration, colour, reference, handler)
//     Anchors = [akLeft, akTop]       set
//     Font.Name = "\xCB\xCE\xCC\xE5"  property of a sub-object
//     Items = ("00" "01" "02")        list of strings
//     Glyph = {424D3E000000}          binary data as hexadecimal digits
//     Columns = <                     collection of items
//       item Caption = "a" Width = 200 end
//     >
//     object btnClose: TBitBtn        nested object, owned by the root
//     end
//   end
//
// Strings hold GBK bytes; the file itself may hold GBK bytes directly.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fw {

struct TFormProperty;

struct TFormValue {
  enum Kind { Integer, String, Ident, Set, List, Binary, Collection };
  Kind kind = Integer;
  int64_t integer = 0;
  std::string text;                 // String and Ident
  std::vector<std::string> items;   // Set identifiers, List strings
  std::vector<uint8_t> bytes;       // Binary
  std::vector<std::vector<TFormProperty>> collection;  // Collection items
  int line = 0;
};

struct TFormProperty {
  std::string name;  // may be dotted: Font.Name
  TFormValue value;
  int line = 0;
};

struct TFormObject {
  std::string name;
  std::string className;
  std::vector<TFormProperty> props;
  std::vector<TFormObject> children;
  int line = 0;
};

// Parses one top-level object. On failure returns false with an error
// message naming the line ("line 12: ...").
bool ParseFormData(const std::string& text, TFormObject& root, std::string& error);

}  // namespace fw
