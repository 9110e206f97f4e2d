// Reading and writing published properties by name, as text.
//
// Text forms: integers in decimal (or an identifier for values that have
// one, such as "clBtnFace"); Booleans "True"/"False"; enumerations by
// name ("bsNone"); sets as "[akLeft,akTop]"; strings as they are;
// references to components by the component's name ("" for none).
// Dotted names reach properties of sub-objects ("Font.Name").
// A missing property is reported as missing; nothing here throws.
#pragma once

#include <cstdint>
#include <string>

#include "TypeInfo.h"

namespace fw {

enum class TPropStatus { Ok, Missing, BadValue, ReadOnly, WrongKind };

// The property's information for obj (after resolving a dotted path, with
// target set to the object that carries it); nullptr when missing.
const TPropInfo* FindPropPath(TObject* obj, const std::string& path, TObject*& target);
bool IsPublishedProp(const TObject* obj, const std::string& path);

TPropStatus GetPropText(const TObject* obj, const std::string& path, std::string& text);
TPropStatus SetPropText(TObject* obj, const std::string& path, const std::string& text);

// Ordinal access (integer, enumeration and set kinds).
TPropStatus GetOrdProp(const TObject* obj, const std::string& path, int32_t& value);
// BadValue for a number that is no value of an enumeration, or bits
// outside a set's elements (nothing is set then).
TPropStatus SetOrdProp(TObject* obj, const std::string& path, int32_t value);
TPropStatus GetObjectProp(const TObject* obj, const std::string& path, TObject*& value);
TPropStatus SetObjectProp(TObject* obj, const std::string& path, TObject* value);

// Conversions of one property's ordinal value to and from its text form.
std::string OrdToText(const TPropInfo& prop, int32_t value);
bool TextToOrd(const TPropInfo& prop, const std::string& text, int32_t& value);
std::string SetToText(const TEnumType& element, uint32_t bits);
bool TextToSet(const TEnumType& element, const std::string& text, uint32_t& bits);

}  // namespace fw
