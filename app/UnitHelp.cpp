// TFormHelp: stored form, refused resizing and the close commands.
#include "UnitHelp.h"

#include "FormReader.h"

namespace app {

using namespace fw;

TFormHelp* FormHelp = nullptr;

const TClassInfo& TFormHelp::StaticClassInfo() {
  static const TClassInfo info{"TFormHelp",
                               &TForm::StaticClassInfo(),
                               {},
                               {},
                               {FW_PUBLISHED_METHOD(TFormHelp, FormCanResize), FW_PUBLISHED_METHOD(TFormHelp, Button1Click),
                                FW_PUBLISHED_METHOD(TFormHelp, Panel1Click)}};
  return info;
}

TFormHelp::TFormHelp(TComponent* owner) : TForm(owner) {
  ReadFormResource(this, L"TFORMHELP");
  Panel1 = FindStored<TPanel>(this, L"Panel1");
  Button1 = FindStored<TButton>(this, L"Button1");
  RichEdit1 = FindStored<TRichEdit>(this, L"RichEdit1");
}

void TFormHelp::FormCanResize(TObject*, int&, int&, bool& resize) { resize = false; }

void TFormHelp::Button1Click(TObject*) { Close(); }

void TFormHelp::Panel1Click(TObject*) { Close(); }

}  // namespace app
