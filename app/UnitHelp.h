// TFormHelp: the help window with the fixed usage text; it keeps its size and hides on close.
#pragma once
#include "ComCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

namespace app {

class TFormHelp : public fw::TForm {
  FW_DECLARE_CLASS()
public:
  // Builds the window from its stored form "TFORMHELP".
  explicit TFormHelp(fw::TComponent* owner);

  // Stored components.
  fw::TPanel* Panel1 = nullptr;
  fw::TButton* Button1 = nullptr;
  fw::TRichEdit* RichEdit1 = nullptr;

  // Handlers bound by name from the stored form.
  void FormCanResize(fw::TObject* sender, int& newWidth, int& newHeight, bool& resize);
  void Button1Click(fw::TObject* sender);
  void Panel1Click(fw::TObject* sender);
};

// The help window of the program, created hidden at start-up.
extern TFormHelp* FormHelp;

}  // namespace app
