// Common controls over comctl32 and rich-edit window classes.
//
// Classes in this file:
//   TStatusPanel / TStatusPanels - one part of a status bar and the stored collection of them
//   TCustomStatusBar / TStatusBar - msctls_statusbar32: panels, simple mode, size grip, owner draw
//   TProgressBar                 - msctls_progress32: Min, Max, Position
//   TCustomRichEdit / TRichEdit  - a rich-edit window used as a (plain) text viewer
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "StdCtrls.h"

namespace fw {

class TCustomStatusBar;

enum class TStatusPanelStyle { psText, psOwnerDraw };
using enum TStatusPanelStyle;
enum class TStatusPanelBevel { pbNone, pbLowered, pbRaised };
using enum TStatusPanelBevel;

class TStatusPanels;

class TStatusPanel : public TPersistent {
  FW_DECLARE_CLASS()
public:
  explicit TStatusPanel(TStatusPanels* owner) : FOwner(owner) {}
  int Index() const;
  const std::wstring& Text() const { return FText; }
  void SetText(const std::wstring& s);
  int Width() const { return FWidth; }
  void SetWidth(int w);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment a);
  TStatusPanelStyle Style() const { return FStyle; }
  void SetStyle(TStatusPanelStyle s);
  TStatusPanelBevel Bevel() const { return FBevel; }
  void SetBevel(TStatusPanelBevel b);

private:
  void Changed(bool layout);
  TStatusPanels* FOwner;
  std::wstring FText;
  int FWidth = 50;
  TAlignment FAlignment = taLeftJustify;
  TStatusPanelStyle FStyle = psText;
  TStatusPanelBevel FBevel = pbLowered;
};

class TStatusPanels : public TCollection {
  FW_DECLARE_CLASS()
public:
  explicit TStatusPanels(TCustomStatusBar* bar) : FBar(bar) {}
  int Count() const { return static_cast<int>(FItems.size()); }
  TStatusPanel* Items(int i) const { return FItems.at(static_cast<size_t>(i)).get(); }
  TStatusPanel* operator[](int i) const { return Items(i); }
  TStatusPanel* Add();
  void Delete(int i);
  void Clear();
  int IndexOf(const TStatusPanel* p) const;
  TPersistent* AddItem() override { return Add(); }
  void ClearItems() override { Clear(); }
  // The bar shows the panels again; layout: widths or count changed.
  void Changed(const TStatusPanel* panel, bool layout);
  TCustomStatusBar* Bar() const { return FBar; }

private:
  TCustomStatusBar* FBar;
  std::vector<std::unique_ptr<TStatusPanel>> FItems;
};

using TDrawPanelEvent = TMethod<void(TCustomStatusBar* bar, TStatusPanel* panel, const RECT& rect)>;

class TCustomStatusBar : public TWinControl {
  FW_DECLARE_CLASS()
public:
  explicit TCustomStatusBar(TComponent* owner);
  ~TCustomStatusBar() override;

  TStatusPanels* Panels() const { return &FPanels; }
  bool SimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool v);
  const std::wstring& SimpleText() const { return FSimpleText; }
  void SetSimpleText(const std::wstring& s);
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool v);
  // Valid during DrawPanel: a canvas on the bar's drawing context with the bar's font.
  TCanvas& Canvas() { return FCanvas; }
  // Rectangle of panel i in the bar's client coordinates (empty when the bar has no window).
  RECT PanelRect(int i);

  TDrawPanelEvent OnDrawPanel;

  // Sends the parts, their texts and styles to the window.
  void UpdatePanels();
  void UpdatePanel(int index);
  void WndProc(TMessage& m) override;

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;
  // Draws an owner-drawn panel; the default raises OnDrawPanel or fills the panel.
  virtual void DrawPanel(TStatusPanel* panel, const RECT& rect);

private:
  mutable TStatusPanels FPanels{this};
  TCanvas FCanvas;
  bool FSimplePanel = false;
  bool FSizeGrip = true;
  std::wstring FSimpleText;
};

class TStatusBar : public TCustomStatusBar {
  FW_DECLARE_CLASS()
public:
  using TCustomStatusBar::TCustomStatusBar;
};

class TProgressBar : public TWinControl {
  FW_DECLARE_CLASS()
public:
  explicit TProgressBar(TComponent* owner);
  int Min() const { return FMin; }
  void SetMin(int v);
  int Max() const { return FMax; }
  void SetMax(int v);
  // Read from the window when it exists; values outside Min..Max are clamped.
  int Position() const;
  void SetPosition(int v);
  void SetRange(int min, int max);

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

private:
  int FMin = 0, FMax = 100, FPosition = 0;
};

class TCustomRichEdit : public TCustomMemo {
  FW_DECLARE_CLASS()
public:
  explicit TCustomRichEdit(TComponent* owner);
  // Text mode without formatting (set before the window is created, or it is re-created).
  bool PlainText() const { return FPlainText; }
  void SetPlainText(bool v);

protected:
  void CreateParams(TCreateParams& p) override;
  void CreateHandleDone() override;

private:
  bool FPlainText = false;
};

class TRichEdit : public TCustomRichEdit {
  FW_DECLARE_CLASS()
public:
  using TCustomRichEdit::TCustomRichEdit;
};

// Registers the classes of this unit with the class registry.
void RegisterComCtrls();

}  // namespace fw
