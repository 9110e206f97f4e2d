// A component publishing one property of every kind, for the tests of the
// property table, the property text routines and the form data reader.
#pragma once

#include <string>
#include <vector>

#include "Colors.h"
#include "Component.h"
#include "FormReader.h"
#include "StringList.h"

namespace sample {

using namespace fw;

enum TBorder { bdNone, bdSingle, bdDouble };
inline const TEnumType& BorderType() {
  static const TEnumType t{"TBorder", {"bdNone", "bdSingle", "bdDouble"}};
  return t;
}
enum TEdge { edLeft, edTop, edRight, edBottom };
inline const TEnumType& EdgeType() {
  static const TEnumType t{"TEdge", {"edLeft", "edTop", "edRight", "edBottom"}};
  return t;
}

// A persistent sub-object with its own properties (like a font).
class TStyle : public TPersistent {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TStyle>("TStyle", &TPersistent::StaticClass())
                                       .Str("FaceName", &TStyle::FaceName, &TStyle::SetFaceName)
                                       .Int("Size", &TStyle::Size, &TStyle::SetSize, 9);
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  std::string FaceName() const { return face; }
  void SetFaceName(const std::string& v) { face = v; }
  int32_t Size() const { return size; }
  void SetSize(int32_t v) { size = v; }
  bool Assign(const TPersistent& source) override {
    auto* s = dynamic_cast<const TStyle*>(&source);
    if (!s) return false;
    face = s->face;
    size = s->size;
    return true;
  }
  std::string face;
  int32_t size = 9;
};

class TSample : public TComponent {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info =
        TClassInfo::Make<TSample>("TSample", &TComponent::StaticClass())
            .Int("Count", &TSample::Count, &TSample::SetCount, 0)
            .Bool("Active", &TSample::Active, &TSample::SetActive, false)
            .Enum("Border", BorderType(), &TSample::Border, &TSample::SetBorder, bdSingle)
            .Set("Edges", EdgeType(), &TSample::Edges, &TSample::SetEdges, 3u)
            .Str("Caption", &TSample::Caption, &TSample::SetCaption)
            .Int("Color", &TSample::Color, &TSample::SetColor, clBtnFace, &ColorIdents())
            .Obj("Style", &TSample::Style)
            .Obj("Lines", &TSample::Lines)
            .Obj("Buddy", &TSample::Buddy, &TSample::SetBuddy)
            .Event("OnChange", &TSample::OnChange);
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TSample(TComponent* owner) : TComponent(owner) {}

  int32_t Count() const { return count; }
  void SetCount(int32_t v) { count = v; }
  bool Active() const { return active; }
  void SetActive(bool v) { active = v; }
  TBorder Border() const { return border; }
  void SetBorder(TBorder v) { border = v; }
  uint32_t Edges() const { return edges; }
  void SetEdges(uint32_t v) { edges = v; }
  std::string Caption() const { return caption; }
  void SetCaption(const std::string& v) { caption = v; }
  TColor Color() const { return color; }
  void SetColor(TColor v) { color = v; }
  TStyle* Style() const { return const_cast<TStyle*>(&style); }
  TStrings* Lines() const { return const_cast<TStringList*>(&lines); }
  TSample* Buddy() const { return buddy; }
  void SetBuddy(TSample* b) {
    if (buddy) buddy->RemoveFreeNotification(this);
    buddy = b;
    if (buddy) buddy->FreeNotification(this);
  }

  // "Data" is a custom binary property; "Flat" an obsolete Boolean that now
  // means Border = bdNone; "OldStyle" an obsolete identifier that is dropped.
  void DefineProperties(TFiler& filer) override {
    filer.DefineBinaryProperty("Data", [this](const std::vector<uint8_t>& bytes, std::string&) {
      data = bytes;
      return true;
    });
    filer.DefineProperty("Flat", [this](const TFormValue& v, std::string& error) {
      bool flat = false;
      if (!ReadBooleanValue(v, flat, error)) return false;
      if (flat) border = bdNone;
      return true;
    });
    filer.DefineProperty("OldStyle", DropIdent());
  }

  void Loaded() override {
    TComponent::Loaded();
    ++loadedCalls;
    captionAtLoaded = caption;
  }

  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove && c == buddy) buddy = nullptr;
  }

  int32_t count = 0;
  bool active = false;
  TBorder border = bdSingle;
  uint32_t edges = 3;
  std::string caption;
  TColor color = clBtnFace;
  TStyle style;
  TStringList lines;
  TSample* buddy = nullptr;
  std::vector<uint8_t> data;
  TNotifyEvent OnChange;
  int loadedCalls = 0;
  std::string captionAtLoaded;
};

// A root ("form") with published fields and a published handler.
class TSampleRoot : public TComponent {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info = TClassInfo::Make<TSampleRoot>("TSampleRoot", &TComponent::StaticClass())
                                       .Field("first", &TSampleRoot::first)
                                       .Field("second", &TSampleRoot::second)
                                       .Method("FirstChange", &TSampleRoot::FirstChange)
                                       .Method("WrongShape", &TSampleRoot::WrongShape);
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  explicit TSampleRoot(TComponent* owner) : TComponent(owner) {}

  void FirstChange(TObject* sender) { lastSender = sender; }
  void WrongShape(TObject*, int) {}

  TSample* first = nullptr;
  TSample* second = nullptr;
  TObject* lastSender = nullptr;
};

inline void RegisterSampleClasses() {
  RegisterComponentClass(TSample::StaticClass());
  RegisterComponentClass(TSampleRoot::StaticClass());
}

}  // namespace sample
