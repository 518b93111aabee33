// "Создать plugin": the chooser of a plug-in block kind. A tree lists every
// loaded plug-in module (newest loaded first) with its kinds under it.
#pragma once

#include "blocks/engine/plugin/plugin_block.h"
#include "foundation/plain_array.h"
#include "kestui/forms/kest_form.h"

class BePluginList;
class CKestTreeView;
class CKestImageList;

// The program's bitmap resources of the chooser's two images.
const int kBePluginModuleImageResource = 168;  // image 0: a module
const int kBePluginKindImageResource = 167;    // image 1: a block kind
const int kBePluginChooserCreateId = 1;
const int kBePluginChooserCancelId = 2;

class CBEPluginChooserForm : public CKestForm {
public:
  // The form, hidden, owned by owner (may be null), listing list's modules.
  CBEPluginChooserForm(CKestControl* owner, const BePluginList& list);
  ~CBEPluginChooserForm() override;

  CKestTreeView* GetTree() const { return tree_; }
  // The module and kind index of the selected item; false when no item is
  // selected or it is not a kind.
  bool GetSelectedKind(BePluginChoice* choice) const;

private:
  CKestTreeView* tree_ = nullptr;
  CKestImageList* images_ = nullptr;
  CPlainArray<BePluginModule*> modules_;  // by the index the module items carry
};

// Shows the chooser over the main form. True when a kind was chosen with
// "Создать": the choice is then set for the next plug-in block placed. Any
// other way out answers false; "Создать" without a kind selected is refused
// with an error box.
bool ChoosePluginBlock();
