// CKestHost: what the framework and the layers above it ask of the program
// they run in, as far as the framework's own services go: message boxes,
// starting other programs, help, the window list of an MDI frame and
// pictures of a view. A lower layer never calls up into a program's code
// directly: it calls the host installed now (GetKestHost). Each program
// installs its own subclass at start-up and overrides what it provides;
// tests install theirs with CKestHostScope. The scheme layer and the block
// engine have service interfaces of their own for their requests
// (CSchemeHost, CBlockHost).
//
// The base class answers for a process without a program of its own: the
// system's own ways for starting programs, message boxes and the window
// list; no help and no pictures.
#pragma once

#include <windows.h>

// Kinds of picture a view exports (CKestHost::BeginPictureExport).
enum KestPictureKind {
  KestPictureFile = 0,
  KestPictureClipboard = 1,
  KestPicturePrinter = 2,
};

class CKestForm;

class CKestHost {
public:
  CKestHost() = default;
  virtual ~CKestHost() = default;
  CKestHost(const CKestHost&) = delete;
  CKestHost& operator=(const CKestHost&) = delete;

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
