// UiPanel: a robot's control panel, the ordered list of its items on a
// 768 x 434 canvas, together with the block scheme in which the items'
// user-interface blocks live. It keeps the editor's selection and mouse
// drag, changes the drawing order, binds items to blocks by name, paints,
// and reads and writes its items as an item set, as the "vkUI" stream and
// through the clipboard format "VELK_UI".
#pragma once

#include <windows.h>

class BeScheme;
class CBEBlock;
class CKestCanvas;
class CStream;
class CVelkUIControl;

const int kPanelCanvasWidth = 768;
const int kPanelCanvasHeight = 434;
const COLORREF kPanelPreviewFill = 0xCCCCCC;

// Where the panel preview sits in the picture of the device.
const int kPanelPreviewLeft = 24;
const int kPanelPreviewTop = 28;
const int kPanelPreviewWidth = 464;
const int kPanelPreviewHeight = 205;

// The magic of the panel stream.
extern const unsigned char kPanelStreamMagic[4];

class UiPanel {
public:
  // Drag states beyond the items' hit codes 0 to 10 (the dragState field).
  enum DragState {
    kDragIdle = -2,
    kDragBand = -1,
  };

  explicit UiPanel(BeScheme* scheme);
  // Deletes every item (and with them their blocks).
  ~UiPanel();
  UiPanel(const UiPanel&) = delete;
  UiPanel& operator=(const UiPanel&) = delete;

  void DeleteAll();
  // The first item from the head whose name equals text; null otherwise.
  CVelkUIControl* FindItemByName(const wchar_t* text) const;
  // Whether a device block of the panel's scheme carries text as its own
  // caption: an item of that name would bind to it, or make a second one.
  bool IsDeviceCaption(const wchar_t* text) const;
  // The topmost item hit and its code in *code; null (code -1) when none.
  CVelkUIControl* HitTestItems(int px, int py, int* code) const;
  bool AnySelected() const;
  // Repaints the canvas when a flag changed.
  void SetAllSelected(bool flag);
  void DeleteSelected();
  void MoveSelectedToTop();
  void MoveSelectedToBottom();
  void MoveSelectedUp();
  void MoveSelectedDown();
  // Exchanges two items of the list.
  void SwapItems(CVelkUIControl* a, CVelkUIControl* b);
  // Links every named item with the device block of its kind's class that
  // carries its name (null when none); unnamed items keep their link.
  void BindBlocks();
  // Keeps the canvas and paints into its device context.
  void Paint(CKestCanvas* newCanvas);
  // Backgrounds, then faces, then the selection of the selected items.
  void PaintItems(HDC dc);
  // Mouse editing in canvas coordinates; nothing without a canvas.
  void MouseDown(int px, int py);
  void MouseMove(int px, int py);
  void MouseUp(int px, int py);

  // The item set: every item, or only the selected ones.
  void WriteItems(CStream* stream, bool selectedOnly);
  // Appends the items of an item set; pasted items are selected, renamed
  // when their name is taken, and given blocks. False when the set is
  // damaged (the items read before stay).
  bool ReadItems(CStream* stream, bool paste);
  // The "vkUI" stream: magic, item set, preview picture.
  void Save(CStream* stream);
  bool Load(CStream* stream);

  // The clipboard format "VELK_UI".
  static UINT ClipboardFormat();
  bool CanPaste() const;
  void CopySelection();
  void Paste();

  // The last item of the list, or null.
  CVelkUIControl* Tail() const;
  int ItemCount() const;
  // Repaints the whole canvas; nothing without one.
  void InvalidateCanvas();
  // The canvas's window, or null.
  HWND CanvasWindow() const;
  // The editor that showed the canvas closes: forget it.
  void ForgetCanvas(CKestCanvas* closing);

  // Fields, in this order.
  CKestCanvas* canvas = nullptr;  // the open editor's canvas, not owned
  int dragState = kDragIdle;
  POINT pressPoint = {0, 0};
  POINT lastPoint = {50, 50};
  CVelkUIControl* items = nullptr;  // list head, drawn first
  BeScheme* scheme;
  CVelkUIControl* currentItem = nullptr;
  CVelkUIControl* draggedItem = nullptr;

  // List links: an item leaves the list, or joins it at the end or head.
  void Unlink(CVelkUIControl* item);
  void LinkAtEnd(CVelkUIControl* item);
  void LinkAtHead(CVelkUIControl* item);

private:
  // The 768 x 434 panel picture stretched into the device picture and
  // written as width, height and rows; false (nothing written) without the
  // device picture.
  bool WritePreview(CStream* stream);
};

// The device picture "screen.png" of the program folder, as a 32-bit
// picture with alpha; false when it cannot be loaded.
class CKestImage;
bool LoadScreenPicture(CKestImage* image);
