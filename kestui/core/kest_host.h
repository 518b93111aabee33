// CKestHost: what the lower layers (the framework, the scheme model, the
// components and the blocks) ask of the program they run in. A lower layer
// never calls up into a program's code directly: it calls the host installed
// now (GetKestHost). Each program installs its own subclass at start-up and
// overrides what it provides; tests install theirs with CKestHostScope.
//
// The base class answers for a process without a program of its own: the
// system's own ways for starting programs, error boxes and the window list;
// nothing for the program's windows (component viewer, block-diagram editor,
// property dialogs) and help.
#pragma once

#include <windows.h>

// Kinds of picture a view exports (CKestHost::BeginPictureExport).
enum KestPictureKind {
  KestPictureFile = 0,
  KestPictureClipboard = 1,
  KestPicturePrinter = 2,
};

class CKestForm;
class CBEBlock;
class BeScheme;
class SchScheme;

class CKestHost {
public:
  CKestHost() = default;
  virtual ~CKestHost() = default;
  CKestHost(const CKestHost&) = delete;
  CKestHost& operator=(const CKestHost&) = delete;

  // The component database browser as viewer of one model: shows the record
  // of model (with its option string) in the table tableName, modally, and
  // returns when the user closed it. Base: nothing.
  virtual void ShowComponentModel(const wchar_t* tableName, const char* model, const char* options);

  // The component card "Свойства" of a part without a database model of its
  // own (a capacitor, a quartz crystal): the description beside the picture
  // (a file name in the database images folder, or null), modally, owned by
  // the main form. Base: nothing.
  virtual void ShowComponentCard(const wchar_t* description, const wchar_t* pictureFile);

  // Opens a scheme editor window (an MDI child of the main form) on a nested
  // scheme in the given editor mode with the given board size (a control
  // panel's Edit: mode 2, board 0 x 0); the program keeps the window. Base:
  // nothing; answers false.
  virtual bool OpenSchemeEditor(SchScheme* scheme, int mode, int boardWidth, int boardHeight);

  // Opens a block-diagram editor window on scheme, titled title (a
  // programmable unit's part name, or null). Base: nothing; answers false.
  virtual bool OpenBlockEditor(BeScheme* scheme, const wchar_t* title);

  // The modal property dialog of a block; true when the user confirmed it
  // with OK. Base: no dialog; false.
  virtual bool ShowBlockProperties(CBEBlock* block);

  // Tells the user that a file or stream could not be read (text is the
  // whole message). Base: an error box "Ошибка" over the active window.
  virtual void ShowReadError(const wchar_t* text);

  // A message box of a lower layer (MB_ flags, caption, whole text) without
  // an owner form; answers the button pressed. Base: the framework's
  // message box.
  virtual int ShowMessage(UINT flags, const wchar_t* caption, const wchar_t* text);

  // Starts another program or opens a document, as ShellExecuteW (same
  // arguments and result: above 32 on success). Base: ShellExecuteW.
  virtual HINSTANCE StartProgram(HWND owner, const wchar_t* verb, const wchar_t* file,
                                 const wchar_t* parameters, const wchar_t* folder, int show);

  // Opens the help file with the HTML Help viewer (HtmlHelpW's command and
  // data). False when no help viewer is available. Base: false.
  virtual bool OpenHelp(HWND owner, const wchar_t* file, UINT command, DWORD_PTR data);

  // A picture of a view: kind 0 a file, 1 the clipboard, 2 the printer;
  // rect is the area of the view's coordinates the picture shows. Answers
  // the device context to draw into, or null when the user cancelled (or
  // there is nothing to draw into). Base: null.
  virtual HDC BeginPictureExport(int kind, const RECT& rect);
  // Finishes a picture that BeginPictureExport began: writes the file, puts
  // it on the clipboard or ends the print job, and frees dc. Base: nothing.
  virtual void EndPictureExport(int kind, HDC dc);

  // The window list of an MDI frame ("More windows"): true with the chosen
  // z-order index of the frame's MDI children, false when cancelled or
  // when there is no list. Base: the framework's list form, modally.
  virtual bool ChooseMDIWindow(CKestForm* frame, int* index);
};

// The host installed now; never null (the base host when none was).
CKestHost* GetKestHost();
// Installs host (null: the base host) and returns the one it replaces, which
// the caller reinstalls when it is done. The host is not owned.
CKestHost* SetKestHost(CKestHost* host);
