// An edit whose text follows an input mask, over the system EDIT class.
//
// Mask: one character per position. Editable positions: L letter, l letter
// or blank, A letter or digit, a the same or blank, C any character, c any
// or blank, 0 digit, 9 digit or blank, # digit, sign or blank; > upper-
// cases and < lower-cases what follows, \ makes the next character a
// literal; every other character is a literal shown as it is. Two optional
// fields follow, separated by ";": 1 (Text keeps the literals) or 0, and
// the blank character shown in empty positions ("AA AA;1;_").
//
// Only characters the mask accepts get in, by every route: typing, paste
// (Ctrl+V, Shift+Insert, the context menu), cut, delete, and text set from
// outside (WM_SETTEXT, EM_REPLACESEL). Typed and pasted characters, and
// the text of EM_REPLACESEL, pass OnKeyPress first. A paste or replacement
// with any character refused changes nothing.
#pragma once

#include <string>
#include <vector>

#include "Edit.h"

namespace fw {

// The parsed mask; usable without a window (the rules are tested natively
// through the control's text routines).
class TEditMask {
 public:
  explicit TEditMask(const std::string& mask = std::string());
  bool Empty() const { return slots_.empty(); }
  int Length() const { return static_cast<int>(slots_.size()); }
  bool IsLiteral(int pos) const;
  char Literal(int pos) const;
  bool SaveLiterals() const { return saveLiterals_; }
  char Blank() const { return blank_; }
  // The character as it goes into position pos (case applied), or 0 when
  // the position does not take it.
  char Accept(int pos, char ch) const;
  // The text shown for a text given from outside.
  std::string Format(const std::string& text) const;
  // The empty text (literals and blanks).
  std::string EmptyText() const;
  // Text of the edit text: blanks become spaces; without saved literals
  // only the editable positions are kept.
  std::string TextOf(const std::string& editText) const;
  int NextEditable(int pos) const;   // first editable position >= pos, or -1
  int PrevEditable(int pos) const;   // last editable position < pos, or -1

 private:
  struct Slot {
    char kind;     // mask letter, or 0 for a literal
    char literal;
    int caseMode;  // 0 none, 1 upper, 2 lower
  };
  std::vector<Slot> slots_;
  bool saveLiterals_ = true;
  char blank_ = '_';
};

class TMaskEdit : public TCustomEdit {
 public:
  static const TClassInfo& StaticClass();
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

  explicit TMaskEdit(TComponent* owner);

  std::string EditMask() const { return maskText_; }
  void SetEditMask(const std::string& mask);
  // The text as shown, blanks included.
  std::string EditText() const;
  std::string GetText() const override;
  void SetText(const std::string& text) override;
  bool IsMasked() const { return !mask_.Empty(); }

  // Editing operations (also what the keys and clipboard messages do).
  bool InsertChar(char ch);
  bool PasteText(const std::string& text);
  void DeleteSelection();
  void DeleteBack() { DeleteChar(false); }
  void DeleteForward() { DeleteChar(true); }

 protected:
  void WndProc(TMessage& message) override;
  void WindowCreated() override;

 private:
  void ApplyEditText(const std::string& text, int caret);
  void GetSel(int& start, int& end) const;
  char Filter(char ch);  // through OnKeyPress and CharCase; 0 refused
  // Blanks the editable position after (or before) the caret, or the
  // selection when there is one.
  void DeleteChar(bool forward);
  std::string maskText_;
  TEditMask mask_;
  std::string editText_;  // kept when there is no window
};

}  // namespace fw
