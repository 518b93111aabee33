// The widgets that show component database tables, shared by the editor's
// model chooser and by modelpicker: the model list of a table, the
// parameter rows of a record (a label and a value control per column) and
// the record's picture.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "kestui/buttons/kest_label.h"
#include "kestui/containers/kest_container.h"
#include "kestui/containers/kest_scrollbox.h"
#include "kestui/edits/kest_edit.h"
#include "kestui/graphics/image.h"
#include "kestui/graphics/kest_font.h"
#include "kestui/graphics/kest_paintbox.h"
#include "kestui/lists/kest_list_view.h"
#include "scheme/database/compdb_record.h"
#include "scheme/database/compdb_table.h"
#include "scheme/database/option_combo.h"

// Geometry of one parameter row.
constexpr int kCompDbParameterFirstY = 4;
constexpr int kCompDbParameterRowStep = 25;
constexpr int kCompDbParameterLabelX = 4;
constexpr int kCompDbParameterLabelWidth = 276;
constexpr int kCompDbParameterValueX = 284;
constexpr int kCompDbParameterValueWidth = 200;
constexpr int kCompDbParameterValueHeight = 21;

// One row of a parameter box.
struct CompDbParameterRow {
  int column;
  CKestLabel* label;
  CKestEdit* edit;       // read-only value, or null
  COptionCombo* combo;   // option value, or null
};

// Replaces the columns and items of a report list view by the table's:
// column 0 and every column wider than 0, headed by the column names; one
// item per record in record order, item data = the record index, the texts
// being the cells' display texts. Redrawing is held meanwhile.
void FillCompDbListView(CKestListView* list, CompDbTable* table);

// The picture of a record: images folder + the record's "image" value.
// Null when the value is empty or the file is no picture that loads.
CKestImage* LoadCompDbPicture(CompDbRecord* record);

// Destroys every widget of the box (scrolled back to the top first) and
// empties rows.
void ClearParameterRows(CKestScrollBox* box, std::vector<CompDbParameterRow>* rows);

// Adds a row per column of the record's table (per column with a name when
// namedOnly) from y = 4 in steps of 25: the column name and ":" in a label
// labelHeight high (KEST_LABEL_MEASURE: the text's height);
// for an option cell a drop-down list of its choice items (item data = the
// item's index value) showing the current choice, otherwise a read-only
// edit on the button-face colour with the display text. Then fits the box's
// scroll range.
void BuildParameterRows(CKestScrollBox* box, CompDbRecord* record, bool namedOnly,
                        int labelHeight, std::vector<CompDbParameterRow>* rows);

// The option combo a WM_COMMAND (wParam, lParam) comes from when it reports
// a change of choice (CBN_EDITCHANGE, CBN_SELENDOK, CBN_SELCHANGE); null for
// any other command.
COptionCombo* OptionComboOfCommand(WPARAM wParam, LPARAM lParam);

// Takes the combo's selected position as the choice of its option and
// sets every read-only value again, so that formula cells follow. False
// (nothing changed) without a record, a selection or an option of that key.
bool ApplyParameterOption(CompDbRecord* record, COptionCombo* combo,
                          const std::vector<CompDbParameterRow>& rows);

// The heading bar above a list or the parameters: white text in font on dark
// grey, 20 high, at the top of panel, width wide (or KEST_LABEL_MEASURE).
CKestLabel* AddCompDbHeader(CKestContainer* panel, const wchar_t* caption, CKestFont* font,
                            int width);

// Shows the table's models in the list (FillCompDbListView), *filling being
// true meanwhile; without a table the list is hidden instead.
void ShowCompDbModelList(CKestListView* list, CompDbTable* table, bool* filling);

// The record of the list's selected item (item data = record index) in
// table; null without a table, a list, a selection or for an index outside
// the table.
CompDbRecord* GetListedCompDbRecord(const CKestListView* list, CompDbTable* table);

// Calls select(table, row) for every record whose first cell is model, in
// table and row order, after applying options to it when they are given
// (not null).
void ForEachCompDbModel(const std::vector<std::unique_ptr<CompDbTable>>& tables,
                        const char* model, const char* options,
                        const std::function<void(int table, int row)>& select);

// Fills the preview white and draws the picture (when there is one) fitted
// into it (FitPreviewRect); halftone: stretched with HALFTONE.
void PaintCompDbPicture(CKestPaintBox* preview, CKestImage* picture, bool halftone);
