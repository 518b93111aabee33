// The main window of Velkboard: the MDI frame with the main menu, the owner
// of the process's one scheme document (file name, scheme, modified flag).
// It forwards the edit, export, print and picture commands to the active
// MDI child, asks that child which edit commands are possible when the Edit
// menu opens, and keeps the caption and the close prompt in step with the
// modified flag that the views report.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/forms/kest_form.h"

class SchScheme;
class CSphEditor;


// "Редактор схем и подключений"
extern const wchar_t* const kVelkMainFormCaption;
// "Список устройств не импортирован: не открыт документ схемы."
extern const wchar_t* const kVelkNoDocumentForDevicesMessage;
// "Не удалось прочитать список устройств:", followed by the path.
extern const wchar_t* const kVelkUnreadableDeviceListMessage;
// Names longer than this are cut in the caption and followed by "...".
const int kVelkTitleNameLength = 40;
const int kVelkTitleMaxLength = 100;

class CMainForm : public CKestForm {
public:
  // Creates the window (hidden) with menu 116 and accelerators 118, and
  // makes it an MDI frame. The first form created becomes the main form.
  CMainForm();
  // Frees the file name and deletes the scheme; the main form's destructor
  // ends the message loop.
  ~CMainForm() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Caption: "Редактор схем и подключений - <file name> *" (the name
  // without its folder, cut to 40 characters and "..."; " *" while
  // modified). Without a file name the caption alone, with " *" while
  // modified.
  void UpdateTitle();

  // Saves the document: the old file becomes the backup (".~vlkx"), the
  // scheme is written in one piece and checked by reading the written file
  // back; a write or check that fails puts the backup back and keeps the
  // document modified. Clears the modified flag only after a verified save.
  void SaveScheme();

  // Makes path the document and opens its main scheme editor. A file that
  // does not exist starts an empty document under that name (the first
  // save creates it): the editor is returned. A file that exists is read:
  // loaded, the editor opens; unreadable or not a scheme, the document has
  // no scheme and "Невозможно загрузить файл!" is shown; null is returned
  // and the document is unmodified.
  CSphEditor* OpenScheme(const wchar_t* path);
  // The first token names the document: a ".vlkx" file, or a 3ds Max model
  // (".max") whose scheme of the same name in the robots folder is opened
  // and which becomes the linked model. Anything else opens nothing. A
  // second token names the model's device list, which is then imported.
  void OpenCommandLineFiles(const wchar_t* commandLine);
  // Brings the document's scheme in line with a device-list file of the 3ds
  // Max side (app/import/device_import.h) and marks the document modified
  // when the list named any device or components were deleted. Nothing
  // happens without a scheme (its failed load was reported); a document
  // without a file name, or a list that cannot be read, is reported and
  // left alone.
  void ImportModelDevices(const wchar_t* path);
  // File > Open: the file dialog; with a document shown, the chosen file
  // opens in a new process of the program, otherwise here.
  void OpenDocumentCommand();

  // The document.
  const wchar_t* GetFileName() const { return fileName_; }
  // Replaces the file name by a copy (null clears it).
  void SetFileName(const wchar_t* path);
  SchScheme* GetScheme() const { return scheme_; }
  bool IsModified() const { return modified_ != 0; }

  HMENU GetFileMenu() const { return fileMenu_; }
  HMENU GetEditMenu() const { return editMenu_; }

private:
  // Enables the Edit items by the active child's answers (all greyed
  // without a child) and "Печать..." by its picture answer.
  void UpdateEditMenu();
  void UpdateFileMenu();
  // Sends WM_COMMAND (command) to the active child, if any.
  void ForwardToActiveChild(UINT command);
  void ShowAbout();
  void ShowHelp();
  // The close prompt; false when the user cancelled.
  bool ConfirmClose();

  wchar_t* fileName_ = nullptr;
  SchScheme* scheme_ = nullptr;
  uint8_t modified_ = 0;
  HMENU fileMenu_ = nullptr;
  HMENU editMenu_ = nullptr;
};
